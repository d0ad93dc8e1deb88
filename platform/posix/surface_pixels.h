// One-pixel lines written straight into a raster surface's memory: a page of a million short
// lines is a million small runs of pixels, which cairo would fill one painting step (saved
// state, clip, path, fill) at a time. Only for opaque colours on 32-bit image surfaces in
// surface pixels: RGB24 and ARGB32 hold the same word for an opaque colour, and painting it
// replaces the pixel whatever was there, as cairo's painting would.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/posix/thin_lines.h"
#include "platform/posix/win32_api.h"

namespace tamvel::posix {

class SurfacePixels {
 public:
  // The surface stays its owner's; null (or any surface that cannot be written) gives a
  // painter that is not writable.
  explicit SurfacePixels(cairo_surface_t *surface = nullptr);
  bool writable() const { return data_ != nullptr; }
  // Paints the runs of one kind (ink or gaps) in `argb` (alpha 0xFF), inside the clip (device
  // rectangles in the banded order of a DC's clip; no value: no clip) and the surface.
  void Paint(std::span<const PixelRun> runs, bool ink, uint32_t argb,
             const std::optional<std::vector<RECT>> &clip);
  // Tells cairo what was written since the last call: before cairo paints the surface again
  // or anyone reads it.
  void Publish();

 private:
  void Fill(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t argb);

  cairo_surface_t *surface_ = nullptr;
  unsigned char *data_ = nullptr;
  int width_ = 0, height_ = 0, stride_ = 0;
  bool written_ = false;  // since the last Publish
};

}  // namespace tamvel::posix
