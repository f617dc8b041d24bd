#pragma once
// Owners of cairo's objects, and the writer that hands cairo's output to a
// stream. Native builds only.
#include <cairo.h>

#include <memory>
#include <ostream>

struct CairoSurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoContextDeleter {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;
using CairoContext = std::unique_ptr<cairo_t, CairoContextDeleter>;

// A cairo_write_func_t for a std::ostream passed as its closure: a stream
// error stops cairo with a write error.
inline cairo_status_t WriteToStream(void* closure, const unsigned char* data, unsigned int length) {
  std::ostream& out = *static_cast<std::ostream*>(closure);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
  return out ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}
