// Text and bitmaps: EXTTEXTOUT through the text module with the recorded advances scaled,
// blits that paint with the brush, and bitmaps copied onto the page.
#include <algorithm>
#include <cmath>

#include "platform/emf/dib_pixels.h"
#include "platform/posix/code_page.h"
#include "platform/posix/playback/player.h"
#include "platform/posix/text.h"

namespace tamvel::posix::playback {

namespace {

constexpr uint32_t ETO_OPAQUE = 0x0002;
constexpr uint32_t ETO_CLIPPED = 0x0004;

}  // namespace

void Player::On(const emf::Record &, const emf::Text &text) {
  const std::u16string units = text.wide ? text.text : Cp932ToUtf16(text.bytes);
  const bool opaque = (text.options & ETO_OPAQUE) != 0;
  const bool clipped = (text.options & ETO_CLIPPED) != 0;
  const emf::Rect &r = text.rectangle;
  if (opaque || clipped) SaveDC(hdc_);
  if (opaque && r.right > r.left && r.bottom > r.top) {
    LOGBRUSH fill{BS_SOLID, GetBkColor(hdc_), 0};
    HBRUSH brush = CreateBrushIndirect(&fill);
    HGDIOBJ old = SelectObject(hdc_, brush);
    FillTargetFigures({ToTarget({{double(r.left), double(r.top)},
                                 {double(r.right), double(r.top)},
                                 {double(r.right), double(r.bottom)},
                                 {double(r.left), double(r.bottom)}})});
    if (old) SelectObject(hdc_, old);
    DeleteObject(brush);
  }
  if (clipped) {
    POINT a = ToTarget(r.left, r.top), b = ToTarget(r.right, r.bottom);
    IntersectClipRect(hdc_, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                      std::max(a.y, b.y));
  }
  if (!units.empty() && units.size() <= (size_t{1} << 20)) {
    // Recorded advances are logical units of the recording: scaled into the target's.
    std::vector<int32_t> dx;
    if (text.dx.size() == units.size()) {
      const double scale = std::sqrt(std::fabs(full_.Determinant()));
      for (int32_t d : text.dx) dx.push_back(RoundToLong(d * scale));
    }
    TextRun run = MeasureUtf16(dc_, units, dx.empty() ? nullptr : dx.data());
    POINT at = ToTarget(text.reference.x, text.reference.y);
    OutputTextRun(hdc_, at.x, at.y, std::move(run));
  }
  if (opaque || clipped) RestoreDC(hdc_, -1);
}

void Player::On(const emf::Record &record, const emf::Blit &v) {
  if (v.dib.header_size != 0) return PaintBitmap(record.type, v);
  // Blits without a bitmap paint the destination with the brush, black or white.
  if (record.type != emf::kBitBlt) return;
  constexpr uint32_t kPatCopy = 0x00F00021, kBlackness = 0x00000042, kWhiteness = 0x00FF0062;
  HBRUSH brush = nullptr;
  if (v.rop == kBlackness || v.rop == kWhiteness) {
    LOGBRUSH solid{BS_SOLID, v.rop == kBlackness ? RGB(0, 0, 0) : RGB(255, 255, 255), 0};
    brush = CreateBrushIndirect(&solid);
  } else if (v.rop != kPatCopy) {
    return;
  }
  HGDIOBJ old = brush ? SelectObject(hdc_, brush) : nullptr;
  const double l = v.dest.x, t = v.dest.y;
  const double r = l + double(v.dest_size.cx), b = t + double(v.dest_size.cy);
  FillTargetFigures({ToTarget({{l, t}, {r, t}, {r, b}, {l, b}})});
  if (old) SelectObject(hdc_, old);
  if (brush) DeleteObject(brush);
}

// Bitmaps that are copied onto the page (SRCCOPY): the source rectangle of the DIB, stretched
// over the destination. Raster operations that mix with what is below are left out.
void Player::PaintBitmap(uint32_t type, const emf::Blit &v) {
  constexpr uint32_t kSrcCopy = 0x00CC0020;
  emf::Pixels bitmap;
  if (v.rop != kSrcCopy || !emf::DibToPixels(v.dib, &bitmap)) return;
  const bool stretch = type == emf::kStretchDiBits;
  const int64_t width = stretch ? v.source_size.cx : v.dest_size.cx;
  const int64_t height = stretch ? v.source_size.cy : v.dest_size.cy;
  const int64_t left = v.source.x;
  // StretchDIBits counts the source from the bottom row of a bottom-up bitmap.
  const int64_t top =
      stretch && v.dib.height > 0 ? bitmap.height - (v.source.y + height) : v.source.y;
  if (width <= 0 || height <= 0 || left < 0 || top < 0 || left + width > bitmap.width ||
      top + height > bitmap.height) {
    return;
  }
  std::vector<uint32_t> part;
  part.reserve(static_cast<size_t>(width * height));
  for (int64_t y = top; y < top + height; ++y) {
    const auto row = bitmap.argb.begin() + static_cast<ptrdiff_t>(y * bitmap.width + left);
    part.insert(part.end(), row, row + static_cast<ptrdiff_t>(width));
  }
  const double x = v.dest.x, y = v.dest.y;
  const POINT corners[3] = {ToTarget(x, y), ToTarget(x + double(v.dest_size.cx), y),
                            ToTarget(x, y + double(v.dest_size.cy))};
  dc_.device().DrawImage(dc_, corners, {int(width), int(height), part});
}

}  // namespace tamvel::posix::playback
