#include "platform/posix/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace tamvel::posix {

namespace {

// Runs iconv over `input`, replacing each unconvertible input unit (of `unit` bytes) by
// `substitute` and going on.
std::string Convert(const char *to, const char *from, std::string_view input, size_t unit,
                    std::string_view substitute) {
  std::string output;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return output;
  char *in = const_cast<char *>(input.data());
  size_t in_left = input.size();
  char buffer[256];
  while (in_left > 0) {
    char *out = buffer;
    size_t out_left = sizeof buffer;
    size_t result = iconv(cd, &in, &in_left, &out, &out_left);
    output.append(buffer, out - buffer);
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      output.append(substitute);
      size_t skip = in_left < unit ? in_left : unit;
      in += skip;
      in_left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return output;
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view text) {
  std::string bytes = Convert("UTF-16LE", "CP932", text, 1, std::string_view("?\0", 2));
  std::u16string result(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < result.size(); ++i) {
    result[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                      static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
  }
  return result;
}

std::string Utf16ToCp932(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return Convert("CP932", "UTF-16LE", bytes, 2, "?");
}

}  // namespace tamvel::posix
