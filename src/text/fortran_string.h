// Fortran strings (a descriptor: pointer to unterminated text and its length in bytes) and
// the Shift-JIS byte classes the text calls need to keep double-byte characters whole.
#pragma once

#include <cstdint>

#include "include/tamvel.h"

namespace tamvel {

// Shift-JIS (code page 932): a lead byte followed by a trail byte is one character.
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsTrailByte(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// The descriptor's length, 0 for a null descriptor, a null text or a negative length.
int32_t FortranLength(const TAMVEL_FSTRING *text);
// Length without trailing blanks and stray high bytes, at least 1 (LEN2).
int32_t SignificantLength(const TAMVEL_FSTRING *text);

// Paths of the F-form file calls: at most 256 bytes in a buffer of 260.
constexpr int kFortranPathBytes = 260;
constexpr int kFortranPathMax = 256;
// The first |n| bytes of the text as a NUL-terminated path; n = 0 or |n| beyond the length
// takes the significant length. Stops at a NUL in the text and never reads past the
// descriptor's length; a null descriptor or text gives an empty path.
void FortranPath(const TAMVEL_FSTRING *text, int32_t n, char (&path)[kFortranPathBytes]);

}  // namespace tamvel
