// NUMBER, NUMBR2 and NUMBRWID: a value formatted as text, then drawn or measured exactly as
// the SYMBOL family draws and measures text.
#include "include/tamvel.h"
#include "src/pages/page_table.h"
#include "src/text/number_format.h"

extern "C" {

TAMVEL_API void TAMVEL_CALL NUMBER(float x, float y, float height, float value, float angle,
                                   int32_t digits) {
  NUMBR2(x, y, height, value, angle, digits, 2);
}

TAMVEL_API void TAMVEL_CALL NUMBR2(float x, float y, float height, float value, float angle,
                                   int32_t digits, int32_t align) {
  if (!tamvel::LibraryAttached()) return;
  char text[tamvel::kNumberTextBytes];
  const int length = tamvel::FormatNumber(value, digits, text);
  SYMBL2(x, y, height, text, angle, length, align);
}

TAMVEL_API float TAMVEL_CALL NUMBRWID(float height, float value, int32_t digits) {
  if (!tamvel::LibraryAttached()) return 0.0f;
  char text[tamvel::kNumberTextBytes];
  const int length = tamvel::FormatNumber(value, digits, text);
  return SYMBLWID(height, text, length);
}

}  // extern "C"
