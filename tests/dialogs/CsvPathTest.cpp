#include "dialogs/CsvPath.h"

#include <gtest/gtest.h>

namespace {

TEST(CsvPath, ReplacesTheFileNamesOwnExtensionOrAppendsOne) {
  const struct {
    const wchar_t* data;
    const wchar_t* csv;
  } cases[] = {
      {L"C:\\flights\\f1.zel", L"C:\\flights\\f1.csv"},
      {L"C:\\flights.zel\\f1.zel", L"C:\\flights.zel\\f1.csv"},
      {L"C:\\flights\\F1.ZEL", L"C:\\flights\\F1.csv"},
      {L"C:\\flights\\f1.Zel", L"C:\\flights\\f1.csv"},
      {L"C:\\flights.zel\\f1", L"C:\\flights.zel\\f1.csv"},
      {L"C:\\flights\\f1.txt", L"C:\\flights\\f1.txt.csv"},
      {L"C:\\flights\\f1.zel.bak", L"C:\\flights\\f1.zel.bak.csv"},
      {L"f1.zelx", L"f1.zelx.csv"},
      {L".zel", L".csv"},
      {L"zel", L"zel.csv"},
      {L"f1.zek", L"f1.zek.csv"},
      {L"f1.zem", L"f1.zem.csv"},
      {L"\u041f\u043e\u043b\u0451\u0442.zel", L"\u041f\u043e\u043b\u0451\u0442.csv"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.csv, CsvPathFor(c.data)) << std::wstring(c.data).size();
}

}  // namespace
