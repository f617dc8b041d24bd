#include "data/LineFits.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/SampleTime.h"

namespace {

constexpr double kRestStepS = 0.01;

// Running sums of t, t^2, y and t*y over samples first..first+k-1 at index k,
// t counted from the first sample and y taken about `offset`, so that the sums
// of squares keep their precision late in a long set.
struct PrefixSums {
  std::vector<double> t, tt, y, ty;

  PrefixSums(const std::vector<double>& series, size_t first, size_t last, double offset) : t(1), tt(1), y(1), ty(1) {
    for (size_t i = first; i <= last; ++i) {
      const double time = TimeOfSample(i - first), value = series[i] - offset;
      t.push_back(t.back() + time);
      tt.push_back(tt.back() + time * time);
      y.push_back(y.back() + value);
      ty.push_back(ty.back() + time * value);
    }
  }
};

// Least squares of y = a + b x from the sums; the residual from the sum of y^2.
struct TwoParameterFit {
  double a = 0.0, b = 0.0, residual = 0.0;
};

TwoParameterFit SolveTwo(double n, double sx, double sxx, double sy, double sxy, double syy) {
  TwoParameterFit fit;
  const double determinant = n * sxx - sx * sx;
  if (determinant <= 0.0) {
    fit.a = sy / n;
    fit.residual = syy - fit.a * sy;
    return fit;
  }
  fit.b = (n * sxy - sx * sy) / determinant;
  fit.a = (sy - fit.b * sx) / n;
  fit.residual = std::max(0.0, syy - fit.a * sy - fit.b * sxy);
  return fit;
}

double SumOfSquares(const std::vector<double>& series, size_t first, size_t last, double offset) {
  double sum = 0.0;
  for (size_t i = first; i <= last; ++i) sum += (series[i] - offset) * (series[i] - offset);
  return sum;
}

}  // namespace

LineFit FitLine(const std::vector<double>& series, size_t first, size_t last) {
  const double offset = series[first];
  const PrefixSums sums(series, first, last, offset);
  const double n = static_cast<double>(last - first + 1);
  const TwoParameterFit fit = SolveTwo(n, sums.t.back(), sums.tt.back(), sums.y.back(), sums.ty.back(),
                                       SumOfSquares(series, first, last, offset));
  LineFit line;
  line.slope = fit.b;
  line.residual = fit.residual;
  const double spread = sums.tt.back() - sums.t.back() * sums.t.back() / n;  // sum of (t - mean t)^2
  if (n > 2.0 && spread > 0.0) line.slopeError = std::sqrt(fit.residual / (n - 2.0) / spread);
  return line;
}

RestFit FitRest(const std::vector<double>& series, size_t first, size_t last) {
  const double offset = series[last];
  const PrefixSums sums(series, first, last, offset);
  const double n = static_cast<double>(last - first + 1);
  const double syy = SumOfSquares(series, first, last, offset);
  RestFit best;
  best.residual = std::numeric_limits<double>::infinity();
  const double span = TimeOfSample(last - first);
  size_t before = 1;  // samples strictly before the break
  for (double rest = TimeOfSample(1); rest <= span; rest += kRestStepS) {
    while (first + before <= last && TimeOfSample(before) < rest) ++before;
    // x = t - rest before the break, 0 from it on
    const double m = static_cast<double>(before);
    const double sx = sums.t[before] - m * rest;
    const double sxx = sums.tt[before] - 2.0 * rest * sums.t[before] + m * rest * rest;
    const double sxy = sums.ty[before] - rest * sums.y[before];
    const TwoParameterFit fit = SolveTwo(n, sx, sxx, sums.y.back(), sxy, syy);
    if (fit.residual < best.residual) best = {TimeOfSample(first) + rest, fit.a + offset, fit.b, fit.residual};
  }
  return best;
}

double CentredMean(const std::vector<double>& series, size_t i, size_t half) {
  const size_t first = i >= half ? i - half : 0, last = std::min(series.size() - 1, i + half);
  double sum = 0.0;
  for (size_t j = first; j <= last; ++j) sum += series[j];
  return sum / static_cast<double>(last - first + 1);
}

double CentredSlope(const std::vector<double>& series, size_t i, size_t half) {
  const size_t first = i >= half ? i - half : 0, last = std::min(series.size() - 1, i + half);
  if (last == first) return 0.0;
  const double meanT = (TimeOfSample(first) + TimeOfSample(last)) / 2.0;
  double num = 0.0, den = 0.0;
  for (size_t j = first; j <= last; ++j) {
    const double dt = TimeOfSample(j) - meanT;
    num += dt * series[j];
    den += dt * dt;
  }
  return num / den;
}
