#include "base/DebugLog.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/LogCapture.h"

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

int LoggedAndCounted() {
  DebugLog << "inner" << std::endl;
  return 1;
}

TEST(DebugLog, LinesFromSeveralThreadsArriveWholeAndShareTheBase) {
  constexpr int kLinesPerThread = 400;
  const LogCapture log;
  DebugLog << std::dec;
  std::vector<std::thread> writers;
  writers.emplace_back([] {
    for (int i = 0; i < kLinesPerThread; ++i) DebugLog << "hex: " << std::hex << 255 << std::endl;
  });
  writers.emplace_back([] {
    for (int i = 0; i < kLinesPerThread; ++i) DebugLog << "dec: " << std::dec << 255 << std::endl;
  });
  writers.emplace_back([] {
    for (int i = 0; i < kLinesPerThread; ++i) DebugLog << "as left: " << 255 << ' ' << 0.5 << std::endl;
  });
  for (std::thread& writer : writers) writer.join();

  const std::set<std::string> whole = {"hex: ff", "dec: 255", "as left: ff 0.5", "as left: 255 0.5"};
  const std::vector<std::string> lines = LinesOf(log.Text());
  ASSERT_EQ(lines.size(), 3u * kLinesPerThread);
  for (const std::string& line : lines) EXPECT_EQ(whole.count(line), 1u) << "a broken line: " << line;
}

TEST(DebugLog, ABaseLeftByOneThreadHoldsForTheNextLineOfAnother) {
  const LogCapture log;
  std::thread([] { DebugLog << "Line: " << std::hex << 10 << std::endl; }).join();
  std::thread([] { DebugLog << "Selected Set: " << 26 << std::endl; }).join();
  EXPECT_EQ(log.Text(), "Line: a\nSelected Set: 1a\n");
  EXPECT_EQ(DebugLog.flags() & std::ios::basefield, std::ios::hex);
}

TEST(DebugLog, AValueThatLogsItselfNeitherDeadlocksNorSplitsTheLine) {
  const LogCapture log;
  DebugLog << "outer " << LoggedAndCounted() << std::endl;
  EXPECT_EQ(log.Text(), "inner\nouter 1\n");
}

TEST(DebugLog, TextIsCopiedBeforeTheStatementsTemporariesEnd) {
  const LogCapture log;
  DebugLog << "Path: " << std::string(40, 'x').c_str() << std::endl;
  EXPECT_EQ(log.Text(), "Path: " + std::string(40, 'x') + "\n");
}

TEST(DebugLog, RunsWithoutALineEndJoinTheNextLine) {
  const LogCapture log;
  DebugLog << 0.25 << ' ';
  DebugLog << 0.5 << ' ';
  DebugLog << "Packet Count: " << std::dec << 3 << std::endl;
  EXPECT_EQ(log.Text(), "0.25 0.5 Packet Count: 3\n");
}

TEST(DebugLog, WithoutABufferEveryLineIsDropped) {
  const RedirectedDebugLog silenced;
  DebugLog << "nowhere " << 1 << std::endl;
  const LogCapture log;
  DebugLog << "here" << std::endl;
  EXPECT_EQ(log.Text(), "here\n");
}

}  // namespace
