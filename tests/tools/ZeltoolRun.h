#pragma once
// Runs zeltool's commands in the test's process and looks at what they say.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/zeltool/Zeltool.h"

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline Outcome RunZeltoolCommand(const std::vector<std::wstring>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunZeltool(args, out, err);
  return {status, out.str(), err.str()};
}

// A refused command: exit `status`, nothing on standard output, and one line
// on standard error that names zeltool and says `says`.
inline void ExpectOneLineRefusal(const Outcome& outcome, int status, const std::string& says) {
  EXPECT_EQ(status, outcome.status);
  EXPECT_EQ("", outcome.out);
  EXPECT_EQ(0u, outcome.err.find("zeltool: ")) << outcome.err;
  EXPECT_NE(std::string::npos, outcome.err.find(says)) << outcome.err;
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line";
}
