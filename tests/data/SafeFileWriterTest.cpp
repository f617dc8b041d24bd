#include "data/SafeFileWriter.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace {

TEST(SafeFileWriter, ReplacesTheTargetOnlyWhenEverythingWasWritten) {
  const struct {
    const char* what;
    bool failWrite;
    bool commit;
    const char* after;
  } cases[] = {
      {"written and committed", false, true, "new"},
      {"a write failed", true, true, "old"},
      {"abandoned", false, false, "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFolder folder;
    WriteFileBytes(folder.Path("target"), "old");
    {
      SafeFileWriter writer(folder.Path("target"));
      ASSERT_TRUE(writer.IsOpen());
      writer.Stream() << "new";
      if (c.failWrite) writer.Stream().setstate(std::ios::badbit);  // as a full disk leaves it
      EXPECT_EQ("old", ReadFileBytes(folder.Path("target"))) << "untouched while writing";
      if (c.commit) {
        EXPECT_EQ(!c.failWrite, writer.Commit());
      }
    }
    EXPECT_EQ(c.after, ReadFileBytes(folder.Path("target")));
    EXPECT_EQ("target;", folder.Listing()) << "no temporary file left";
  }
}

}  // namespace
