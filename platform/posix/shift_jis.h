// Shift-JIS (code page 932) text as the stand-in's text calls see it: a byte string split into
// characters, each converted to one UTF-16 code unit. A lead byte followed by a trail byte is
// one double-byte (full-width) character; every other byte is a single-byte (half-width) one.
// Bytes that do not convert never fail a call: an unconvertible double-byte character becomes
// U+30FB (the code page's default character, "・"), a stray single byte (a lone lead byte at
// the end, 0x80, 0xA0, 0xFD..0xFF) becomes its half-width form U+FF65 "･".
#pragma once

#include <string>
#include <vector>

namespace tamvel::posix {

constexpr char16_t kDefaultFullWidthChar = 0x30FB;
constexpr char16_t kDefaultHalfWidthChar = 0xFF65;

struct ShiftJisChar {
  char16_t unit = 0;         // the UTF-16 code unit written for the character
  bool double_byte = false;  // a lead byte with its trail byte
  int byte_offset = 0;       // where the character starts in the byte string
};

bool IsShiftJisLeadByte(unsigned char byte);
bool IsShiftJisTrailByte(unsigned char byte);

// Splits count bytes (count < 0 counts as 0; zero bytes are characters like any other).
std::vector<ShiftJisChar> DecodeShiftJis(const char *bytes, int count);
std::u16string ShiftJisToUtf16(const char *bytes, int count);
// A NUL-terminated Shift-JIS string (e.g. a face name) as UTF-8, for matching and messages.
std::string ShiftJisToUtf8(const char *text);

}  // namespace tamvel::posix
