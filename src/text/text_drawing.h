// The text drawing and measuring engines shared by the KANJI, SYMBOL and NUMBER families, the
// root-sign text and the glyph marks.
#pragma once

#include <cstdint>

namespace tamvel {

// Longest text a call draws or measures; longer texts are cut here.
constexpr int kTextBufferBytes = 1024;

// A caller's text copied for one call: at most 1024 bytes, stopping early at a zero byte,
// always terminated.
struct TextBuffer {
  char bytes[kTextBufferBytes + 1] = {};
  int length = 0;
};

// Copies min(|count|, 1024) bytes of text (none for a null pointer).
void CopyToTextBuffer(const char *text, int64_t count, TextBuffer *buffer);

// Length of a caller's NUL-terminated text, looking at no more than `limit` bytes (so that
// an unterminated text is never read past what a call would take of it).
int BoundedLength(const char *text, int64_t limit);

// The page-unit point of a text's plot point: the 999 rule, rotation, scale factor and origin,
// then the page limits.
void TextPagePoint(float x, float y, int *px, int *py);

// Draws n bytes of text (n < 0: vertically with the "@" face) at a plot point with the
// character height and text angle given, sized by the running text call mode. align: units
// digit 0 right, 1 centre, other left; 1000 and more draw an ellipse around the text. The
// page's last point becomes the end of the text.
void DrawTextRun(float x, float y, float height, const char *text, float angle, int32_t n,
                 int32_t align);

// Width in millimetres on the page of the first n bytes of text (n < 0: with the vertical
// face), sized by the running text call mode; 0 for n = 0 or a page that does not record.
// Bytes beyond the text's terminator are not measured.
float MeasureTextRun(float height, const char *text, int32_t n);

}  // namespace tamvel
