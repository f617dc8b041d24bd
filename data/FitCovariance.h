#pragma once
// The standard errors of values derived from a least-squares fit, from the
// fit's Jacobian: the parameters' covariance is s^2 (J^T J)^-1, s^2 the
// residual per degree of freedom, and a derived value's variance is its
// gradient's quadratic form in that covariance. Derivatives are central
// differences with the steps given. A parameter the samples do not pin (J's
// columns leave it free) has an infinite error, and so has every value that
// moves with it.
#include <cstddef>
#include <functional>
#include <vector>

using Parameters = std::vector<double>;
// The model's value at every sample, for the parameters.
using SampledModel = std::function<std::vector<double>(const Parameters&)>;

class FitCovariance {
 public:
  // `residual`: the fit's sum of squared residuals over the model's samples.
  FitCovariance(const SampledModel& model, const Parameters& fitted, const std::vector<double>& steps,
                double residual);

  // The standard error of derived(fitted).
  double ErrorOf(const std::function<double(const Parameters&)>& derived) const;

 private:
  Parameters fitted_;
  std::vector<double> steps_;
  std::vector<std::vector<double>> covariance_;
};
