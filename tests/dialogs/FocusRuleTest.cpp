#include "dialogs/FocusRule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kStatus = 1003;
constexpr int kRead = 1006;
constexpr int kClear = 1011;
constexpr int kLive = 1032;

// One step of a dialog's life, and where the rule sends the focus (0: nowhere).
struct Step {
  enum Kind { kDisable, kEnable, kJobEnd } kind;
  int id;                 // the control (kJobEnd: the first focusable control)
  bool cameFromEnabled;   // kJobEnd only
  int expectedTarget;
};

// Applies each step, moving the focus where the rule says, as the dialog does.
void RunSteps(const std::string& name, int focus, const std::vector<Step>& steps) {
  FocusRule rule(kStatus);
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    const std::optional<int> target = step.kind == Step::kDisable ? rule.BeforeDisable(step.id, focus)
                                      : step.kind == Step::kEnable ? rule.AfterEnable(step.id, focus)
                                                                   : rule.AfterJob(focus, step.cameFromEnabled, step.id);
    EXPECT_EQ(step.expectedTarget, target.value_or(0)) << name << ", step " << i;
    if (target) focus = *target;
  }
}

TEST(FocusRule, TheFocusWaitsInTheStatusBoxAndGoesBackToTheButtonOfTheJob) {
  using S = Step;
  // The button pressed loses the focus to the status box; the other buttons
  // disabled after it leave it there; it comes back when its button does.
  RunSteps("download", kRead,
      {{S::kDisable, kRead, false, kStatus}, {S::kDisable, kClear, false, 0}, {S::kDisable, kLive, false, 0},
       {S::kEnable, kLive, false, 0}, {S::kEnable, kRead, false, kRead}, {S::kJobEnd, kStatus, true, 0}});
  // A control disabled that does not hold the focus moves nothing.
  RunSteps("focus elsewhere", kLive, {{S::kDisable, kRead, false, 0}, {S::kEnable, kRead, false, 0}});
  // The status box itself is never where the focus is taken from.
  RunSteps("status box", kStatus, {{S::kDisable, kStatus, false, 0}, {S::kJobEnd, kRead, false, 0}});
  // The button of the job stays disabled (the device went): the first control
  // that can take the focus gets it at the job's end.
  RunSteps("button stays off", kRead, {{S::kDisable, kRead, false, kStatus}, {S::kJobEnd, kLive, false, kLive}});
  // ... and when that is the status box, the focus stays.
  RunSteps("first is the box", kRead, {{S::kDisable, kRead, false, kStatus}, {S::kJobEnd, kStatus, false, 0}});
  // The job ends with its button already back: the focus goes there.
  RunSteps("back at the end", kRead, {{S::kDisable, kRead, false, kStatus}, {S::kJobEnd, kLive, true, kRead}});
  // Once given back, later enables and job ends leave the focus alone.
  RunSteps("given back once", kRead,
      {{S::kDisable, kRead, false, kStatus}, {S::kEnable, kRead, false, kRead}, {S::kEnable, kRead, false, 0},
       {S::kJobEnd, kLive, false, 0}});
}

TEST(FocusRule, TheUserMovingTheFocusWhileItWaitsEndsTheWait) {
  FocusRule rule(kStatus);
  ASSERT_EQ(kStatus, rule.BeforeDisable(kRead, kRead).value_or(0));
  EXPECT_EQ(kRead, rule.CameFrom());
  // Tab took the focus to Live Update: Read Data coming back must not take it.
  EXPECT_FALSE(rule.AfterEnable(kRead, kLive));
  EXPECT_FALSE(rule.AfterJob(kLive, true, kStatus));
  EXPECT_EQ(0, rule.CameFrom());
}

}  // namespace
