#pragma once
// What a page is drawn on: the few strokes, fills and texts the report and
// the comparison are made of, in points. Portable: cairo (view/cairo) and
// GDI+ (view/win32) paint them, so both draw one layout.
#include <ctime>
#include <string>
#include <vector>

#include "view/PixelColour.h"
#include "view/page/PageGeometry.h"
#include "view/page/TextMeasure.h"

class PageCanvas {
 public:
  virtual ~PageCanvas() = default;

  // Texts are laid out with the measure of the engine that draws them.
  virtual const TextMeasure& Measure() const = 0;

  virtual void StrokeLine(ChartPoint from, ChartPoint to, Rgb colour, double width) = 0;
  virtual void StrokeBox(const PageBox& box, Rgb colour, double width) = 0;
  virtual void StrokeRing(ChartPoint centre, double radius, Rgb colour, double width) = 0;
  // A curve through `points` with round joins, only its part inside `clip` drawn.
  virtual void StrokeCurve(const std::vector<ChartPoint>& points, Rgb colour, double width, const PageBox& clip) = 0;
  virtual void FillBox(const PageBox& box, Rgb colour) = 0;
  virtual void FillPolygon(const std::vector<ChartPoint>& corners, Rgb colour) = 0;

  // `text` as one line, its logical box's left edge at `left` and its
  // baseline at `baseline`; cut at its end with an ellipsis where it would be
  // wider than `maxWidth` (when above 0).
  virtual void ShowText(const TextStyle& style, double left, double baseline, const std::string& text,
                        double maxWidth = 0.0) = 0;
  // `text` reading upward, its baseline at x, centred on y: a value axis' title.
  virtual void ShowTextUpward(const TextStyle& style, double x, double y, const std::string& text) = 0;
};

enum class TextAlign { Left, Centre, Right };

// `text` starting, centred or ending at `x`.
void ShowAlignedText(PageCanvas& canvas, const TextStyle& style, double x, double baseline, const std::string& text,
                     TextAlign align);

// `text` with the top-left corner of its logical box at (left, top), as a
// layout placed it.
void ShowTextFrom(PageCanvas& canvas, const TextStyle& style, double left, double top, const std::string& text);

// A page's first line: its title at `left`, and when it was made ending at
// `right`, on one baseline.
void ShowPageTitle(PageCanvas& canvas, double left, double right, double baseline, const std::string& title,
                   std::time_t made);

// When a page was made as the page shows it, in local time: "2024-05-01 14:03".
std::string MadeAtText(std::time_t made);
