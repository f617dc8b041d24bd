#pragma once
// Nelder-Mead's downhill simplex: the minimum of a function of a few
// variables that has no derivatives to offer, such as a fit whose model
// changes shape at a break point.
#include <functional>
#include <vector>

using SimplexFunction = std::function<double(const std::vector<double>&)>;

// The point, near `start`, where `f` is least: the simplex begins at `start`
// and `start` moved by steps[k] along each axis k, and stops once its values
// differ by less than `tolerance` or after `maxEvaluations` calls of f.
// f may return infinity where it is not defined; NaN counts as infinity.
std::vector<double> MinimizeSimplex(const SimplexFunction& f, const std::vector<double>& start,
                                    const std::vector<double>& steps, double tolerance, int maxEvaluations);
