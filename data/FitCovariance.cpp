#include "data/FitCovariance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using Matrix = std::vector<std::vector<double>>;

// A pivot this small against the diagonal's largest is a parameter the samples do not pin.
constexpr double kSingular = 1e-12;

Parameters Moved(const Parameters& p, size_t k, double by) {
  Parameters moved = p;
  moved[k] += by;
  return moved;
}

// J^T J, J's column k the model's derivative by parameter k.
Matrix NormalMatrix(const SampledModel& model, const Parameters& fitted, const std::vector<double>& steps) {
  std::vector<std::vector<double>> columns;
  for (size_t k = 0; k < fitted.size(); ++k) {
    const std::vector<double> up = model(Moved(fitted, k, steps[k])), down = model(Moved(fitted, k, -steps[k]));
    std::vector<double> column(up.size());
    for (size_t i = 0; i < up.size(); ++i) column[i] = (up[i] - down[i]) / (2.0 * steps[k]);
    columns.push_back(column);
  }
  Matrix normal(fitted.size(), std::vector<double>(fitted.size(), 0.0));
  for (size_t a = 0; a < columns.size(); ++a) {
    for (size_t b = 0; b < columns.size(); ++b) {
      for (size_t i = 0; i < columns[a].size(); ++i) normal[a][b] += columns[a][i] * columns[b][i];
    }
  }
  return normal;
}

// The inverse by Gauss-Jordan elimination with partial pivoting; a direction
// the samples do not pin has an infinite variance.
Matrix Inverse(Matrix m) {
  const size_t n = m.size();
  double largest = 0.0;
  for (size_t i = 0; i < n; ++i) largest = std::max(largest, std::fabs(m[i][i]));
  Matrix inverse(n, std::vector<double>(n, 0.0));
  for (size_t i = 0; i < n; ++i) inverse[i][i] = 1.0;
  std::vector<bool> pinned(n, false);
  for (size_t col = 0; col < n; ++col) {
    size_t pivot = col;
    for (size_t row = col + 1; row < n; ++row) {
      if (std::fabs(m[row][col]) > std::fabs(m[pivot][col])) pivot = row;
    }
    if (!(std::fabs(m[pivot][col]) > kSingular * largest)) continue;
    std::swap(m[pivot], m[col]);
    std::swap(inverse[pivot], inverse[col]);
    pinned[col] = true;
    const double scale = m[col][col];
    for (size_t k = 0; k < n; ++k) {
      m[col][k] /= scale;
      inverse[col][k] /= scale;
    }
    for (size_t row = 0; row < n; ++row) {
      if (row == col || m[row][col] == 0.0) continue;
      const double factor = m[row][col];
      for (size_t k = 0; k < n; ++k) {
        m[row][k] -= factor * m[col][k];
        inverse[row][k] -= factor * inverse[col][k];
      }
    }
  }
  for (size_t i = 0; i < n; ++i) {
    if (pinned[i]) continue;
    for (size_t k = 0; k < n; ++k) inverse[i][k] = inverse[k][i] = 0.0;
    inverse[i][i] = std::numeric_limits<double>::infinity();
  }
  return inverse;
}

}  // namespace

FitCovariance::FitCovariance(const SampledModel& model, const Parameters& fitted, const std::vector<double>& steps,
                             double residual)
    : fitted_(fitted), steps_(steps) {
  const Matrix normal = NormalMatrix(model, fitted, steps);
  const size_t samples = model(fitted).size();
  const double variance = samples > fitted.size() ? residual / static_cast<double>(samples - fitted.size()) : 0.0;
  covariance_ = Inverse(normal);
  for (std::vector<double>& row : covariance_) {
    for (double& entry : row) entry *= variance;
  }
}

double FitCovariance::ErrorOf(const std::function<double(const Parameters&)>& derived) const {
  std::vector<double> gradient(fitted_.size());
  for (size_t k = 0; k < fitted_.size(); ++k) {
    gradient[k] = (derived(Moved(fitted_, k, steps_[k])) - derived(Moved(fitted_, k, -steps_[k]))) / (2.0 * steps_[k]);
  }
  double variance = 0.0;
  for (size_t a = 0; a < gradient.size(); ++a) {
    for (size_t b = 0; b < gradient.size(); ++b) {
      // A value that does not move with an unpinned parameter owes it no error.
      if (gradient[a] != 0.0 && gradient[b] != 0.0) variance += gradient[a] * covariance_[a][b] * gradient[b];
    }
  }
  // NaN (an unpinned direction met a fit without scatter) is no error bound either.
  return variance >= 0.0 ? std::sqrt(variance) : std::numeric_limits<double>::infinity();
}
