#include "platform/posix/shift_jis.h"

#include <iconv.h>

#include <cstring>

namespace tamvel::posix {
namespace {

// One converter for the process, opened on first use; the library runs on one thread.
iconv_t Converter() {
  static iconv_t converter = iconv_open("UTF-16LE", "CP932");
  return converter;
}

// Converts one character of 1 or 2 bytes; 0 when it does not convert to one code unit.
char16_t ConvertOne(const unsigned char *bytes, size_t length) {
  iconv_t converter = Converter();
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return bytes[0] < 0x80 ? static_cast<char16_t>(bytes[0]) : 0;
  }
  char in_buffer[2] = {static_cast<char>(bytes[0]), static_cast<char>(length > 1 ? bytes[1] : 0)};
  unsigned char out_buffer[8] = {};
  char *in = in_buffer;
  char *out = reinterpret_cast<char *>(out_buffer);
  size_t in_left = length;
  size_t out_left = sizeof(out_buffer);
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &in, &in_left, &out, &out_left) == static_cast<size_t>(-1) ||
      sizeof(out_buffer) - out_left != 2) {
    return 0;
  }
  return static_cast<char16_t>(out_buffer[0] | (out_buffer[1] << 8));
}

}  // namespace

bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsShiftJisTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

std::vector<ShiftJisChar> DecodeShiftJis(const char *bytes, int count) {
  std::vector<ShiftJisChar> chars;
  if (bytes == nullptr || count <= 0) return chars;
  const auto *text = reinterpret_cast<const unsigned char *>(bytes);
  chars.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count;) {
    ShiftJisChar ch;
    ch.byte_offset = i;
    if (IsShiftJisLeadByte(text[i]) && i + 1 < count && IsShiftJisTrailByte(text[i + 1])) {
      ch.double_byte = true;
      ch.unit = ConvertOne(text + i, 2);
      if (ch.unit == 0) ch.unit = kDefaultFullWidthChar;
      i += 2;
    } else {
      ch.unit = text[i] < 0x80 ? static_cast<char16_t>(text[i]) : ConvertOne(text + i, 1);
      if (ch.unit == 0 && text[i] != 0) ch.unit = kDefaultHalfWidthChar;
      i += 1;
    }
    chars.push_back(ch);
  }
  return chars;
}

std::u16string ShiftJisToUtf16(const char *bytes, int count) {
  std::u16string units;
  for (const ShiftJisChar &ch : DecodeShiftJis(bytes, count)) units.push_back(ch.unit);
  return units;
}

std::string ShiftJisToUtf8(const char *text) {
  std::string utf8;
  if (text == nullptr) return utf8;
  for (const ShiftJisChar &ch : DecodeShiftJis(text, static_cast<int>(std::strlen(text)))) {
    const char32_t c = ch.unit;
    if (c < 0x80) {
      utf8.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      utf8.push_back(static_cast<char>(0xE0 | (c >> 12)));
      utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return utf8;
}

}  // namespace tamvel::posix
