// A comment received in someone else's file, as zeltool's terminal output
// shows it: its control bytes escaped, its line breaks kept.
#include "tools/zeltool/TerminalText.h"

#include <gtest/gtest.h>

#include <sstream>

#include "data/DataSetFile.h"
#include "data/PacketFixtures.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"
#include "tools/ZeltoolRun.h"
#include "tools/zeltool/JsonText.h"

namespace {

TEST(TerminalTextTest, ControlsAreEscapedAndLineBreaksKept) {
  const struct {
    const char* bytes;
    const char* shown;
  } cases[] = {
      {"red \x1B[31m, bell \x07, tab \t, del \x7F", "red \\x1b[31m, bell \\x07, tab \\x09, del \\x7f"},
      {"one\r\ntwo\nthree\rfour", "one\ntwo\nthree\\x0dfour"},  // a lone CR would write over the line
      {"csi \xC2\x9B" "2J, nel \xC2\x85", "csi \\u009b2J, nel \\u0085"},
      {"caf\xC3\xA9 \xE2\x86\x91", "caf\xC3\xA9 \xE2\x86\x91"},
      {"caf\xE9, cut \xE2\x86", "caf\xEF\xBF\xBD, cut \xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.shown, TerminalText(c.bytes)) << c.bytes;
}

TEST(TerminalTextTest, StatsAndInfoShowACommentsControlsEscaped) {
  LogCapture log;
  TempFolder folder;
  DataSetFileContent content;
  content.packets = PacketsOfKinds("Sc");
  content.comment = "red\x1B[31m\r\nbell\x07";
  std::ostringstream bytes;
  ASSERT_TRUE(WriteDataSetFile(bytes, content));
  WriteFileBytes(folder.Path("hostile.zel"), bytes.str());

  const Outcome stats = RunZeltoolCommand({L"stats", folder.WidePath("hostile.zel")});
  EXPECT_NE(std::string::npos, stats.out.find("  comment        red\\x1b[31m\n                 bell\\x07\n"))
      << stats.out;
  const Outcome info = RunZeltoolCommand({L"info", folder.WidePath("hostile.zel")});
  EXPECT_NE(std::string::npos, info.out.find("  comment: red\\x1b[31m\nbell\\x07\n")) << info.out;
  for (const std::string& out : {stats.out, info.out}) {
    EXPECT_EQ(std::string::npos, out.find_first_of("\x1B\x07\r")) << "no control byte reaches the terminal";
  }
}

// JSON has its own escapes: \u and four hex digits, which a parser of the
// whole grammar (not only of quotes) needs for a comment's ESC.
TEST(JsonTextTest, ControlsAreEscapedWithFourHexDigits) {
  EXPECT_EQ("\"a\\u001bb\\u0007\"", JsonString("a\x1b" "b\x07"));
}

}  // namespace
