// The drawing and width engines of the KANJI and SYMBOL families, and those families' exported
// calls with their count rules.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "include/tamvel.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"
#include "src/text/fortran_string.h"
#include "src/text/text_drawing.h"
#include "src/text/text_state.h"

namespace tamvel {

namespace {

constexpr double kUnitsPerMm = 56.6929;

// Horizontal writing uses the face of the typeface code as it is, vertical writing its "@"
// variant.
void SelectWritingDirection(int32_t n) {
  int32_t code = 0;
  int32_t vertical = 0;
  GETFON(&code, &vertical);
  SETFON(code, n > 0 ? 0 : 1);
}

int64_t Magnitude(int32_t n) { return n < 0 ? -static_cast<int64_t>(n) : n; }
int32_t Sign(int32_t n) { return n < 0 ? -1 : 1; }

// KANJI counts: |n| full-width characters (2 |n| bytes) of the text; 0 takes all of it.
// Returns the byte count m and the direction d (+1 horizontal, -1 vertical).
void KanjiCount(const char *text, int32_t n, int32_t *m, int32_t *d) {
  *d = n == 0 ? 1 : Sign(n);
  *m = BoundedLength(text, n == 0 ? kTextBufferBytes : 2 * Magnitude(n));
}

// The same for a Fortran string: counted from its significant length, then widened by one
// byte so that the last double-byte character is not split.
void KanjiCountFortran(const TAMVEL_FSTRING *text, int32_t n, int32_t *m, int32_t *d) {
  const int32_t length = FortranLength(text);
  const int32_t significant = SignificantLength(text);
  *d = n == 0 ? 1 : Sign(n);
  int64_t count = significant;
  if (n != 0 && 2 * Magnitude(n) < count) count = 2 * Magnitude(n);
  if (count >= length) {
    count = length;
  } else if (count > 0 && IsLeadByte(static_cast<unsigned char>(text->text[count - 1])) &&
             IsTrailByte(static_cast<unsigned char>(text->text[count]))) {
    ++count;
  }
  *m = static_cast<int32_t>(count);
}

void DrawKanji(float x, float y, float height, const char *text, float angle, int32_t m, int32_t d,
               int32_t align) {
  if (m == 0) return;
  SetTextCallMode(d > 0 ? kKanjiHorizontalText : kKanjiVerticalText);
  DrawTextRun(x, y, height, text, angle, d * m, align);
  SetTextCallMode(kNoTextCall);
}

float MeasureKanji(float height, const char *text, int32_t m, int32_t d) {
  if (m == 0) return 0.0f;
  SetTextCallMode(d > 0 ? kKanjiHorizontalText : kKanjiVerticalText);
  const float width = MeasureTextRun(height, text, m);
  SetTextCallMode(kNoTextCall);
  return width;
}

// SYMBOL counts for a Fortran string: 0 takes the significant length, more than the string
// holds takes the whole string.
int32_t SymbolCountFortran(const TAMVEL_FSTRING *text, int32_t n) {
  const int32_t length = FortranLength(text);
  if (n == 0) n = SignificantLength(text);
  if (Magnitude(n) > length) n = Sign(n) * length;
  return n;
}

void DrawSymbol(float x, float y, float height, const char *text, float angle, int32_t n,
                int32_t align) {
  SetTextCallMode(kSymbolText);
  DrawTextRun(x, y, height, text, angle, n, align);
  SetTextCallMode(kNoTextCall);
}

float MeasureSymbol(float height, const char *text, int32_t n) {
  SetTextCallMode(kSymbolText);
  const float width = MeasureTextRun(height, text, n);
  SetTextCallMode(kNoTextCall);
  return width;
}

void WriteText(float x, float y, const char *text, int64_t count) {
  TextBuffer buffer;
  CopyToTextBuffer(text, count, &buffer);
  int px = 0;
  int py = 0;
  TextPagePoint(x, y, &px, &py);
  CurrentPage().OutputText(px, py, buffer.bytes);
}

}  // namespace

void CopyToTextBuffer(const char *text, int64_t count, TextBuffer *buffer) {
  *buffer = TextBuffer{};
  if (text == nullptr) return;
  if (count < 0) count = -count;
  const int length = BoundedLength(text, count);
  std::memcpy(buffer->bytes, text, static_cast<size_t>(length));
  buffer->length = length;
}

int BoundedLength(const char *text, int64_t limit) {
  if (text == nullptr || limit <= 0) return 0;
  if (limit > kTextBufferBytes) limit = kTextBufferBytes;
  return static_cast<int>(strnlen(text, static_cast<size_t>(limit)));
}

void TextPagePoint(float x, float y, int *px, int *py) {
  TransformPoint(&x, &y);
  ToPageUnits(x, y, px, py);
}

void DrawTextRun(float x, float y, float height, const char *text, float angle, int32_t n,
                 int32_t align) {
  if (n == 0 || text == nullptr || std::isnan(height)) return;  // no size follows from NaN
  float saved_angle = 0.0f;
  GETDEG(&saved_angle);
  FitFontToHeight(height);
  angle = TextAngle(angle);
  if (n > 0) {
    SETDEG(angle);
  } else {
    SETDEG(angle - 90.0f);
  }
  SelectWritingDirection(n);
  TextBuffer buffer;
  CopyToTextBuffer(text, n, &buffer);
  int px = 0;
  int py = 0;
  TextPagePoint(x, y, &px, &py);
  SetHorizontalAlign(align);
  EmfPage &page = CurrentPage();
  if (align / 10 >= 100) {
    page.DrawEnclosedText(px, py, buffer.bytes);
  } else {
    page.OutputText(px, py, buffer.bytes);
  }
  SETDEG(saved_angle);
  // The end of the text becomes the last point, so that 999.0 continues there.
  POINT end{};
  if (page.IsRecording() && GetCurrentPositionEx(page.RecordingDc(), &end)) {
    PlotState &state = CurrentState();
    PageUnitsToPlot(end.x, end.y, &state.last_x, &state.last_y);
  }
}

float MeasureTextRun(float height, const char *text, int32_t n) {
  if (n == 0 || text == nullptr || std::isnan(height)) return 0.0f;
  FitFontToHeight(height);
  SelectWritingDirection(n);
  TextBuffer buffer;
  CopyToTextBuffer(text, n, &buffer);
  SIZE extent{};
  if (!CurrentPage().TextExtent(buffer.bytes, buffer.length, &extent)) return 0.0f;
  return static_cast<float>(extent.cx / kUnitsPerMm);
}

}  // namespace tamvel

using tamvel::LibraryAttached;

extern "C" {

TAMVEL_API void TAMVEL_CALL KANJI(float x, float y, float height, const char *text, float angle,
                                  int32_t n) {
  KANJI2(x, y, height, text, angle, n, 2);
}

TAMVEL_API void TAMVEL_CALL KANJI2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align) {
  if (!LibraryAttached() || text == nullptr) return;
  int32_t m = 0;
  int32_t d = 1;
  tamvel::KanjiCount(text, n, &m, &d);
  tamvel::DrawKanji(x, y, height, text, angle, m, d, align);
}

TAMVEL_API void TAMVEL_CALL KANJIF(float x, float y, float height, const TAMVEL_FSTRING *text,
                                   float angle, int32_t n) {
  KANJI2F(x, y, height, text, angle, n, 2);
}

TAMVEL_API void TAMVEL_CALL KANJI2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align) {
  if (!LibraryAttached() || tamvel::FortranLength(text) == 0) return;
  int32_t m = 0;
  int32_t d = 1;
  tamvel::KanjiCountFortran(text, n, &m, &d);
  tamvel::DrawKanji(x, y, height, text->text, angle, m, d, align);
}

TAMVEL_API void TAMVEL_CALL SYMBOL(float x, float y, float height, const char *text, float angle,
                                   int32_t n) {
  SYMBL2(x, y, height, text, angle, n != 0 ? n : 1, 2);
}

TAMVEL_API void TAMVEL_CALL SYMBL2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align) {
  if (!LibraryAttached() || text == nullptr) return;
  tamvel::DrawSymbol(x, y, height, text, angle, n, align);
}

TAMVEL_API void TAMVEL_CALL SYMBOLF(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n) {
  SYMBL2F(x, y, height, text, angle, n != 0 ? n : 1, 2);
}

TAMVEL_API void TAMVEL_CALL SYMBL2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align) {
  if (!LibraryAttached() || tamvel::FortranLength(text) == 0) return;
  n = tamvel::SymbolCountFortran(text, n);
  if (n == 0) return;
  tamvel::DrawSymbol(x, y, height, text->text, angle, n, align);
}

TAMVEL_API void TAMVEL_CALL TEXTOUT(float x, float y, const char *text, int32_t n) {
  if (!LibraryAttached() || text == nullptr) return;
  const int64_t count =
      n == 0 ? tamvel::BoundedLength(text, tamvel::kTextBufferBytes) : tamvel::Magnitude(n);
  if (count == 0) return;
  tamvel::WriteText(x, y, text, count);
}

TAMVEL_API void TAMVEL_CALL TEXTOUTF(float x, float y, const TAMVEL_FSTRING *text, int32_t n) {
  if (!LibraryAttached()) return;
  const int32_t length = tamvel::FortranLength(text);
  if (length == 0) return;
  int64_t count = n == 0 ? tamvel::SignificantLength(text) : tamvel::Magnitude(n);
  if (count > length) count = length;
  tamvel::WriteText(x, y, text->text, count);
}

TAMVEL_API float TAMVEL_CALL KANJIWID(float height, const char *text, int32_t n) {
  if (!LibraryAttached() || text == nullptr) return 0.0f;
  int32_t m = 0;
  int32_t d = 1;
  tamvel::KanjiCount(text, n, &m, &d);
  return tamvel::MeasureKanji(height, text, m, d);
}

TAMVEL_API float TAMVEL_CALL KANJIWIDF(float height, const TAMVEL_FSTRING *text, int32_t n) {
  if (!LibraryAttached() || tamvel::FortranLength(text) == 0) return 0.0f;
  int32_t m = 0;
  int32_t d = 1;
  tamvel::KanjiCountFortran(text, n, &m, &d);
  return tamvel::MeasureKanji(height, text->text, m, d);
}

TAMVEL_API float TAMVEL_CALL SYMBLWID(float height, const char *text, int32_t n) {
  if (!LibraryAttached() || text == nullptr) return 0.0f;
  if (n == 0) n = tamvel::BoundedLength(text, tamvel::kTextBufferBytes);
  if (n == 0) return 0.0f;
  return tamvel::MeasureSymbol(height, text, n);
}

TAMVEL_API float TAMVEL_CALL SYMBLWIDF(float height, const TAMVEL_FSTRING *text, int32_t n) {
  if (!LibraryAttached() || tamvel::FortranLength(text) == 0) return 0.0f;
  n = tamvel::SymbolCountFortran(text, n);
  if (n == 0) return 0.0f;
  return tamvel::MeasureSymbol(height, text->text, n);
}

}  // extern "C"
