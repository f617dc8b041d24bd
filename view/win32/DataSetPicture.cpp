#include "view/win32/DataSetPicture.h"

#include "view/win32/GraphPainter.h"

namespace {

int DepthOf(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES); }

}  // namespace

class DataSetPicture::Copy {
 public:
  Copy(HDC like, SIZE size)
      : dc_(CreateCompatibleDC(like)),
        bitmap_(CreateCompatibleBitmap(like, size.cx, size.cy)),
        size_(size),
        depth_(DepthOf(like)) {
    if (dc_ && bitmap_) replaced_ = SelectObject(dc_, bitmap_);
  }
  ~Copy() {
    if (replaced_) SelectObject(dc_, replaced_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  Copy(const Copy&) = delete;
  Copy& operator=(const Copy&) = delete;

  bool Fits(HDC dc, SIZE size) const { return size.cx == size_.cx && size.cy == size_.cy && DepthOf(dc) == depth_; }
  bool Take(HDC from) { return replaced_ && BitBlt(dc_, 0, 0, size_.cx, size_.cy, from, 0, 0, SRCCOPY); }
  bool Give(HDC to) const { return replaced_ && BitBlt(to, 0, 0, size_.cx, size_.cy, dc_, 0, 0, SRCCOPY); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ replaced_ = nullptr;  // dc_'s own bitmap, put back before it goes
  SIZE size_;
  int depth_;
};

DataSetPicture::DataSetPicture() = default;
DataSetPicture::~DataSetPicture() = default;

void DataSetPicture::Paint(HDC dc, SIZE size, const DataSetScene& scene) {
  // The background alone is left as it is.
  if (scene.empty || PaintedFromCopy(dc, size, scene)) return;
  PaintDataSetScene(dc, scene);
  Keep(dc, size, scene);
}

bool DataSetPicture::PaintedFromCopy(HDC dc, SIZE size, const DataSetScene& scene) const {
  return copy_ && copy_->Fits(dc, size) && scene == scene_ && copy_->Give(dc);
}

void DataSetPicture::Keep(HDC dc, SIZE size, const DataSetScene& scene) {
  if (size.cx <= 0 || size.cy <= 0) {
    copy_.reset();
    return;
  }
  if (!copy_ || !copy_->Fits(dc, size)) copy_ = std::make_unique<Copy>(dc, size);
  if (copy_->Take(dc)) {
    scene_ = scene;
  } else {
    copy_.reset();
  }
}
