#include "data/AdaptiveFilter.h"

#include <cmath>

#include "data/SampleWindow.h"

namespace {

constexpr int kWindow = 40;
constexpr int kLanes = 4;

// The sum of |x[i] - x[j]| over the window of i, added in window order.
double WindowDifference(const std::vector<double>& x, int i, const SampleWindow& window) {
  double difference = 0.0;
  for (int j = i + window.lo; j < i + window.hi; ++j) difference += std::fabs(x[i] - x[j]);
  return difference;
}

// The same sums for kLanes neighbours whose windows are whole. Each lane still
// adds in window order, so the results equal WindowDifference to the bit; the
// lanes only let the additions of neighbours overlap instead of waiting on
// one another.
void WholeWindowDifferences(const std::vector<double>& x, int first, double* differences) {
  double lanes[kLanes] = {};
  const double* centre = x.data() + first;
  for (int k = -kWindow; k < kWindow; ++k) {
    for (int lane = 0; lane < kLanes; ++lane) lanes[lane] += std::fabs(centre[lane] - centre[lane + k]);
  }
  for (int lane = 0; lane < kLanes; ++lane) differences[lane] = lanes[lane];
}

// The window sum at every sample.
std::vector<double> WindowDifferences(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  std::vector<double> differences(x.size());
  int i = 0;
  while (i < n) {
    const bool wholeWindows = i >= kWindow && i + kLanes - 1 + kWindow < n;
    if (wholeWindows) {
      WholeWindowDifferences(x, i, &differences[i]);
      i += kLanes;
    } else {
      differences[i] = WindowDifference(x, i, WindowAround(i, n, kWindow));
      ++i;
    }
  }
  return differences;
}

// 0.95 to the power of ten times the mean absolute difference per sample of
// window span; 0 for a window without span.
double WeightOf(double difference, int span) {
  if (span == 0) return 0.0;
  const double mean = difference / span;
  return std::pow(0.95, 10.0 * mean / span);
}

}  // namespace

std::vector<double> AdaptiveFilter(const std::vector<double>& input, double weightCap, std::vector<double>* weights) {
  const int n = static_cast<int>(input.size());
  const std::vector<double> differences = WindowDifferences(input);
  std::vector<double> output(input.size());
  if (weights != nullptr) weights->resize(input.size());
  double previous = 0.0;
  for (int i = 0; i < n; ++i) {
    double weight = WeightOf(differences[i], WindowAround(i, n, kWindow).Span());
    if (weight > weightCap) weight = weightCap;
    if (weights != nullptr) (*weights)[i] = weight;
    previous = weight * previous + (1.0 - weight) * input[i];
    output[i] = previous;
  }
  return output;
}
