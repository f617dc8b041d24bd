#pragma once
// The flight data smoother: an exponential filter whose weight adapts to how
// much the signal moves within +-40 samples of each point, so flat stretches
// are smoothed hard and fast changes are followed closely.
#include <vector>

// Weights never exceed 1, so this cap leaves them as computed.
constexpr double kNoWeightCap = 1.0;

// The filtered series of `input`, with each weight limited to `weightCap`.
// When `weights` is given, it receives the weight used at each sample.
// A window with no span (a one-sample series) has weight 0: the output is the input.
std::vector<double> AdaptiveFilter(const std::vector<double>& input, double weightCap, std::vector<double>* weights);
