#include "sim/ReportPacing.h"

#include <algorithm>

ReportPacing::Clock::time_point ReportPacing::TakeHostReport(Clock::time_point offered) {
  const Clock::time_point taken = std::max(offered, nextTake_);
  nextTake_ = taken + writeInterval_;
  return taken;
}

ReportPacing::Clock::time_point ReportPacing::SendReport(Clock::time_point taken, bool takesItsFrame) {
  lastArrival_ = std::max(taken, lastArrival_) + replyDelay_;
  if (takesItsFrame) nextTake_ = std::max(nextTake_, lastArrival_ + writeInterval_);
  return lastArrival_;
}
