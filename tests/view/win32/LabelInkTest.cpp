// The painter prints each label inside the box the portable layout gives it,
// at every DPI: what keeps the layout's boxes apart keeps the text apart.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/win32/MemoryPicture.h"
#include "view/GraphColours.h"
#include "view/GraphScene.h"
#include "view/win32/GdiplusSession.h"
#include "view/win32/GraphPainter.h"

namespace {

constexpr int32_t kSide = 640;

// The box around every pixel that is not the background; empty when none is.
PixelBox InkOf(const MemoryPicture& picture, uint32_t background) {
  const std::vector<uint32_t> pixels = picture.Pixels();
  PixelBox ink{kSide, kSide, 0, 0};
  for (int32_t y = 0; y < kSide; ++y) {
    for (int32_t x = 0; x < kSide; ++x) {
      if ((pixels[static_cast<size_t>(y) * kSide + x] & 0xFFFFFF) == background) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1), std::max(ink.bottom, y + 1)};
    }
  }
  return ink;
}

TEST(LabelInk, LiesInsideTheLayoutsBoxAndFillsItsWidth) {
  const GdiplusSession gdiplus;
  const GraphLabel labels[] = {{{20, 30}, L"<Velocity> over 1 second", GraphColour::Green},
                               {{20, 30}, L"(12.3 s  456.7 m)", GraphColour::Blue},
                               {{20, 30}, L"Ground", GraphColour::Blue}};
  for (const int32_t dpi : {96, 120, 144, 192}) {
    const float font = GraphScale(dpi).Width(16.0f);
    for (const GraphLabel& label : labels) {
      SCOPED_TRACE(testing::Message() << dpi << " DPI, " << std::string(label.text.begin(), label.text.end()));
      MemoryPicture picture(kSide, kSide);
      picture.Fill(kDataSetBackground);
      PaintLabels(picture.Dc(), {label}, SceneStyle{0, 0, 0, font});
      const PixelBox box = LabelBox(label, SceneStyle{0, 0, 0, font});
      const PixelBox ink = InkOf(picture, picture.Pixels()[0] & 0xFFFFFF);
      ASSERT_FALSE(ink.Empty());
      EXPECT_GE(ink.left, box.left);
      EXPECT_GE(ink.top, box.top);
      EXPECT_LE(ink.right, box.right);
      EXPECT_LE(ink.bottom, box.bottom);
      // Text of the wrong size would leave a third of the box or more empty.
      EXPECT_GT(ink.right - ink.left, (box.right - box.left) * 3 / 4);
    }
  }
}

}  // namespace
