#pragma once
// What the tests of zeltool's pages (report, compare) look at: the text a
// PDF reader extracts, where a chart's sample lands in the PNG, and a fixed
// "present" for the page's date.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/DataSetFile.h"
#include "support/TempFolder.h"
#include "tools/PngPicture.h"
#include "view/PixelColour.h"
#include "view/page/ChartLayout.h"
#include "view/cairo/PageText.h"
#include "view/page/PageFiles.h"

// A data set file of one flight in `folder`, as the program saves one.
inline void WriteFlightFile(const TempFolder& folder, const std::string& name, const std::vector<DataPacket>& packets,
                            const std::string& comment) {
  DataSetFileContent content;
  content.packets = packets;
  content.comment = comment;
  std::ostringstream bytes;
  ASSERT_TRUE(WriteDataSetFile(bytes, content));
  WriteFileBytes(folder.Path(name), bytes.str());
}

// pdftotext is poppler-utils' (Debian: apt-get install poppler-utils).
inline bool HavePdfToText() {
  static const bool present = std::system("pdftotext -v >/dev/null 2>&1") == 0;
  return present;
}

// The text of a PDF as pdftotext lays it out, each line's runs of blanks
// squeezed to one and its ends trimmed; empty when it cannot be read.
inline std::string PdfTextLines(const std::filesystem::path& pdf) {
  const std::filesystem::path text = pdf.string() + ".txt";
  const std::string command = "pdftotext -layout '" + pdf.string() + "' '" + text.string() + "'";
  if (std::system(command.c_str()) != 0) return "";
  std::istringstream in(ReadFileBytes(text));
  std::filesystem::remove(text);
  std::string squeezed;
  for (std::string line, word; std::getline(in, line);) {
    std::istringstream words(line);
    std::string joined;
    while (words >> word) joined += (joined.empty() ? "" : " ") + word;
    squeezed += joined + '\n';
  }
  return squeezed;
}

inline uint32_t PixelOf(Rgb colour) {
  return static_cast<uint32_t>(colour.red) << 16 | static_cast<uint32_t>(colour.green) << 8 | colour.blue;
}

// The PNG pixel where a chart puts the point (seconds, value).
struct PixelPoint {
  int x;
  int y;
};
inline PixelPoint PngPixel(const ChartLayout& layout, double seconds, double value, ChartSide side) {
  return {static_cast<int>(layout.X(seconds) * kPngPixelsPerPoint),
          static_cast<int>(layout.Y(value, side) * kPngPixelsPerPoint)};
}

// A curve's samples where the chart should put them, in the PNG's pixels.
struct PixelCurve {
  std::vector<PixelPoint> samples;
  Rgb colour;
};

inline double DistanceToSegment(const PixelPoint& p, const PixelPoint& a, const PixelPoint& b) {
  const double dx = b.x - a.x, dy = b.y - a.y, length = dx * dx + dy * dy;
  const double t = length == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Whether one of the curves passes over the sample (its width and 2 pixels).
inline bool Covered(const PixelPoint& sample, const std::vector<PixelCurve>& curves) {
  for (const PixelCurve& curve : curves) {
    for (size_t i = 1; i < curve.samples.size(); ++i) {
      if (DistanceToSegment(sample, curve.samples[i - 1], curve.samples[i]) <= 4.0) return true;
    }
  }
  return false;
}

struct CurveCheck {
  double drawn;    // of the samples no later curve covers, the share with a pixel of its colour within 2 pixels
  double covered;  // the share that a later curve covers
};

// Each of `curves`, given in the order they are drawn, checked in `picture`.
inline std::vector<CurveCheck> CheckCurves(const Picture& picture, const std::vector<PixelCurve>& curves) {
  std::vector<CurveCheck> checks;
  for (size_t k = 0; k < curves.size(); ++k) {
    const std::vector<PixelCurve> later(curves.begin() + static_cast<std::ptrdiff_t>(k) + 1, curves.end());
    size_t shown = 0, drawn = 0;
    for (const PixelPoint& sample : curves[k].samples) {
      if (Covered(sample, later)) continue;
      ++shown;
      drawn += picture.Near(sample.x, sample.y, PixelOf(curves[k].colour), 2) ? 1 : 0;
    }
    const double all = static_cast<double>(curves[k].samples.size());
    checks.push_back({shown == 0 ? 0.0 : static_cast<double>(drawn) / static_cast<double>(shown),
                      all == 0 ? 1.0 : 1.0 - static_cast<double>(shown) / all});
  }
  return checks;
}

// SOURCE_DATE_EPOCH set for the life of the object: the pages' "present".
class FixedPageTime {
 public:
  explicit FixedPageTime(std::time_t seconds) : seconds_(seconds) {
    setenv("SOURCE_DATE_EPOCH", std::to_string(seconds).c_str(), 1);
  }
  ~FixedPageTime() { unsetenv("SOURCE_DATE_EPOCH"); }
  FixedPageTime(const FixedPageTime&) = delete;
  FixedPageTime& operator=(const FixedPageTime&) = delete;

  // The page's line that says when it was made, in local time.
  std::string MadeLine() const {
    char text[32] = "";
    std::strftime(text, sizeof text, "made %Y-%m-%d %H:%M", std::localtime(&seconds_));
    return text;
  }

 private:
  std::time_t seconds_;
};
