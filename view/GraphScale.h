#pragma once
// The graph's own lengths at a screen's DPI: margins, offsets, pen widths and
// the label font grow by DPI / 96, as a 12-point font does; at 96 DPI they
// are the pixels they always were.
#include <cstdint>

class GraphScale {
 public:
  static constexpr int32_t kBaseDpi = 96;

  // A DPI that is not positive is taken as 96.
  constexpr explicit GraphScale(int32_t dpi = kBaseDpi) : dpi_(dpi > 0 ? dpi : kBaseDpi) {}

  constexpr int32_t Dpi() const { return dpi_; }
  // A length of the 96-DPI picture at this DPI, to the nearest whole pixel.
  int32_t Pixels(int32_t basePixels) const;
  // A pen width of the 96-DPI picture at this DPI.
  float Width(float basePixels) const;

 private:
  int32_t dpi_;
};

inline bool operator==(const GraphScale& a, const GraphScale& b) { return a.Dpi() == b.Dpi(); }
