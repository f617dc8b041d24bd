// Command-line words: no byte of a narrow command line is lost on its way to
// a file name, and UTF-8 reads as its characters.
#include "tools/zeltool/ArgText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace {

TEST(ArgTextTest, EveryByteStringComesBackFromItsWord) {
  std::vector<std::string> cases = {
      "caf\xC3\xA9",         "caf\xE9",           "\xC0\x80" /* overlong */, "\xED\xA0\x80" /* a surrogate */,
      "\xED\xB3\xA9" /* U+DCE9 itself */,         "\xF4\x90\x80\x80" /* past U+10FFFF */,
      "\xE2\x82" /* cut */,  "\xF0\x9F\x9A\x80",  "\xF0\x9F\x9A\x80\x80\xE9\xC3",
  };
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) cases.push_back({static_cast<char>(first), static_cast<char>(second)});
  }
  for (const std::string& bytes : cases) ASSERT_EQ(bytes, NarrowText(WideArg(bytes)));
}

TEST(ArgTextTest, Utf8IsReadAsItsCharactersAndOtherBytesAreKeptApart) {
  EXPECT_EQ(L"--csv", WideArg("--csv"));
  EXPECT_EQ(L"caf\u00E9", WideArg("caf\xC3\xA9"));
  EXPECT_EQ(L"\U0001F680", WideArg("\xF0\x9F\x9A\x80"));
  EXPECT_EQ(std::wstring(L"caf") + static_cast<wchar_t>(0xDCE9), WideArg("caf\xE9"));
  EXPECT_NE(WideArg("caf\xE9"), WideArg("caf\xED\xB3\xA9")) << "the byte and the encoded surrogate stay apart";

  const TempFolder folder;
  WriteFileBytes(folder.Path() / ArgPath(L"caf\u00E9 \U0001F680.txt"), "x");
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / std::filesystem::u8path("caf\xC3\xA9 \xF0\x9F\x9A\x80.txt")));
}

TEST(ArgTextTest, WhatIsNotAKeptByteOrUtf8NeverBecomesOne) {
  // A lone surrogate in a Windows name is no byte of a narrow name: U+FFFD.
  EXPECT_EQ("a\xEF\xBF\xBD", NarrowText(std::wstring(L"a") + static_cast<wchar_t>(0xDC41)));
  // An overlong "/" stays three kept bytes, so a name's bytes never change meaning.
  EXPECT_EQ(3u, WideArg("\xE0\x80\xAF").size());
  EXPECT_EQ("\xE0\x80\xAF", NarrowText(WideArg("\xE0\x80\xAF")));
  int count = 0;
  EXPECT_TRUE(ParseCount(L"999999999", count));
  EXPECT_EQ(999999999, count);
  EXPECT_FALSE(ParseCount(L"99999999999", count)) << "more digits than an int holds";
}

}  // namespace
