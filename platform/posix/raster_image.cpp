#include "platform/posix/raster_image.h"

#include <cairo.h>

#include <cstring>
#include <span>

#include "platform/posix/cairo_device.h"
#include "platform/posix/safe_file.h"

namespace tamvel::posix {

namespace {

constexpr size_t kMaxPngBytes = size_t{256} << 20;

// Cairo's input stream over bytes in memory (`closure` is the span still to be read).
cairo_status_t ReadFromSpan(void *closure, unsigned char *data, unsigned int length) {
  auto &rest = *static_cast<std::span<const uint8_t> *>(closure);
  if (rest.size() < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, rest.data(), length);
  rest = rest.subspan(length);
  return CAIRO_STATUS_SUCCESS;
}

// The pixels as seen (0x00RRGGBB), or as stored when `stored` (alpha byte included).
bool FromSurface(cairo_surface_t *surface, RasterImage *image, bool stored = false) {
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
    return false;
  }
  cairo_surface_flush(surface);
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return false;
  image->width = cairo_image_surface_get_width(surface);
  image->height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char *data = cairo_image_surface_get_data(surface);
  image->pixels.resize(static_cast<size_t>(image->width) * image->height);
  for (int y = 0; y < image->height; ++y) {
    const auto *row = reinterpret_cast<const uint32_t *>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < image->width; ++x) {
      uint32_t p = row[x];
      if (stored) {
        image->pixels[static_cast<size_t>(y) * image->width + x] = p;
        continue;
      }
      if (format == CAIRO_FORMAT_ARGB32) {
        // Premultiplied alpha over white, as the image would be seen.
        const uint32_t a = p >> 24;
        auto channel = [&](int shift) { return ((p >> shift) & 0xFF) + (255 - a); };
        p = (channel(16) << 16) | (channel(8) << 8) | channel(0);
      }
      image->pixels[static_cast<size_t>(y) * image->width + x] = p & 0xFFFFFF;
    }
  }
  return true;
}

}  // namespace

bool CaptureImageDc(HDC dc, RasterImage *image, bool stored) {
  CairoDevice *device = CairoDevice::Of(dc);
  if (device == nullptr || device->kind() != CairoDevice::Surface::kImage) return false;
  return FromSurface(device->surface(), image, stored);
}

HDC CreateAlphaImageDc(int width, int height) {
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  HDC dc = CairoDevice::CreateImageDc(surface);  // null for a surface in error
  cairo_surface_destroy(surface);
  return dc;
}

bool ReadPng(const std::string &path, RasterImage *image) {
  std::vector<uint8_t> bytes;
  if (CheckedReader::ReadFile(path.c_str(), kMaxPngBytes, bytes) != CheckedReader::Status::kOk) {
    return false;
  }
  std::span<const uint8_t> rest(bytes);
  cairo_surface_t *surface = cairo_image_surface_create_from_png_stream(ReadFromSpan, &rest);
  const bool ok = FromSurface(surface, image);
  cairo_surface_destroy(surface);
  return ok;
}

bool WritePng(const std::string &path, const RasterImage &image) {
  cairo_surface_t *surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return false;
  }
  cairo_surface_flush(surface);
  unsigned char *data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(data + static_cast<size_t>(y) * stride,
                image.pixels.data() + static_cast<size_t>(y) * image.width,
                static_cast<size_t>(image.width) * 4);
  }
  cairo_surface_mark_dirty(surface);
  const bool ok = WritePngFile(surface, path);
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace tamvel::posix
