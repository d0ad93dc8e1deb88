#include "viewer/pages.h"

#include <unistd.h>

#include <cmath>
#include <cstring>

#include "include/tamvel_linux.h"
#include "platform/posix/raster_image.h"

namespace tamvel::viewer {
namespace {

bool HasSuffix(const std::string &s, const char *suffix) {
  const size_t n = std::strlen(suffix);
  return s.size() >= n && g_ascii_strcasecmp(s.c_str() + s.size() - n, suffix) == 0;
}

// The pixels of an image DC as a texture (opaque).
GdkTexture *TextureOf(HDC image) {
  posix::RasterImage raster;
  if (!posix::CaptureImageDc(image, &raster)) return nullptr;
  for (uint32_t &pixel : raster.pixels) pixel |= 0xFF000000u;  // B, G, R, A in memory
  const size_t size = raster.pixels.size() * sizeof(uint32_t);
  GBytes *bytes = g_bytes_new(raster.pixels.data(), size);
  GdkTexture *texture = gdk_memory_texture_new(raster.width, raster.height, GDK_MEMORY_B8G8R8A8,
                                               bytes, static_cast<size_t>(raster.width) * 4);
  g_bytes_unref(bytes);
  return texture;
}

// A file's content, or null.
GBytes *ReadBytes(const std::string &path) {
  gchar *data = nullptr;
  gsize size = 0;
  if (!g_file_get_contents(path.c_str(), &data, &size, nullptr)) return nullptr;
  return g_bytes_new_take(data, size);
}

}  // namespace

Page::~Page() {
  if (metafile_) DeleteEnhMetaFile(metafile_);
}

bool Page::Load() {
  HENHMETAFILE metafile = GetEnhMetaFileA(path_.c_str());
  ENHMETAHEADER header{};
  if (metafile == nullptr || GetEnhMetaFileHeader(metafile, sizeof header, &header) == 0) {
    if (metafile) DeleteEnhMetaFile(metafile);
    return false;
  }
  const RECT &frame = header.rclFrame;
  const double width = (static_cast<double>(frame.right) - frame.left) / 100.0;
  const double height = (static_cast<double>(frame.bottom) - frame.top) / 100.0;
  if (!(width > 0 && height > 0 && width < 100000 && height < 100000)) {
    DeleteEnhMetaFile(metafile);
    return false;
  }
  if (metafile_) DeleteEnhMetaFile(metafile_);
  metafile_ = metafile;
  width_mm_ = width;
  height_mm_ = height;
  return true;
}

std::string Page::Name() const {
  gchar *name = g_path_get_basename(path_.c_str());
  std::string result = name;
  g_free(name);
  return result;
}

void Page::PixelSize(double dpi, int *width, int *height) const {
  *width = std::max(1, static_cast<int>(std::lround(width_mm_ / 25.4 * dpi)));
  *height = std::max(1, static_cast<int>(std::lround(height_mm_ / 25.4 * dpi)));
}

GdkTexture *Page::Render(double dpi) const {
  if (!metafile_) return nullptr;
  int width, height;
  PixelSize(dpi, &width, &height);
  HDC image = TamvelCreateImageDC(width, height);
  if (image == nullptr) return nullptr;
  RECT rect{0, 0, width, height};
  PlayEnhMetaFile(image, metafile_, &rect);
  GdkTexture *texture = TextureOf(image);
  TamvelDeleteDC(image);
  return texture;
}

bool Page::PlayOnPrinter(HDC printer, double dpi) const {
  int width, height;
  PixelSize(dpi, &width, &height);
  RECT rect{0, 0, width, height};
  return metafile_ && PlayEnhMetaFile(printer, metafile_, &rect) != FALSE;
}

bool Page::Export(const std::string &path) const {
  if (!metafile_) return false;
  int width, height;
  PixelSize(96, &width, &height);
  if (HasSuffix(path, ".pdf")) {
    HDC printer = TamvelCreatePrinterDC(path.c_str(), width_mm_, height_mm_, 600, 0, 0);
    const bool played = printer && PlayOnPrinter(printer, 600);
    return printer && TamvelDeleteDC(printer) == 0 && played;
  }
  if (HasSuffix(path, ".svg")) {
    HDC svg = TamvelCreateSvgDC(path.c_str(), width, height);
    RECT rect{0, 0, width, height};
    const bool played = svg && PlayEnhMetaFile(svg, metafile_, &rect) != FALSE;
    return svg && TamvelDeleteDC(svg) == 0 && played;
  }
  HDC image = TamvelCreateImageDC(width, height);
  RECT rect{0, 0, width, height};
  const bool played = image && PlayEnhMetaFile(image, metafile_, &rect) != FALSE;
  const bool saved = image && TamvelSaveImageDC(image, path.c_str()) == 0;
  if (image) TamvelDeleteDC(image);
  return played && saved;
}

std::vector<uint8_t> Page::Bytes() const {
  std::vector<uint8_t> bytes;
  if (!metafile_) return bytes;
  bytes.resize(GetEnhMetaFileBits(metafile_, 0, nullptr));
  GetEnhMetaFileBits(metafile_, static_cast<UINT>(bytes.size()), bytes.data());
  return bytes;
}

bool ClipboardForms(const std::vector<uint8_t> &emf, GBytes **png, GBytes **svg) {
  *png = *svg = nullptr;
  gchar *folder = g_dir_make_tmp("tamvel-clip-XXXXXX", nullptr);
  if (folder == nullptr) return false;
  const std::string base = folder;
  g_free(folder);
  const std::string emf_path = base + "/page.emf", png_path = base + "/page.png",
                    svg_path = base + "/page.svg";
  Page page(emf_path);
  if (g_file_set_contents(emf_path.c_str(), reinterpret_cast<const gchar *>(emf.data()),
                          static_cast<gssize>(emf.size()), nullptr) &&
      page.Load() && page.Export(png_path) && page.Export(svg_path)) {
    *png = ReadBytes(png_path);
    *svg = ReadBytes(svg_path);
  }
  for (const std::string &path : {emf_path, png_path, svg_path}) unlink(path.c_str());
  rmdir(base.c_str());
  return *png && *svg;
}

}  // namespace tamvel::viewer
