// EMF page operations that put text on the recording DC: a string at a page-unit point with
// the current position moved past it, the same with an ellipse around the text, and the extent
// of a string in the page font.
#include <cmath>
#include <cstring>

#include "src/pages/emf_page.h"
#include "src/plot/coordinates.h"

namespace tamvel {
namespace {

constexpr double kPi = 3.14159265358979;

// trunc(v + 0.5), as the alignment corrections round.
int RoundUp(double value) { return TruncToInt32(value + 0.5); }

double FontAngleRadians(const LOGFONTA &font) {
  return (-static_cast<double>(font.lfEscapement) / 10.0) * kPi / 180.0;
}

bool IsCentred(UINT flags) { return (flags & TA_CENTER) == TA_CENTER; }
bool IsRightAligned(UINT flags) { return (flags & TA_RIGHT) == TA_RIGHT; }

}  // namespace

void EmfPage::OutputText(int x, int y, const char *text) {
  if (recording_dc_ == nullptr || text == nullptr) return;
  HDC dc = recording_dc_;
  const int extra = GetTextCharacterExtra(dc);
  const double angle = FontAngleRadians(font_);
  const double cos_a = std::cos(angle);
  const double sin_a = std::sin(angle);
  const UINT flags = GetTextAlign(dc);
  // GDI adds the character extra after the last character too; right-aligned and centred
  // text is moved along its baseline by that much (half of it) so that the visible text
  // ends (is centred) at the point.
  int dx = 0;
  int dy = 0;
  if (IsCentred(flags)) {
    dx = RoundUp(cos_a * (extra * 0.5));
    dy = RoundUp(sin_a * (extra * 0.5));
  } else if (IsRightAligned(flags)) {
    dx = RoundUp(cos_a * extra);
    dy = RoundUp(sin_a * extra);
  }
  const int length = static_cast<int>(std::strlen(text));
  const int start_x = SaturatingAdd(x, dx);
  const int start_y = SaturatingAdd(y, dy);
  MoveToEx(dc, start_x, start_y, nullptr);
  TextOutA(dc, start_x, start_y, text, length);
  if (IsCentred(flags)) {
    SIZE extent{};
    GetTextExtentPoint32A(dc, text, length, &extent);
    const double width = static_cast<double>(extent.cx) + extra;
    MoveToEx(dc, SaturatingAdd(x, RoundUp(cos_a * (width * 0.5))),
             SaturatingAdd(y, RoundUp(sin_a * (width * 0.5))), nullptr);
  } else if (IsRightAligned(flags)) {
    MoveToEx(dc, start_x, start_y, nullptr);
  }
  POINT position{};
  if (GetCurrentPositionEx(dc, &position)) {
    MoveToEx(dc, SaturatingAdd(position.x, RoundUp(cos_a * extra)),
             SaturatingAdd(position.y, RoundUp(sin_a * extra)), nullptr);
  }
}

void EmfPage::DrawEnclosedText(int x, int y, const char *text) {
  if (recording_dc_ == nullptr || text == nullptr || text[0] == '\0') return;
  HDC dc = recording_dc_;
  const double angle = FontAngleRadians(font_);
  const double cos_a = std::cos(angle);
  const double sin_a = std::sin(angle);
  OutputText(x, y, text);

  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SIZE extent{};
  GetTextExtentPointA(dc, text, static_cast<int>(std::strlen(text)), &extent);
  const double cell = metrics.tmHeight;
  // Centre of the text relative to the reference point, from the text-align flags.
  const UINT flags = GetTextAlign(dc);
  double v = cell * 0.5;
  if ((flags & TA_BASELINE) == TA_BASELINE) {
    v = cell * 0.5 - metrics.tmAscent;
  } else if ((flags & TA_BOTTOM) != TA_BOTTOM) {
    v = -cell * 0.5;
  }
  double h = extent.cx * 0.5;
  if (IsCentred(flags)) {
    h = 0.0;
  } else if (IsRightAligned(flags)) {
    h = -extent.cx * 0.5;
  }
  const int x0 = SaturatingAdd(x, TruncToInt32(cos_a * h - sin_a * v));
  const int y0 = SaturatingAdd(y, TruncToInt32(sin_a * h + cos_a * v));

  // The ellipse keeps the proportions of the text box with its larger semi-axis on the box's
  // half diagonal, turned with the text; its bounding box is that of the turned corners.
  double p = extent.cx * 0.5;
  double q = extent.cy * 0.5;
  if (p * q <= 0.0) return;
  const double r = std::sqrt(p * p + q * q);
  if (q < p) {
    q = r * q / p;
    p = r;
  } else {
    p = r * p / q;
    q = r;
  }
  const double corners[4][2] = {{p, -q}, {p, q}, {-p, q}, {-p, -q}};
  double reach_x = -1.0e300;
  double reach_y = -1.0e300;
  for (const auto &corner : corners) {
    reach_x = std::fmax(reach_x, cos_a * corner[0] - sin_a * corner[1]);
    reach_y = std::fmax(reach_y, sin_a * corner[0] + cos_a * corner[1]);
  }
  const int half_x = TruncToInt32(reach_x);
  const int half_y = TruncToInt32(reach_y);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, SaturatingSubtract(x0, half_x), SaturatingAdd(y0, half_y), SaturatingAdd(x0, half_x),
          SaturatingSubtract(y0, half_y));
  SelectObject(dc, brush_handle_);
}

bool EmfPage::TextExtent(const char *text, int count, SIZE *extent) const {
  if (recording_dc_ == nullptr || text == nullptr || extent == nullptr) return false;
  return GetTextExtentPoint32A(recording_dc_, text, count < 0 ? 0 : count, extent) != FALSE;
}

}  // namespace tamvel
