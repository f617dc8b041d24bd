#include "data/AscentFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/FitCovariance.h"
#include "data/LineFits.h"
#include "data/SampleTime.h"
#include "data/SimplexMinimizer.h"
#include "data/StatUnits.h"

namespace {

constexpr double kGravity = kStandardGravity;
constexpr double kNoDrag = 1e-9;        // 1/m; below it the drag-free forms hold
constexpr size_t kSlopeHalfWindow = 5;  // +-0.5 s, for the rough top speed
constexpr size_t kPadHalfWindow = 5;    // the set starts on the pad
constexpr double kShortestS = 0.1;      // one sample
constexpr double kStartShiftS = 0.3;    // the other starts: burn-out this much earlier and later
constexpr double kTolerance = 1e-6;     // m^2 of residual
constexpr int kMaxEvaluations = 2000;
const std::vector<double> kSteps{0.1, 0.2, 0.2, 1.0};  // launch s, then logs of burn time, acceleration, drag

// ln(cosh(x)) for x >= 0 without overflow.
double LogCosh(double x) { return x + std::log1p(std::exp(-2.0 * x)) - std::log(2.0); }

// Height and speed `u` s into a boost of net acceleration `a` against drag `k`.
double BoostHeight(double u, double a, double k) {
  return k < kNoDrag ? 0.5 * a * u * u : LogCosh(std::sqrt(a * k) * u) / k;
}

double BoostSpeed(double u, double a, double k) {
  return k < kNoDrag ? a * u : std::sqrt(a / k) * std::tanh(std::sqrt(a * k) * u);
}

// What the simplex moves: the launch and the logs of the burn time, the
// acceleration and the drag, so that none of the last three can turn negative.
std::vector<double> ToSearch(double launchS, double burnS, double acceleration, double drag) {
  return {launchS, std::log(burnS), std::log(acceleration), std::log(drag)};
}

Ascent FromSearch(const std::vector<double>& p) {
  return Ascent(p[0], p[0] + std::exp(p[1]), std::exp(p[2]), std::exp(p[3]));
}

// The pad's level that fits samples 0..last best under `ascent`: the mean of
// the samples' heights over the ascent's; `residual` gets the squares left.
AscentFit FitPad(const std::vector<double>& altitude, size_t last, const Ascent& ascent, double& residual) {
  double sum = 0.0, squares = 0.0;
  for (size_t i = 0; i <= last; ++i) {
    const double difference = altitude[i] - ascent.HeightAt(TimeOfSample(i));
    sum += difference;
    squares += difference * difference;
  }
  const double count = static_cast<double>(last + 1);
  residual = std::max(0.0, squares - sum * sum / count);
  return {ascent, sum / count, last, std::sqrt(residual / count), {}};
}

double Residual(const std::vector<double>& altitude, size_t last, const std::vector<double>& p) {
  double residual = 0.0;
  FitPad(altitude, last, FromSearch(p), residual);
  return residual;
}

// The drag that makes a coast from `speed` m/s reach its top in `seconds`;
// none when gravity alone takes that long.
double DragForCoast(double speed, double seconds) {
  if (seconds >= speed / kGravity) return kNoDrag;
  const auto coastS = [&](double k) { return std::atan(speed * std::sqrt(k / kGravity)) / std::sqrt(kGravity * k); };
  double low = std::log(kNoDrag), high = 0.0;
  for (int i = 0; i < 60; ++i) {
    const double middle = (low + high) / 2.0;
    (coastS(std::exp(middle)) > seconds ? low : high) = middle;
  }
  return std::exp((low + high) / 2.0);
}

// A first guess: burn-out where the climb is fastest (moved by `shiftS`), a
// boost of constant acceleration from rest before it, and the drag that ends
// the coast at the peak.
std::vector<double> RoughStart(const std::vector<double>& altitude, size_t peak, double shiftS) {
  size_t fastest = 0;
  double topSpeed = 0.0;
  for (size_t i = 1; i < peak; ++i) {
    const double speed = CentredSlope(altitude, i, kSlopeHalfWindow);
    if (speed > topSpeed) {
      topSpeed = speed;
      fastest = i;
    }
  }
  topSpeed = std::max(topSpeed, 1.0);
  const double pad = CentredMean(altitude, 0, kPadHalfWindow);
  const double height = std::max(CentredMean(altitude, fastest, kSlopeHalfWindow) - pad, 1.0);
  const double burnOutS = std::max(TimeOfSample(fastest) + shiftS, 2.0 * kShortestS);
  const double burnS = std::clamp(2.0 * height / topSpeed, kShortestS, burnOutS);
  const double drag = DragForCoast(topSpeed, std::max(TimeOfSample(peak) - burnOutS, kShortestS));
  return ToSearch(burnOutS - burnS, burnS, topSpeed / burnS, drag);
}

// The simplex run twice, the second from where the first stopped, since one
// run may settle on a shrunken simplex short of the minimum.
std::vector<double> Minimize(const std::vector<double>& altitude, size_t last, const std::vector<double>& start) {
  const SimplexFunction f = [&](const std::vector<double>& p) { return Residual(altitude, last, p); };
  const std::vector<double> first = MinimizeSimplex(f, start, kSteps, kTolerance, kMaxEvaluations);
  return MinimizeSimplex(f, first, kSteps, kTolerance, kMaxEvaluations);
}

// The best of the fits from the rough start and from starts with the burn-out
// moved either way, which the residual's folds might otherwise hide.
std::vector<double> BestFromRoughStarts(const std::vector<double>& altitude, size_t last) {
  std::vector<double> best;
  double bestResidual = std::numeric_limits<double>::infinity();
  for (const double shiftS : {0.0, -kStartShiftS, kStartShiftS}) {
    const std::vector<double> fitted = Minimize(altitude, last, RoughStart(altitude, last, shiftS));
    const double residual = Residual(altitude, last, fitted);
    if (residual < bestResidual) {
      bestResidual = residual;
      best = fitted;
    }
  }
  return best;
}

// The climb's standard errors: the four searched parameters and the pad's
// level, through the fit's covariance.
AscentErrors ErrorsOf(size_t last, const std::vector<double>& p, double pad,
                      double residual) {
  const SampledModel model = [&](const Parameters& q) {
    const Ascent ascent = FromSearch(q);
    std::vector<double> heights(last + 1);
    for (size_t i = 0; i <= last; ++i) heights[i] = q[4] + ascent.HeightAt(TimeOfSample(i));
    return heights;
  };
  Parameters fitted = p;
  fitted.push_back(pad);
  const FitCovariance covariance(model, fitted, {1e-3, 1e-4, 1e-4, 1e-3, 1e-3}, residual);
  const auto of = [&](double (Ascent::*value)() const) {
    return covariance.ErrorOf([value](const Parameters& q) { return (FromSearch(q).*value)(); });
  };
  return {of(&Ascent::LaunchS),      of(&Ascent::BurnOutS),     of(&Ascent::BurnOutSpeed),
          of(&Ascent::Acceleration), of(&Ascent::ApogeeHeight), of(&Ascent::ApogeeS)};
}

// Clamped in double: a fit that wandered may put the apogee past any index.
size_t LastSampleBefore(double seconds, size_t count) {
  if (!(seconds > 0.0)) return 0;
  return static_cast<size_t>(std::min(seconds / kSecondsPerSample, static_cast<double>(count - 1)));
}

}  // namespace

Ascent::Ascent(double launchS, double burnOutS, double acceleration, double drag)
    : launchS_(launchS), burnOutS_(burnOutS), acceleration_(acceleration), drag_(drag) {
  const double burnS = burnOutS - launchS;
  burnOutHeight_ = BoostHeight(burnS, acceleration, drag);
  burnOutSpeed_ = BoostSpeed(burnS, acceleration, drag);
  const double v = burnOutSpeed_;
  if (drag < kNoDrag) {
    apogeeS_ = burnOutS + v / kGravity;
    apogeeHeight_ = burnOutHeight_ + v * v / (2.0 * kGravity);
  } else {
    apogeeS_ = burnOutS + std::atan(v * std::sqrt(drag / kGravity)) / std::sqrt(kGravity * drag);
    apogeeHeight_ = burnOutHeight_ + std::log1p(drag * v * v / kGravity) / (2.0 * drag);
  }
}

double Ascent::HeightAt(double t) const {
  if (t <= launchS_) return 0.0;
  if (t <= burnOutS_) return BoostHeight(t - launchS_, acceleration_, drag_);
  const double fromTop = t - apogeeS_;  // negative while coasting up
  if (drag_ < kNoDrag) return apogeeHeight_ - 0.5 * kGravity * fromTop * fromTop;
  const double rate = std::sqrt(kGravity * drag_);
  if (fromTop <= 0.0) return apogeeHeight_ + std::log(std::cos(rate * fromTop)) / drag_;
  return apogeeHeight_ - LogCosh(rate * fromTop) / drag_;
}

std::optional<AscentFit> FitAscent(const std::vector<double>& altitude, size_t peak) {
  if (peak < 2 || peak >= altitude.size()) return std::nullopt;
  std::vector<double> p = BestFromRoughStarts(altitude, peak);
  // Once more over the samples up to the apogee found, which the rough peak only approached.
  const size_t last = LastSampleBefore(FromSearch(p).ApogeeS(), altitude.size());
  if (last >= 2 && last != peak) p = Minimize(altitude, last, p);
  double residual = 0.0;
  AscentFit fit = FitPad(altitude, std::max<size_t>(last, 2), FromSearch(p), residual);
  const Ascent& a = fit.ascent;
  const bool finite = std::isfinite(residual) && std::isfinite(fit.padLevel) && std::isfinite(a.ApogeeHeight()) &&
                      std::isfinite(a.ApogeeS()) && std::isfinite(a.BurnOutSpeed());
  if (!finite) return std::nullopt;
  fit.errors = ErrorsOf(fit.lastSample, p, fit.padLevel, residual);
  return fit;
}
