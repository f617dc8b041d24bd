#include "data/SimplexMinimizer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

using Point = std::vector<double>;

// Reflection, expansion, contraction and shrink factors of the usual method.
constexpr double kReflect = 1.0;
constexpr double kExpand = 2.0;
constexpr double kContract = 0.5;
constexpr double kShrink = 0.5;

class Simplex {
 public:
  Simplex(const SimplexFunction& f, const Point& start, const std::vector<double>& steps, int maxEvaluations)
      : f_(f), budget_(maxEvaluations) {
    points_.push_back(start);
    for (size_t k = 0; k < start.size(); ++k) {
      points_.push_back(start);
      points_.back()[k] += steps[k];
    }
    for (const Point& point : points_) values_.push_back(Evaluate(point));
    Order();
  }

  bool Spent() const { return budget_ <= 0; }
  double Spread() const { return values_.back() - values_.front(); }
  const Point& Best() const { return points_.front(); }

  void Step() {
    const Point centre = CentreOfBest();
    const Point reflected = Along(centre, -kReflect);
    const double reflectedValue = Evaluate(reflected);
    if (reflectedValue < values_.front()) {
      const Point expanded = Along(centre, -kExpand);
      const double expandedValue = Evaluate(expanded);
      expandedValue < reflectedValue ? ReplaceWorst(expanded, expandedValue) : ReplaceWorst(reflected, reflectedValue);
    } else if (reflectedValue < values_[values_.size() - 2]) {
      ReplaceWorst(reflected, reflectedValue);
    } else {
      const bool outside = reflectedValue < values_.back();
      const Point contracted = Along(centre, outside ? -kContract : kContract);
      const double contractedValue = Evaluate(contracted);
      if (contractedValue < std::min(reflectedValue, values_.back())) {
        ReplaceWorst(contracted, contractedValue);
      } else {
        ShrinkTowardBest();
      }
    }
    Order();
  }

 private:
  double Evaluate(const Point& point) {
    --budget_;
    const double value = f_(point);
    return std::isnan(value) ? std::numeric_limits<double>::infinity() : value;
  }

  // The centre of every point but the worst.
  Point CentreOfBest() const {
    Point centre(points_.front().size(), 0.0);
    for (size_t p = 0; p + 1 < points_.size(); ++p) {
      for (size_t k = 0; k < centre.size(); ++k) centre[k] += points_[p][k];
    }
    for (double& coordinate : centre) coordinate /= static_cast<double>(points_.size() - 1);
    return centre;
  }

  // centre + factor * (worst - centre)
  Point Along(const Point& centre, double factor) const {
    Point point = centre;
    for (size_t k = 0; k < point.size(); ++k) point[k] += factor * (points_.back()[k] - centre[k]);
    return point;
  }

  void ReplaceWorst(const Point& point, double value) {
    points_.back() = point;
    values_.back() = value;
  }

  void ShrinkTowardBest() {
    for (size_t p = 1; p < points_.size(); ++p) {
      for (size_t k = 0; k < points_[p].size(); ++k) {
        points_[p][k] = points_.front()[k] + kShrink * (points_[p][k] - points_.front()[k]);
      }
      values_[p] = Evaluate(points_[p]);
    }
  }

  void Order() {
    std::vector<size_t> order(points_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return values_[a] < values_[b]; });
    std::vector<Point> points;
    std::vector<double> values;
    for (const size_t index : order) {
      points.push_back(points_[index]);
      values.push_back(values_[index]);
    }
    points_.swap(points);
    values_.swap(values);
  }

  const SimplexFunction& f_;
  int budget_;
  std::vector<Point> points_;  // best first once ordered
  std::vector<double> values_;
};

}  // namespace

std::vector<double> MinimizeSimplex(const SimplexFunction& f, const std::vector<double>& start,
                                    const std::vector<double>& steps, double tolerance, int maxEvaluations) {
  Simplex simplex(f, start, steps, maxEvaluations);
  // An infinite spread (a corner outside f's domain) is never below the tolerance.
  while (!simplex.Spent() && !(simplex.Spread() < tolerance)) simplex.Step();
  return simplex.Best();
}
