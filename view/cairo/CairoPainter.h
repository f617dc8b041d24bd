#pragma once
// Native builds only (cairo; never <windows.h>): the data set view as a
// picture file, stroked and printed from the same scene the program's GDI+
// painter draws, with the program's colours, pens and background, lines
// without anti-aliasing and the labels in Liberation Sans, Arial's metric twin.
#include <cstdint>
#include <ostream>

#include "view/GraphScene.h"

enum class PictureFormat { Png, Svg };

// Draws `scene` on a width x height picture and writes it to `out`.
//   true   every byte of the picture was handed to `out` without a stream error
//   false  cairo could not make the picture (a size it refuses, no memory) or
//          `out` failed; part of the picture may have been written
bool WriteDataSetPicture(const DataSetScene& scene, int32_t width, int32_t height, PictureFormat format,
                         std::ostream& out);
