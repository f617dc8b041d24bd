#pragma once
// Replies timed at 0.8 and 1.2 of a time-out's limit: the first must be taken,
// the second must not. Far enough apart to tell 3000 ms from 2000 or 4000
// (20000 from 15000 or 25000), and, at the scales the tests use, wider apart
// than a busy machine's scheduling hiccups.
//
// The limits are written out here: the code's own constants are under test.
constexpr double kJustInside = 0.8;
constexpr double kJustPast = 1.2;
constexpr unsigned kReportLimitMs = 3000;
constexpr unsigned kEmulationReplyLimitMs = 20000;

// The reply delay for `fraction` of `limitMs`, on the backend's time-out scale.
inline unsigned ScaledDelayMs(double fraction, unsigned limitMs, double timeoutScale) {
  return static_cast<unsigned>(fraction * limitMs * timeoutScale);
}
