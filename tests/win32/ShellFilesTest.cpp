#include "app/win32/ShellFiles.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(ShellFiles, TheFileADoubleClickNamesIsTheFirstArgument) {
  EXPECT_EQ(L"C:\\My Flights\\first flight.zel",
            FileNamedOn(L"\"C:\\Program Files\\ZEL USB\\zelusb.exe\" \"C:\\My Flights\\first flight.zel\""));
  EXPECT_EQ(L"D:\\f.zel", FileNamedOn(L"zelusb.exe D:\\f.zel second-is-ignored"));
  EXPECT_EQ(std::nullopt, FileNamedOn(L"\"C:\\Program Files\\ZEL USB\\zelusb.exe\""));
  EXPECT_EQ(std::nullopt, FileNamedOn(L"zelusb.exe   "));
  EXPECT_EQ(std::nullopt, FileNamedOn(L""));
}

// A drop as the shell makes it: a DROPFILES header, then the wide names, each
// ended by a null and the list by another.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
  std::wstring names;
  for (const std::wstring& file : files) names += file + L'\0';
  names += L'\0';
  const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST(ShellFiles, ADropOpensItsFirstFile) {
  const HDROP two = MakeDrop({L"C:\\flights\\a long name of a flight.zel", L"C:\\flights\\b.zel"});
  EXPECT_EQ(L"C:\\flights\\a long name of a flight.zel", FirstDroppedFile(two));
  GlobalFree(two);
  const HDROP none = MakeDrop({});
  EXPECT_EQ(std::nullopt, FirstDroppedFile(none));
  GlobalFree(none);
}

TEST(ShellFiles, AHandOverCarriesItsFileAndNothingMalformed) {
  const std::wstring path = L"C:\\My Flights\\second start.zel";
  EXPECT_EQ(path, FileHandedOver(HandOverOf(path)));
  EXPECT_EQ(L"", FileHandedOver(HandOverOf(L"")));  // started without a file

  std::wstring text = L"C:\\f.zel";
  const auto copy = [&text](ULONG_PTR tag, DWORD bytes) {
    COPYDATASTRUCT data{tag, bytes, &text[0]};
    return FileHandedOver(data);
  };
  const ULONG_PTR tag = HandOverOf(text).dwData;
  const DWORD whole = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  EXPECT_EQ(text, copy(tag, whole));
  EXPECT_EQ(std::nullopt, copy(tag + 1, whole)) << "another program's data";
  EXPECT_EQ(std::nullopt, copy(tag, whole - 1)) << "half a character";
  EXPECT_EQ(std::nullopt, copy(tag, whole - sizeof(wchar_t))) << "no terminator";
  text[2] = L'\0';
  EXPECT_EQ(std::nullopt, copy(tag, whole)) << "a null inside";
}

}  // namespace
