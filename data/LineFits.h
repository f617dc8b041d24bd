#pragma once
// Straight lines fitted by least squares to a stretch of a series sampled
// every 0.1 s (sample i at TimeOfSample(i)), for the flight statistics.
#include <cstddef>
#include <vector>

struct LineFit {
  double slope = 0.0;       // per second
  double slopeError = 0.0;  // standard error of the slope, from the scatter about the line
  double residual = 0.0;    // sum of squared residuals
};

// The line through samples first..last of `series` (last >= first + 2).
LineFit FitLine(const std::vector<double>& series, size_t first, size_t last);

// A descent that comes to rest: a line down to `restS`, then level at `level`.
struct RestFit {
  double restS = 0.0;
  double level = 0.0;
  double slope = 0.0;  // of the line before restS; negative when it came down
  double residual = 0.0;
};

// The descent-then-level break over samples first..last (last >= first + 2),
// restS searched in 0.01 s steps between the two samples' times.
RestFit FitRest(const std::vector<double>& series, size_t first, size_t last);

// The mean of samples i-half..i+half, the window shrunk at either end.
double CentredMean(const std::vector<double>& series, size_t i, size_t half);

// The least-squares slope (per second) over samples i-half..i+half, the
// window shrunk at either end; 0 when it holds one sample.
double CentredSlope(const std::vector<double>& series, size_t i, size_t half);
