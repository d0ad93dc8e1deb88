// Playback calls: the current page's finished metafile played into a window, a rectangle, a
// sheet shown in a window, onto a printer (true size or fitted), or put on the clipboard.
//
// Every call that changes a mapping mode of the caller's DC does it between SaveDC and
// RestoreDC, so the DC is left as it was found. A call that stops at one of its checks
// draws nothing and does not touch the DC.
#include "src/emf/playback.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "include/tamvel.h"
#include "src/pages/page_table.h"

namespace tamvel {

namespace {

HENHMETAFILE CurrentMetafile() { return CurrentPage().FinishedMetafile(); }

// Outward rounding of the sheet placement: left and top edges towards minus infinity,
// right and bottom edges towards plus infinity (within 0.00001 of a pixel).
int RoundLowEdge(double v) { return v >= 0.0 ? TruncToInt32(v) : TruncToInt32(v - 0.99999); }
int RoundHighEdge(double v) { return v >= 0.0 ? TruncToInt32(v + 0.99999) : TruncToInt32(v); }

// int32 products and quotients of the print layouts, computed wide and saturated so that a
// loaded file with an absurd frame cannot overflow them.
int ScaleDiv(int64_t a, int64_t b, int64_t divisor) {
  if (divisor == 0) return 0;
  return TruncToInt32(static_cast<double>(a * b / divisor));
}

// The frame of the current page's metafile with its width and height, for the calls that
// check "frame width or height below 1".
struct FrameSize {
  RECT frame{};
  int64_t w = 0;
  int64_t h = 0;
  bool usable = false;
};
FrameSize ReadFrameSize(HENHMETAFILE metafile) {
  FrameSize size;
  if (GetEmfFrame(metafile, &size.frame) != 0) return size;
  size.w = static_cast<int64_t>(size.frame.right) - size.frame.left;
  size.h = static_cast<int64_t>(size.frame.bottom) - size.frame.top;
  size.usable = size.w >= 1 && size.h >= 1;
  return size;
}

// The sheet placement shared by PasteEmf1 and PasteEmf2. PasteEmf1 adds 3 pixels to the
// client area and lifts the rectangle by 3; PasteEmf2 instead widens it by `widen` steps of
// 4 pixels up and to the right (minus 1 and 2 pixels at widen 0).
int32_t PasteOnSheet(HDC dc, HWND window, int32_t sheet_width, int32_t sheet_height, int32_t x,
                     int32_t y, bool is_paste1, int32_t widen) {
  if (dc == nullptr) return 1;
  if (window == nullptr) return 2;
  HENHMETAFILE metafile = CurrentMetafile();
  if (metafile == nullptr) return 3;
  FrameSize frame = ReadFrameSize(metafile);
  if (!frame.usable) return 4;
  if (sheet_width < 1 || sheet_height < 1) return 5;

  SaveDC(dc);
  SetMapMode(dc, MM_TEXT);
  RECT client{};
  GetClientRect(window, &client);
  RECT target = SheetRect(client.right, client.bottom, frame.w, frame.h, sheet_width, sheet_height,
                          x, y, is_paste1, widen);
  BOOL played = PlayEnhMetaFile(dc, metafile, &target);
  RestoreDC(dc, -1);
  return played ? 0 : 6;
}

int32_t PrintPage(HDC printer, PrintLayout layout, const PrintWindow &window) {
  if (printer == nullptr) return 1;
  HENHMETAFILE metafile = CurrentMetafile();
  if (metafile == nullptr) return 2;
  FrameSize frame = ReadFrameSize(metafile);
  if (!frame.usable) return 3;
  // A window of the drawing narrower or lower than one unit cannot be scaled: treated as a
  // frame below 1.
  if (layout == PrintLayout::kFittedWindow && (window.width < 1 || window.height < 1)) return 3;

  PrinterMetrics metrics;
  GetPrinterMetrics(printer, &metrics);
  PrintPlacement placement = PlaceOnPrinter(layout, metrics, frame.w, frame.h, window);
  if (!placement.placed) return 4;
  const RECT &target = placement.target;
  const RECT &clip = placement.clip;

  SaveDC(printer);
  SetMapMode(printer, MM_TEXT);
  SetWindowOrgEx(printer, 0, 0, nullptr);
  SetViewportOrgEx(printer, 0, 0, nullptr);
  BOOL played;
  if (layout == PrintLayout::kFittedWindow) {
    HRGN region = CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
    SelectClipRgn(printer, region);
    played = PlayEnhMetaFile(printer, metafile, &target);
    SelectClipRgn(printer, nullptr);
    if (region != nullptr) DeleteObject(region);
  } else {
    played = PlayEnhMetaFile(printer, metafile, &target);
  }
  RestoreDC(printer, -1);
  return played ? 0 : 4;
}

}  // namespace

PrintPlacement PlaceOnPrinter(PrintLayout layout, const PrinterMetrics &m, int64_t w, int64_t h,
                              const PrintWindow &window) {
  const bool on_paper = layout == PrintLayout::kTrueSizeOnPaper;
  const int64_t a = on_paper ? m.width_px - 1 : m.width_px - (2 * int64_t{m.offset_x_px} + 1);
  const int64_t b = on_paper ? m.height_px - 1 : m.height_px - (2 * int64_t{m.offset_y_px} + 1);
  const int64_t am = on_paper ? m.width - 1 : m.width - (2 * int64_t{m.offset_x} + 1);
  const int64_t bm = on_paper ? m.height - 1 : m.height - (2 * int64_t{m.offset_y} + 1);

  PrintPlacement placement;
  RECT &target = placement.target;
  RECT &clip = placement.clip;
  target = {0, 0, TruncToInt32(static_cast<double>(a)), TruncToInt32(static_cast<double>(b))};
  clip = target;
  switch (layout) {
    case PrintLayout::kTrueSize:
    case PrintLayout::kTrueSizeOnPaper:
      // A printer that reports no printable size in 0.01 mm cannot place a true-size drawing.
      if (am == 0 || bm == 0) return placement;
      target.top = TruncToInt32(static_cast<double>(b) * (1.0 - static_cast<double>(h) / bm));
      target.right = ScaleDiv(a, w, am);
      if (on_paper) {
        target.left -= m.offset_x_px;
        target.right -= m.offset_x_px;
        target.top -= m.offset_y_px;
        target.bottom -= m.offset_y_px;
      }
      break;
    case PrintLayout::kFitted:
      if (w * b >= h * a) {
        target.top = TruncToInt32(static_cast<double>(b - a * h / w));
      } else {
        target.right = ScaleDiv(b, w, h);
      }
      break;
    case PrintLayout::kFittedWindow: {
      const int64_t ww = window.width, wh = window.height, x = window.x, y = window.y;
      if (ww * b >= wh * a) {
        target.left = ScaleDiv(-x, a, ww);
        target.top = TruncToInt32(static_cast<double>(b - (h - y) * a / ww));
        target.right = TruncToInt32(static_cast<double>(a + (w - ww - x) * a / ww));
        target.bottom = TruncToInt32(static_cast<double>(b + y * a / ww));
        clip.top = TruncToInt32(static_cast<double>(b - wh * a / ww));
      } else {
        clip.right = ScaleDiv(ww, b, wh);
        target.left = ScaleDiv(-x, b, wh);
        target.top = ScaleDiv(wh + y - h, b, wh);
        target.right = TruncToInt32(static_cast<double>(clip.right + (w - ww - x) * b / wh));
        target.bottom = TruncToInt32(static_cast<double>(b + y * b / wh));
      }
      break;
    }
  }

  placement.placed = true;
  return placement;
}

RECT SheetRect(int client_width, int client_height, int64_t w64, int64_t h64, int32_t sheet_width,
               int32_t sheet_height, int32_t x, int32_t y, bool is_paste1, int32_t widen) {
  double cx = client_width;
  double cy = client_height;
  if (is_paste1) {
    cx += 3;
    cy += 3;
  }
  const double sx = cx / sheet_width;
  const double sy = cy / sheet_height;
  const double w = static_cast<double>(w64);
  const double h = static_cast<double>(h64);
  RECT target;
  target.left = RoundLowEdge(x * sx);
  target.top = RoundLowEdge((sheet_height - (h + y)) * sy);
  target.right = RoundHighEdge((x + w) * sx);
  target.bottom = RoundHighEdge((sheet_height - static_cast<double>(y)) * sy);
  if (is_paste1) {
    target.top = SaturatingSubtract(target.top, 3);
    target.bottom = SaturatingSubtract(target.bottom, 3);
  } else {
    const int64_t grow = 4 * static_cast<int64_t>(widen);
    target.top = SaturateToInt32(target.top - (grow - 1));
    target.right = SaturateToInt32(target.right + grow - 2);
  }
  return target;
}

int GetEmfFrame(HENHMETAFILE metafile, RECT *frame) {
  if (metafile == nullptr) return 1;
  // The 100-byte form of the header is enough for the frame and accepted for every header
  // that Windows or another writer produces.
  alignas(ENHMETAHEADER) unsigned char storage[sizeof(ENHMETAHEADER)] = {};
  auto *header = reinterpret_cast<ENHMETAHEADER *>(storage);
  if (GetEnhMetaFileHeader(metafile, 100, header) == 0) return 2;
  const RECTL &f = header->rclFrame;  // RECTL and RECT are distinct types on Windows
  *frame = RECT{f.left, f.top, f.right, f.bottom};
  return 0;
}

void GetPrinterMetrics(HDC printer, PrinterMetrics *m) {
  m->width_px = GetDeviceCaps(printer, PHYSICALWIDTH);
  m->height_px = GetDeviceCaps(printer, PHYSICALHEIGHT);
  m->offset_x_px = GetDeviceCaps(printer, PHYSICALOFFSETX);
  m->offset_y_px = GetDeviceCaps(printer, PHYSICALOFFSETY);
  POINT points[3] = {{0, 0}, {m->offset_x_px, m->offset_y_px}, {m->width_px, m->height_px}};
  SaveDC(printer);
  SetMapMode(printer, MM_TWIPS);
  DPtoLP(printer, points, 3);
  RestoreDC(printer, -1);
  // Twips to 0.01 mm, rounded.
  auto to_hundredths = [&](LONG value, LONG origin) {
    return TruncToInt32(std::fabs(static_cast<double>(value) - origin) * 1.763889 + 0.5);
  };
  m->offset_x = to_hundredths(points[1].x, points[0].x);
  m->offset_y = to_hundredths(points[1].y, points[0].y);
  m->width = to_hundredths(points[2].x, points[0].x);
  m->height = to_hundredths(points[2].y, points[0].y);
}

}  // namespace tamvel

using tamvel::CurrentMetafile;
using tamvel::CurrentPage;
using tamvel::LibraryAttached;

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL GetEmfSize(int32_t *width, int32_t *height) {
  if (!LibraryAttached()) return 1;
  RECT frame;
  // A header that cannot be read gives no size either: the same answer as no metafile.
  if (tamvel::GetEmfFrame(CurrentMetafile(), &frame) != 0) return 1;
  if (width != nullptr)
    *width = tamvel::TruncToInt32(static_cast<double>(frame.right) - frame.left);
  if (height != nullptr)
    *height = tamvel::TruncToInt32(static_cast<double>(frame.bottom) - frame.top);
  return 0;
}

TAMVEL_API int32_t TAMVEL_CALL GetPixelSize(int32_t *width, int32_t *height) {
  if (width != nullptr) *width = 0;
  if (height != nullptr) *height = 0;
  if (!LibraryAttached()) return -1;
  HDC dc = CurrentPage().RecordingDc();
  if (dc == nullptr) return -1;
  // The recording DC's reference device is the screen: one screen pixel in HIMETRIC.
  POINT points[2] = {{0, 0}, {1, 1}};
  SaveDC(dc);
  SetMapMode(dc, MM_HIMETRIC);
  BOOL converted = DPtoLP(dc, points, 2);
  RestoreDC(dc, -1);
  if (!converted) return -1;
  if (width != nullptr) *width = std::abs(points[1].x - points[0].x);
  if (height != nullptr) *height = std::abs(points[1].y - points[0].y);
  return 0;
}

TAMVEL_API int32_t TAMVEL_CALL PasteEmf(TAMVEL_HDC dc, TAMVEL_HWND window) {
  if (!LibraryAttached()) return 3;
  if (dc == nullptr) return 1;
  if (window == nullptr) return 2;
  HENHMETAFILE metafile = CurrentMetafile();
  if (metafile == nullptr) return 3;
  RECT client{};
  GetClientRect(window, &client);
  return PlayEnhMetaFile(dc, metafile, &client) ? 0 : 4;
}

TAMVEL_API int32_t TAMVEL_CALL PasteEmf0(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t left,
                                         int32_t top, int32_t right, int32_t bottom) {
  if (!LibraryAttached()) return 3;
  if (dc == nullptr) return 1;
  if (window == nullptr) return 2;
  HENHMETAFILE metafile = CurrentMetafile();
  if (metafile == nullptr) return 3;
  RECT target{left, top, right, bottom};
  return PlayEnhMetaFile(dc, metafile, &target) ? 0 : 4;
}

TAMVEL_API int32_t TAMVEL_CALL PasteEmf1(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t sheet_width,
                                         int32_t sheet_height, int32_t x, int32_t y) {
  if (!LibraryAttached()) return 3;
  return tamvel::PasteOnSheet(dc, window, sheet_width, sheet_height, x, y, true, 0);
}

TAMVEL_API int32_t TAMVEL_CALL PasteEmf2(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t sheet_width,
                                         int32_t sheet_height, int32_t x, int32_t y,
                                         int32_t widen) {
  if (!LibraryAttached()) return 3;
  return tamvel::PasteOnSheet(dc, window, sheet_width, sheet_height, x, y, false, widen);
}

TAMVEL_API int32_t TAMVEL_CALL PrintEmf(TAMVEL_HDC printer) {
  if (!LibraryAttached()) return 2;
  return tamvel::PrintPage(printer, tamvel::PrintLayout::kTrueSize, {});
}

TAMVEL_API int32_t TAMVEL_CALL PrintEmf0(TAMVEL_HDC printer) {
  if (!LibraryAttached()) return 2;
  return tamvel::PrintPage(printer, tamvel::PrintLayout::kTrueSizeOnPaper, {});
}

TAMVEL_API int32_t TAMVEL_CALL PrintEmfF(TAMVEL_HDC printer) {
  if (!LibraryAttached()) return 2;
  return tamvel::PrintPage(printer, tamvel::PrintLayout::kFitted, {});
}

TAMVEL_API int32_t TAMVEL_CALL PrintEmfF1(TAMVEL_HDC printer, int32_t window_width,
                                          int32_t window_height, int32_t x, int32_t y) {
  if (!LibraryAttached()) return 2;
  return tamvel::PrintPage(printer, tamvel::PrintLayout::kFittedWindow,
                           {window_width, window_height, x, y});
}

TAMVEL_API int32_t TAMVEL_CALL PasteClipboard(void) {
  if (!LibraryAttached()) return 1;
  HENHMETAFILE metafile = CurrentMetafile();
  if (metafile == nullptr) return 1;
  HENHMETAFILE copy = CopyEnhMetaFileA(metafile, nullptr);
  if (copy == nullptr) return 2;
  if (!OpenClipboard(nullptr)) {
    DeleteEnhMetaFile(copy);
    return 3;
  }
  int32_t result = 0;
  if (!EmptyClipboard()) result = 4;
  if (SetClipboardData(CF_ENHMETAFILE, copy) == nullptr) {
    DeleteEnhMetaFile(copy);
    result += 10;
  }
  if (!CloseClipboard()) result += 100;
  return result;
}

}  // extern "C"
