// Operations shared by the playback and editing calls: reading a metafile's frame and a
// printer's paper metrics.
#pragma once

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

// Converts a double to int32, truncating toward zero and saturating at the int32 range
// (NaN gives 0), so that hostile frames never overflow a conversion.
int TruncateToInt(double value);

}  // namespace tamvel
