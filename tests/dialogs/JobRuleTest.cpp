#include "dialogs/JobRule.h"

#include <gtest/gtest.h>

namespace {

using Steps = JobRule::Steps;

const Steps kNothing{};
const Steps kReport{false, true, true};
const Steps kRefresh{false, false, true};
const Steps kClose{true, false, true};

const DeviceBroadcast kInterface{DeviceBroadcast::kDeviceInterfaceType, L"\\\\?\\hid#any"};
const DeviceBroadcast kVolume{2, L""};

// Whether the broadcast names our device, and how often that was asked.
struct Names {
  bool ours = false;
  int asked = 0;
  std::function<bool()> Ask() {
    return [this] {
      ++asked;
      return ours;
    };
  }
};

Steps Arrival(JobRule& rule, const DeviceBroadcast& broadcast = kInterface) {
  Names names;
  const Steps steps = rule.OnNotice(kDeviceArrival, broadcast, names.Ask());
  EXPECT_EQ(names.asked, 0) << "an arrival names nobody";
  return steps;
}

Steps Removal(JobRule& rule, bool ours, const DeviceBroadcast& broadcast = kInterface) {
  Names names{ours};
  return rule.OnNotice(kDeviceRemoveComplete, broadcast, names.Ask());
}

TEST(JobRule, WhileIdleNoticesActAtOnce) {
  JobRule rule;
  EXPECT_EQ(Arrival(rule), kReport);
  EXPECT_EQ(Removal(rule, false), kRefresh);
  EXPECT_EQ(Removal(rule, true), kClose);
  EXPECT_EQ(rule.JobEnded(), kNothing) << "nothing was left for later";
}

TEST(JobRule, ASuspendEndsAJobAsOurRemovalDoesAndTheResumesArrivalWaitsForItsEnd) {
  JobRule rule;
  ASSERT_TRUE(rule.TryStartJob());
  EXPECT_EQ(rule.OnSuspend(), kClose);
  EXPECT_EQ(Arrival(rule), kNothing);
  EXPECT_EQ(rule.JobEnded(), kReport);
  rule.BeginClosing();
  EXPECT_EQ(rule.OnSuspend(), kNothing) << "a closing dialog touches nothing";
}

TEST(JobRule, DuringAJobOnlyOurRemovalActsAndArrivalsAreReportedOnceAtItsEnd) {
  JobRule rule;
  ASSERT_TRUE(rule.TryStartJob());
  EXPECT_FALSE(rule.TryStartJob()) << "one job at a time";
  EXPECT_EQ(Removal(rule, false), kNothing);
  EXPECT_EQ(Arrival(rule), kNothing);
  EXPECT_EQ(Arrival(rule), kNothing);
  EXPECT_EQ(Removal(rule, true), kClose) << "closing the link is what ends the job";
  EXPECT_EQ(rule.JobEnded(), kReport);
  EXPECT_EQ(rule.JobEnded(), kNothing) << "reported once";

  ASSERT_TRUE(rule.TryStartJob()) << "a job may start once the last one ended";
  EXPECT_EQ(Removal(rule, false), kNothing);
  EXPECT_EQ(rule.JobEnded(), kNothing) << "another device's removal leaves nothing to do";
  ASSERT_TRUE(rule.TryStartJob());
  EXPECT_EQ(Removal(rule, true), kClose);
  EXPECT_EQ(rule.JobEnded(), kRefresh) << "the buttons leave their busy state";
}

TEST(JobRule, VolumeNoticesNeverDoAnything) {
  JobRule rule;
  for (const bool jobRunning : {false, true}) {
    if (jobRunning) {
      ASSERT_TRUE(rule.TryStartJob());
    }
    EXPECT_EQ(Arrival(rule, kVolume), kNothing);
    Names names{true};
    EXPECT_EQ(rule.OnNotice(kDeviceRemoveComplete, kVolume, names.Ask()), kNothing);
    EXPECT_EQ(names.asked, 0);
  }
  EXPECT_EQ(rule.JobEnded(), kNothing);
}

TEST(JobRule, ClosingSilencesNoticesAndRefusesJobsAndCommands) {
  for (const bool jobRunning : {false, true}) {
    SCOPED_TRACE(jobRunning);
    JobRule rule;
    if (jobRunning) {
      ASSERT_TRUE(rule.TryStartJob());
      EXPECT_EQ(Arrival(rule), kNothing) << "deferred, and then not due once closing";
    }
    rule.BeginClosing();
    EXPECT_TRUE(rule.Closing());
    EXPECT_EQ(Arrival(rule), kNothing);
    EXPECT_EQ(Removal(rule, true), kNothing);
    EXPECT_FALSE(rule.TryStartJob());
    EXPECT_FALSE(rule.AcceptsCommand(true));
    EXPECT_FALSE(rule.AcceptsCommand(false));
    EXPECT_EQ(rule.JobEnded(), kNothing);
    EXPECT_FALSE(rule.JobRunning());
  }
}

TEST(JobRule, CommandsThatStartNothingStillWorkDuringAJob) {
  JobRule rule;
  EXPECT_TRUE(rule.AcceptsCommand(false));
  ASSERT_TRUE(rule.TryStartJob());
  EXPECT_TRUE(rule.JobRunning());
  EXPECT_TRUE(rule.AcceptsCommand(true)) << "a mode radio";
  EXPECT_FALSE(rule.AcceptsCommand(false));
  rule.JobEnded();
  EXPECT_TRUE(rule.AcceptsCommand(false));
}

}  // namespace
