// Fortran strings: significant length (LEN2) and bounded paths for the F forms.
#include "src/text/fortran_string.h"

#include <cstring>

#include "src/pages/page_table.h"

namespace tamvel {

int32_t FortranLength(const TAMVEL_FSTRING *text) {
  if (text == nullptr || text->text == nullptr || text->length < 0) return 0;
  return text->length;
}

int32_t SignificantLength(const TAMVEL_FSTRING *text) {
  const int32_t length = FortranLength(text);
  // Byte 0 is never looked at: even an empty or all-blank text counts as one byte.
  for (int32_t i = length; i >= 2; --i) {
    const auto c = static_cast<unsigned char>(text->text[i - 1]);
    if ((c < 0x80 && c != ' ') || IsTrailByte(c)) return i;
  }
  return 1;
}

void FortranPath(const TAMVEL_FSTRING *text, int32_t n, char (&path)[kFortranPathBytes]) {
  std::memset(path, 0, kFortranPathBytes);
  const int64_t length = FortranLength(text);
  int64_t m = n < 0 ? -int64_t{n} : n;
  if (m == 0 || m > length) m = SignificantLength(text);
  if (m > kFortranPathMax) m = kFortranPathMax;
  if (m > length) m = length;  // LEN2 answers 1 even for an empty text
  for (int64_t i = 0; i < m && text->text[i] != '\0'; ++i) path[i] = text->text[i];
}

}  // namespace tamvel

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL LEN2(const TAMVEL_FSTRING *text) {
  if (!tamvel::LibraryAttached()) return 1;
  return tamvel::SignificantLength(text);
}

}  // extern "C"
