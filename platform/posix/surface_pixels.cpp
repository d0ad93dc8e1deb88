#include "platform/posix/surface_pixels.h"

#include <algorithm>

namespace tamvel::posix {

SurfacePixels::SurfacePixels(cairo_surface_t *surface) : surface_(surface) {
  if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
    return;
  }
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return;
  // Device pixels are surface pixels only without an offset or scale of the surface's own.
  double x_offset, y_offset, x_scale, y_scale;
  cairo_surface_get_device_offset(surface, &x_offset, &y_offset);
  cairo_surface_get_device_scale(surface, &x_scale, &y_scale);
  if (x_offset != 0 || y_offset != 0 || x_scale != 1 || y_scale != 1) return;
  width_ = cairo_image_surface_get_width(surface);
  height_ = cairo_image_surface_get_height(surface);
  stride_ = cairo_image_surface_get_stride(surface);
  data_ = cairo_image_surface_get_data(surface);
}

void SurfacePixels::Paint(std::span<const PixelRun> runs, bool ink, uint32_t argb,
                          const std::optional<std::vector<RECT>> &clip) {
  if (!data_) return;
  if (!written_) cairo_surface_flush(surface_);  // what cairo painted is in memory first
  written_ = true;
  for (const PixelRun &run : runs) {
    if (run.ink != ink) continue;
    const int64_t left = run.x, top = run.y;
    const int64_t right = left + run.width, bottom = top + run.height;
    if (!clip) {
      Fill(left, top, right, bottom, argb);
      continue;
    }
    // The clip's bands run top to bottom: skip those above the run, stop below it.
    auto band = std::partition_point(clip->begin(), clip->end(),
                                     [&](const RECT &r) { return r.bottom <= top; });
    for (; band != clip->end() && band->top < bottom; ++band) {
      Fill(std::max<int64_t>(left, band->left), std::max<int64_t>(top, band->top),
           std::min<int64_t>(right, band->right), std::min<int64_t>(bottom, band->bottom), argb);
    }
  }
}

void SurfacePixels::Fill(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t argb) {
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, width_);
  bottom = std::min<int64_t>(bottom, height_);
  for (int64_t y = top; y < bottom; ++y) {
    auto *row = reinterpret_cast<uint32_t *>(data_ + y * stride_);
    if (left < right) std::fill(row + left, row + right, argb);
  }
}

void SurfacePixels::Publish() {
  if (!written_) return;
  written_ = false;
  cairo_surface_mark_dirty(surface_);
}

}  // namespace tamvel::posix
