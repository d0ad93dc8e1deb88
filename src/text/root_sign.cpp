// ROOTK2 and ROOTK2F: a text under a square-root sign, the sign drawn from the page font's
// metrics at the moment of drawing.
#include "src/text/root_sign.h"

#include <cmath>
#include <cstring>

#include "include/tamvel.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"
#include "src/text/fortran_string.h"
#include "src/text/text_drawing.h"
#include "src/text/text_state.h"

namespace tamvel {
namespace {

constexpr double kPi = 3.14159265358979;

POINT Turned(int32_t px, int32_t py, float angle, int x, int y) {
  RotatePoint(&px, &py, angle);
  return POINT{SaturatingAdd(px, x), SaturatingAdd(py, y)};
}

// ROOTK2 after its count: size the font, choose the direction, draw, restore the angle.
void DrawRootSignRun(float x, float y, float height, const char *text, float angle, int32_t n,
                     int32_t count, int32_t align) {
  if (std::isnan(height)) return;  // no size follows from NaN
  SetTextCallMode(kKanjiHorizontalText);
  float saved_angle = 0.0f;
  GETDEG(&saved_angle);
  FitFontToHeight(height);
  int32_t code = 0;
  int32_t vertical = 0;
  GETFON(&code, &vertical);
  angle = TextAngle(angle);
  if (n > 0) {
    SETDEG(angle);
    SETFON(code, 0);
  } else {
    SETDEG(angle - 90.0f);
    SETFON(code, 1);
  }
  if (count > 0) {
    TextBuffer buffer;
    CopyToTextBuffer(text, count, &buffer);
    int px = 0;
    int py = 0;
    TextPagePoint(x, y, &px, &py);
    SetHorizontalAlign(align);
    CurrentPage().DrawRootSignText(px, py, buffer.bytes);
  }
  SetHorizontalAlign(0);
  SETDEG(saved_angle);
  SetTextCallMode(kNoTextCall);
}

}  // namespace

void RotatePoint(int32_t *px, int32_t *py, float angle) {
  if (px == nullptr || py == nullptr) return;
  const float fx = static_cast<float>(*px);
  const float fy = static_cast<float>(*py);
  const double phi = angle * kPi / 180.0;
  *px = TruncToInt32(std::cos(phi) * fx - std::sin(phi) * fy);
  *py = TruncToInt32(std::sin(phi) * fx + std::cos(phi) * fy);
}

RootSignShape RootSignOutline(const RootSignMetrics &m, UINT align_flags, float angle, int x,
                              int y) {
  const int bw = m.blank_width;
  const int w = m.text_width;
  // The stroke's slant: two thirds of a blank, scaled by descent over ascent.
  const int t = m.ascent > 0 ? TruncToInt32(2.0 * bw * m.descent / m.ascent / 3.0) : 0;
  const int below = SaturatingSubtract(0, m.height);  // the bottom of the cell
  int vy = below;                                     // TA_BOTTOM
  if ((align_flags & TA_BASELINE) == TA_BASELINE) {
    vy = SaturatingSubtract(0, m.ascent);
  } else if ((align_flags & TA_BOTTOM) != TA_BOTTOM) {
    vy = 0;
  }
  int hx = 0;
  if ((align_flags & TA_CENTER) == TA_CENTER) {
    hx = w / 2;
  } else if ((align_flags & TA_RIGHT) == TA_RIGHT) {
    hx = w;
  }
  // Relative to the top-left corner of the text cell, y upwards.
  const int32_t outline[4][2] = {{0, HalfExtent(m.height, m.descent)},
                                 {SaturatingSubtract(bw / 3, t), below},
                                 {SaturatingAdd(bw, t), m.descent},
                                 {w, m.descent}};
  const int32_t background[4][2] = {{0, m.descent}, {w, m.descent}, {w, below}, {0, below}};
  RootSignShape shape{};
  for (int i = 0; i < 4; ++i) {
    shape.outline[i] = Turned(SaturatingSubtract(outline[i][0], hx),
                              SaturatingSubtract(outline[i][1], vy), angle, x, y);
    shape.background[i] = Turned(SaturatingSubtract(background[i][0], hx),
                                 SaturatingSubtract(background[i][1], vy), angle, x, y);
  }
  return shape;
}

void EmfPage::DrawRootSignText(int x, int y, const char *text) {
  const float angle = static_cast<float>(-static_cast<double>(font_.lfEscapement) / 10.0);
  if (recording_dc_ == nullptr || text == nullptr) return;
  HDC dc = recording_dc_;
  // A blank ahead of the text makes room for the sign.
  char signed_text[kTextBufferBytes + 1] = {' '};
  const size_t length = strnlen(text, kTextBufferBytes - 1);
  std::memcpy(signed_text + 1, text, length);
  const int signed_length = static_cast<int>(length) + 1;

  TEXTMETRICA font_metrics{};
  GetTextMetricsA(dc, &font_metrics);
  SIZE blank{};
  GetTextExtentPointA(dc, " ", 1, &blank);
  SIZE whole{};
  GetTextExtentPointA(dc, signed_text, signed_length, &whole);
  RootSignMetrics metrics;
  metrics.height = font_metrics.tmHeight;
  metrics.ascent = font_metrics.tmAscent;
  metrics.descent = font_metrics.tmDescent;
  metrics.blank_width = blank.cx;
  metrics.text_width = whole.cx;
  const RootSignShape shape = RootSignOutline(metrics, GetTextAlign(dc), angle, x, y);

  if (GetBkMode(dc) == OPAQUE) {
    const COLORREF background = GetBkColor(dc);
    const LOGPEN pen_description{PS_SOLID, {0, 0}, background};
    const LOGBRUSH brush_description{BS_SOLID, background, 0};
    HPEN pen = CreatePenIndirect(&pen_description);
    HBRUSH brush = CreateBrushIndirect(&brush_description);
    SelectObject(dc, pen);
    SelectObject(dc, brush);
    Polygon(dc, shape.background, 4);
    SelectObject(dc, pen_handle_);
    SelectObject(dc, brush_handle_);
    DeleteObject(pen);
    DeleteObject(brush);
  }
  OutputText(x, y, signed_text);

  const LOGPEN sign_description{PS_SOLID, {pen_.lopnWidth.x, 0}, GetTextColor(dc)};
  HPEN sign_pen = CreatePenIndirect(&sign_description);
  SelectObject(dc, sign_pen);
  Polyline(dc, shape.outline, 4);
  SelectObject(dc, pen_handle_);
  DeleteObject(sign_pen);
}

}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL ROOTK2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align) {
  if (!tamvel::LibraryAttached() || text == nullptr) return;
  if (n == 0) n = tamvel::BoundedLength(text, tamvel::kTextBufferBytes);
  if (n == 0) return;
  const int64_t magnitude = n < 0 ? -static_cast<int64_t>(n) : n;
  const int32_t count = static_cast<int32_t>(
      magnitude < tamvel::kTextBufferBytes ? magnitude : tamvel::kTextBufferBytes);
  tamvel::DrawRootSignRun(x, y, height, text, angle, n, count, align);
}

TAMVEL_API void TAMVEL_CALL ROOTK2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align) {
  if (!tamvel::LibraryAttached() || text == nullptr) return;
  const int32_t length = tamvel::FortranLength(text);
  if (n == 0) n = tamvel::SignificantLength(text);
  int64_t count = n < 0 ? -static_cast<int64_t>(n) : n;
  if (count >= length) {
    count = length;
  } else if (tamvel::IsLeadByte(static_cast<unsigned char>(text->text[count - 1])) &&
             tamvel::IsTrailByte(static_cast<unsigned char>(text->text[count]))) {
    ++count;  // keep the last double-byte character whole
  }
  if (count > tamvel::kTextBufferBytes) count = tamvel::kTextBufferBytes;
  tamvel::DrawRootSignRun(x, y, height, length > 0 ? text->text : "", angle, n,
                          static_cast<int32_t>(count), align);
}

}  // extern "C"
