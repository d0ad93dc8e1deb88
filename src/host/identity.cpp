// Application and corporation names: set by SETAPPNAME/SETCORPNAME (and their Fortran forms),
// read by every new recording for its description.
#include "src/host/identity.h"

#include <cstring>

#include "include/tamvel.h"
#include "src/pages/page_table.h"
#include "src/text/fortran_string.h"

namespace tamvel {
namespace {

char g_application[kNameBytes + 1] = "tamvel";
// Shift-JIS "株式会社 ネルヴァー".
char g_corporation[kNameBytes + 1] =
    "\x8a\x94\x8e\xae\x89\xef\x8e\xd0\x20\x83\x6c\x83\x8b\x83\x94\x83\x40\x81\x5b";

// Copies at most `limit` bytes of `text` (stopping at a NUL) as the new name and drops a
// double-byte character cut in half at the 40-byte limit. The test looks at byte 39 alone,
// as a lead-byte value, also when the name is shorter.
void StoreName(char *buffer, const char *text, size_t limit) {
  std::memset(buffer, 0, kNameBytes + 1);
  if (limit > kNameBytes) limit = kNameBytes;
  for (size_t i = 0; i < limit && text[i] != '\0'; ++i) buffer[i] = text[i];
  if (IsLeadByte(static_cast<unsigned char>(buffer[kNameBytes - 1]))) buffer[kNameBytes - 1] = '\0';
}

// A null name leaves the stored one as it was.
void StoreCName(char *buffer, const char *name) {
  if (name != nullptr) StoreName(buffer, name, kNameBytes);
}

// A Fortran string gives at most its length in bytes. A descriptor that is missing, has no
// text for a positive length or a negative length leaves the stored name as it was: reading
// 40 bytes from a text of unknown size could run past its end.
void StoreFortranName(char *buffer, const TAMVEL_FSTRING *name) {
  if (name == nullptr || name->length < 0) return;
  if (name->text == nullptr && name->length > 0) return;
  StoreName(buffer, name->text ? name->text : "", static_cast<size_t>(name->length));
}

}  // namespace

const char *ApplicationName() { return g_application; }

const char *CorporationName() { return g_corporation; }

}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL SETAPPNAME(const char *name) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::StoreCName(tamvel::g_application, name);
}

TAMVEL_API void TAMVEL_CALL SETAPPNAMEF(const TAMVEL_FSTRING *name) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::StoreFortranName(tamvel::g_application, name);
}

TAMVEL_API void TAMVEL_CALL SETCORPNAME(const char *name) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::StoreCName(tamvel::g_corporation, name);
}

TAMVEL_API void TAMVEL_CALL SETCORPNAMEF(const TAMVEL_FSTRING *name) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::StoreFortranName(tamvel::g_corporation, name);
}

}  // extern "C"
