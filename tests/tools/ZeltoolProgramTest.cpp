// The zeltool program as a shell starts it, natively, where a command line is
// bytes: any of them is taken or refused with one line, never the end of the
// process, and a file name that is not UTF-8 still names its file.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "data/PacketFixtures.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"

extern char** environ;

namespace {

struct ProgramRun {
  bool exited;  // false: ended by a signal (an abort)
  int status;   // the exit status, or the signal
  std::string out;
  std::string err;
};

ProgramRun RunProgram(const std::vector<std::string>& args) {
  const TempFolder streams;
  const std::string out = streams.Path("out").string(), err = streams.Path("err").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> words{ZELTOOL_PROGRAM};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, ZELTOOL_PROGRAM, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {false, spawned, "", "cannot start " ZELTOOL_PROGRAM};
  int wait = 0;
  waitpid(pid, &wait, 0);
  return {WIFEXITED(wait), WIFEXITED(wait) ? WEXITSTATUS(wait) : WTERMSIG(wait), ReadFileBytes(out),
          ReadFileBytes(err)};
}

class ZeltoolProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    link.packets = PacketsOfKinds("Scc");
    link.comments = {"caf\xE9"};
    ASSERT_TRUE(link.SaveDataSet(folder.WidePath("flight.zel"), 0));
  }

  std::string InFolder(const std::string& name) const { return folder.Path().string() + "/" + name; }

  LogCapture log;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
  TempFolder folder;
};

TEST_F(ZeltoolProgramTest, ALatin1FileNameOpens) {
  const std::string latin1 = InFolder("vol-\xE9t\xE9.zel");
  std::filesystem::rename(folder.Path("flight.zel"), latin1);
  const ProgramRun info = RunProgram({"info", latin1});
  ASSERT_TRUE(info.exited) << "signal " << info.status;
  EXPECT_EQ(0, info.status) << info.err;
  EXPECT_EQ("", info.err);
  EXPECT_EQ(0u, info.out.find(latin1 + ": 1 set\n")) << info.out;
}

// The logbook as a shell redirects it: standard output holds only the table,
// standard error only the file that failed, and the status says so.
TEST_F(ZeltoolProgramTest, StatsKeepsTheLogbookAndTheComplaintApart) {
  const std::string latin1 = InFolder("vol-\xE9t\xE9.zel");
  std::filesystem::rename(folder.Path("flight.zel"), latin1);
  WriteFileBytes(InFolder("broken.zel"), "not a flight");
  const ProgramRun stats = RunProgram({"stats", latin1, InFolder("broken.zel"), "--format", "csv", "--units", "ft"});
  ASSERT_TRUE(stats.exited) << "signal " << stats.status;
  EXPECT_EQ(1, stats.status);
  EXPECT_EQ("zeltool: " + InFolder("broken.zel") + " is not a data set file\n", stats.err);
  EXPECT_EQ(0u, stats.out.find("file,set,comment,samples,")) << stats.out;
  EXPECT_NE(std::string::npos, stats.out.find(",apogee (ft),"));
  EXPECT_NE(std::string::npos, stats.out.find("\n" + latin1 + ",0,caf\xE9,3,0.30,")) << stats.out;
  EXPECT_EQ(2, std::count(stats.out.begin(), stats.out.end(), '\n')) << "a header and one flight";
}

TEST_F(ZeltoolProgramTest, NoCommandLineEndsTheProcess) {
  const std::string good = InFolder("flight.zel");
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } cases[] = {
      {{"\xE9"}, 2, "zeltool: unknown command '\xE9' (zeltool --help lists the commands)\n"},
      {{""}, 2, "zeltool: unknown command ''"},
      {{"info", "\xFF\xFE"}, 1, "zeltool: \xFF\xFE cannot be opened for reading\n"},
      {{"info", "\xED\xB3\xA9"}, 1, "zeltool: \xED\xB3\xA9 cannot be opened"},  // U+DCE9 encoded, not UTF-8
      {{"csv", good, InFolder("out.csv"), "--set", "\xE9"}, 2, "zeltool: usage: zeltool csv"},
      {{"xml", good, InFolder("\xC0\x80/out.xml")}, 1, "\xC0\x80/out.xml cannot be written\n"},
      {{"download", InFolder("d"), "--c\xE9v"}, 2, "zeltool: usage: zeltool download"},
      {{"firmware-info", "\xF4\x90\x80\x80"}, 1, "zeltool: \xF4\x90\x80\x80 cannot be opened\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    const ProgramRun run = RunProgram(c.args);
    ASSERT_TRUE(run.exited) << "signal " << run.status << ": " << run.err;
    EXPECT_EQ(c.status, run.status);
    EXPECT_EQ("", run.out);
    EXPECT_NE(std::string::npos, run.err.find(c.says)) << run.err;
    EXPECT_EQ(run.err.size() - 1, run.err.find('\n')) << "one line: " << run.err;
  }
}

}  // namespace
