#include "data/AdaptiveFilter.h"

#include <cmath>

#include "data/SampleWindow.h"

namespace {

constexpr int kWindow = 40;

// Weight at sample i: 0.95 to the power of ten times the mean absolute
// difference from x[i] per sample of window span.
double WeightAt(const std::vector<double>& x, int i) {
  const SampleWindow window = WindowAround(i, static_cast<int>(x.size()), kWindow);
  const int span = window.Span();
  if (span == 0) return 0.0;
  double difference = 0.0;
  for (int j = i + window.lo; j < i + window.hi; ++j) difference += std::fabs(x[i] - x[j]);
  const double mean = difference / span;
  return std::pow(0.95, 10.0 * mean / span);
}

}  // namespace

std::vector<double> AdaptiveFilter(const std::vector<double>& input, double weightCap, std::ostream* weightLog) {
  std::vector<double> output(input.size());
  double previous = 0.0;
  for (size_t i = 0; i < input.size(); ++i) {
    double weight = WeightAt(input, static_cast<int>(i));
    if (weight > weightCap) weight = weightCap;
    if (weightLog != nullptr) *weightLog << weight << ' ';
    previous = weight * previous + (1.0 - weight) * input[i];
    output[i] = previous;
  }
  return output;
}
