// The data set view's kept picture stands in for painting only when it shows
// the very scene asked for at the same size; anything else is painted anew.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/win32/MemoryPicture.h"
#include "view/GraphColours.h"
#include "view/GraphScene.h"
#include "view/win32/DataSetPicture.h"
#include "view/win32/GdiplusSession.h"

namespace {

constexpr SIZE kSize{320, 240};
constexpr Rgb kBlack{0, 0, 0};

// A climb and descent of 100 samples, Line A firing at the top.
DataSetScene SmallScene(int32_t setNumber) {
  DataSet set;
  for (int i = 0; i < 100; ++i) {
    const double altitude = 50.0 - (i - 50) * (i - 50) / 50.0;
    set.adc.push_back(800);
    set.altitudeAgl.push_back(altitude);
    set.smoothedAltitude.push_back(altitude);
    set.velocity.push_back(i < 50 ? 10.0 : -10.0);
    set.smoothedVelocityKmh.push_back(i < 50 ? 36.0 : -36.0);
    set.lineFlags.push_back(i >= 50 && i < 60 ? 2 : 0);
  }
  set.setNumber = setNumber;
  return BuildDataSetScene(set, GraphMapping(RangeOfDataSet(set), kSize.cx, kSize.cy));
}

enum class Outcome { Copied, Painted, Untouched };

// On a black picture: a copy brings the kept background along, a painting
// leaves black between its lines.
Outcome PaintOnBlack(DataSetPicture& kept, const DataSetScene& scene, SIZE size) {
  MemoryPicture picture(size.cx, size.cy);
  picture.Fill(kBlack);
  kept.Paint(picture.Dc(), picture.Size(), scene);
  const std::vector<uint32_t> pixels = picture.Pixels();
  if (pixels[0] != 0) return Outcome::Copied;  // the top left corner, no line's
  for (const uint32_t pixel : pixels) {
    if (pixel != 0) return Outcome::Painted;
  }
  return Outcome::Untouched;
}

std::vector<uint32_t> PaintOnBackground(DataSetPicture& kept, const DataSetScene& scene) {
  MemoryPicture picture(kSize.cx, kSize.cy);
  picture.Fill(kDataSetBackground);
  kept.Paint(picture.Dc(), picture.Size(), scene);
  return picture.Pixels();
}

class DataSetPictures : public ::testing::Test {
 protected:
  GdiplusSession gdiplus;
};

TEST_F(DataSetPictures, OnlyTheSameSceneAtTheSameSizeIsCopied) {
  const DataSetScene first = SmallScene(0);
  DataSetScene movedPoint = first;
  movedPoint.altitude[1].y += 1;
  DataSetScene bandFewer = first;
  bandFewer.bands.clear();
  const struct {
    const char* name;
    DataSetScene scene;
    SIZE size;
    Outcome expected;
  } cases[] = {
      {"the same scene", first, kSize, Outcome::Copied},
      {"another set", SmallScene(1), kSize, Outcome::Painted},
      {"a curve point moved", movedPoint, kSize, Outcome::Painted},
      {"a band fewer", bandFewer, kSize, Outcome::Painted},
      {"another size", first, {kSize.cx + 1, kSize.cy}, Outcome::Painted},
      {"an empty set", DataSetScene{}, kSize, Outcome::Untouched},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DataSetPicture kept;
    PaintOnBackground(kept, first);
    EXPECT_EQ(c.expected, PaintOnBlack(kept, c.scene, c.size));
  }
}

// Painted alone, the second scene gives the picture its copy must hold.
TEST_F(DataSetPictures, TheCopyIsTheLastPaintedPictureAndOutlivesAnEmptySet) {
  const DataSetScene first = SmallScene(0);
  const DataSetScene second = SmallScene(1);
  DataSetPicture alone;
  const std::vector<uint32_t> secondAlone = PaintOnBackground(alone, second);
  DataSetPicture kept;
  PaintOnBackground(kept, first);
  PaintOnBackground(kept, second);
  PaintOnBlack(kept, DataSetScene{}, kSize);
  EXPECT_EQ(Outcome::Copied, PaintOnBlack(kept, second, kSize));
  EXPECT_EQ(secondAlone, PaintOnBackground(kept, second));
}

}  // namespace
