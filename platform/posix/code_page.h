// Code page 932 (Shift-JIS), the library's text, against the UTF-16 that metafiles store: the
// one conversion of the stand-in, used for text, face names, descriptions and registry text.
//
// A lead byte followed by a trail byte is one double-byte (full-width) character; every other
// byte is a single-byte (half-width) one. Each character becomes one UTF-16 code unit, as
// Windows converts it: the single bytes without a character of their own map to 0x80 ->
// U+0080, 0xA0 -> U+F8F0 and 0xFD..0xFF -> U+F8F1..U+F8F3. Bytes that do not convert never
// fail a call: an unconvertible double-byte character becomes U+30FB (the code page's default
// character, "・"), a lone lead byte (at the end, or before a byte that cannot trail) its
// half-width form U+FF65 "･". The other way, characters without a code become '?'.
#pragma once

#include <string>
#include <string_view>
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

std::u16string Cp932ToUtf16(std::string_view text);
std::string Utf16ToCp932(std::u16string_view text);
// For matching names and for files that are UTF-8.
std::string Cp932ToUtf8(std::string_view text);

}  // namespace tamvel::posix
