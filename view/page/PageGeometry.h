#pragma once
// Where things lie on a printed page: in points (1/72 inch), y growing
// downward. Portable.

struct ChartPoint {
  double x = 0.0;
  double y = 0.0;
};

// A rectangle on the page.
struct PageBox {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;

  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
};

struct PageSize {
  double width;
  double height;
};

constexpr PageSize kA4Page{595.0, 842.0};
constexpr PageSize kLetterPage{612.0, 792.0};

constexpr PageSize Landscape(PageSize page) { return {page.height, page.width}; }
