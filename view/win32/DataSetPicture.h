#pragma once
// The data set view's last picture, kept beside the scene it shows: the same
// scene asked for again at the same size and pixel depth (a refresh after a
// dialog, a redraw of restored surfaces) is copied back instead of painted.
// Printing the labels alone costs several copies under Wine. Not thread-safe:
// the graph's drawing lock guards it.
#include <windows.h>

#include <memory>

#include "view/GraphScene.h"

class DataSetPicture {
 public:
  DataSetPicture();
  ~DataSetPicture();
  DataSetPicture(const DataSetPicture&) = delete;
  DataSetPicture& operator=(const DataSetPicture&) = delete;

  // Paints `scene` onto `dc`, a picture of `size` filled with the view's
  // background, as PaintDataSetScene does, and keeps a copy of the result.
  void Paint(HDC dc, SIZE size, const DataSetScene& scene);

 private:
  class Copy;  // a bitmap like the picture's, in a memory device context

  bool PaintedFromCopy(HDC dc, SIZE size, const DataSetScene& scene) const;
  void Keep(HDC dc, SIZE size, const DataSetScene& scene);

  std::unique_ptr<Copy> copy_;
  DataSetScene scene_;  // what copy_ shows
};
