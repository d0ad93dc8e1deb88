#include "platform/posix/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cstdint>

#include "platform/emf/emf_text.h"

namespace tamvel::posix {

namespace {

// Single bytes that the code page maps outside JIS: the C1 control 0x80 and, in the private
// use area, 0xA0 and 0xFD..0xFF.
constexpr struct {
  unsigned char byte;
  char16_t unit;
} kSingleByteExtras[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

// One converter per direction for the process, opened on first use; the library runs on one
// thread.
iconv_t Converter(bool to_utf16) {
  static iconv_t decoder = iconv_open("UTF-16LE", "CP932");
  static iconv_t encoder = iconv_open("CP932", "UTF-16LE");
  return to_utf16 ? decoder : encoder;
}

// Runs one character through iconv; false when it does not convert.
bool ConvertOne(bool to_utf16, const char *in, size_t in_length, char *out, size_t *out_length) {
  iconv_t converter = Converter(to_utf16);
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  char in_buffer[2] = {in[0], in_length > 1 ? in[1] : '\0'};
  char *in_at = in_buffer;
  char *out_at = out;
  size_t in_left = in_length, out_left = *out_length;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &in_at, &in_left, &out_at, &out_left) == static_cast<size_t>(-1)) {
    return false;
  }
  *out_length -= out_left;
  return true;
}

// One character of 1 or 2 bytes; 0 when it does not convert to one code unit.
char16_t CharToUtf16(const unsigned char *bytes, size_t length) {
  if (length == 1 && bytes[0] < 0x80) return bytes[0];
  if (length == 1) {
    for (const auto &extra : kSingleByteExtras) {
      if (extra.byte == bytes[0]) return extra.unit;
    }
  }
  unsigned char out[8] = {};
  size_t out_length = sizeof out;
  if (!ConvertOne(true, reinterpret_cast<const char *>(bytes), length,
                  reinterpret_cast<char *>(out), &out_length) ||
      out_length != 2) {
    return 0;
  }
  return static_cast<char16_t>(out[0] | (out[1] << 8));
}

void AppendCp932(std::string &out, char16_t unit) {
  if (unit < 0x80) return out.push_back(static_cast<char>(unit));
  for (const auto &extra : kSingleByteExtras) {
    if (extra.unit == unit) return out.push_back(static_cast<char>(extra.byte));
  }
  const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  char bytes[8];
  size_t length = sizeof bytes;
  if (ConvertOne(false, in, 2, bytes, &length)) {
    out.append(bytes, length);
  } else {
    out.push_back('?');
  }
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
      ch.unit = CharToUtf16(text + i, 2);
      if (ch.unit == 0) ch.unit = kDefaultFullWidthChar;
      i += 2;
    } else {
      ch.unit = CharToUtf16(text + i, 1);
      if (ch.unit == 0 && text[i] != 0) ch.unit = kDefaultHalfWidthChar;
      i += 1;
    }
    chars.push_back(ch);
  }
  return chars;
}

std::u16string Cp932ToUtf16(std::string_view text) {
  std::u16string units;
  const std::vector<ShiftJisChar> chars =
      DecodeShiftJis(text.data(), static_cast<int>(std::min<size_t>(text.size(), INT32_MAX)));
  units.reserve(chars.size());
  for (const ShiftJisChar &ch : chars) units.push_back(ch.unit);
  return units;
}

std::string Utf16ToCp932(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) AppendCp932(bytes, unit);
  return bytes;
}

std::string Cp932ToUtf8(std::string_view text) { return emf::Utf16ToUtf8(Cp932ToUtf16(text)); }

}  // namespace tamvel::posix
