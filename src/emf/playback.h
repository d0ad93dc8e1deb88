// Operations shared by the playback and editing calls: reading a metafile's frame and a
// printer's paper metrics.
#pragma once

#include <cstdint>

#include "platform/saturating.h"
#include "platform/win32.h"

namespace tamvel {

// Reads the picture frame (rclFrame, 0.01 mm) of a metafile: 0 read, 1 no metafile handle,
// 2 header unreadable.
int GetEmfFrame(HENHMETAFILE metafile, RECT *frame);

// Paper size and physical offsets of a printer, in device pixels and in 0.01 mm.
struct PrinterMetrics {
  int width_px = 0;     // PW
  int height_px = 0;    // PH
  int offset_x_px = 0;  // OX
  int offset_y_px = 0;  // OY
  int width = 0;        // PWm
  int height = 0;       // PHm
  int offset_x = 0;     // OXm
  int offset_y = 0;     // OYm
};
void GetPrinterMetrics(HDC printer, PrinterMetrics *metrics);

// The rectangle PasteEmf1 (`is_paste1`) or PasteEmf2 plays a frame of w x h (0.01 mm) into,
// for a client area of client_width x client_height pixels showing a sheet of
// sheet_width x sheet_height with the frame's lower-left corner at (x, y).
RECT SheetRect(int client_width, int client_height, int64_t w, int64_t h, int32_t sheet_width,
               int32_t sheet_height, int32_t x, int32_t y, bool is_paste1, int32_t widen);

// The four print layouts: true size on the printable area (PrintEmf) or on the paper
// (PrintEmf0), fitted to the printable area (PrintEmfF), a window of the drawing fitted to
// it (PrintEmfF1).
enum class PrintLayout { kTrueSize, kTrueSizeOnPaper, kFitted, kFittedWindow };

// The window of the drawing PrintEmfF1 prints (0.01 mm, from the frame's lower-left corner).
struct PrintWindow {
  int32_t width = 0;
  int32_t height = 0;
  int32_t x = 0;
  int32_t y = 0;
};

// Where a print call plays a frame of w x h and, for PrintEmfF1, the clip rectangle (printer
// pixels). `placed` is false when the layout cannot be computed (no printable size).
struct PrintPlacement {
  RECT target{};
  RECT clip{};
  bool placed = false;
};
PrintPlacement PlaceOnPrinter(PrintLayout layout, const PrinterMetrics &metrics, int64_t w,
                              int64_t h, const PrintWindow &window);

}  // namespace tamvel
