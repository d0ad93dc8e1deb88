// Application and corporation names: set by SETAPPNAME/SETCORPNAME (and their Fortran forms),
// read by every new recording for its description.
#include "src/host/identity.h"

#include <cstring>

#include "include/tamvel.h"

namespace tamvel {
namespace {

char g_application[kNameBytes + 1] = "tamvel";
// Shift-JIS "株式会社 ネルヴァー".
char g_corporation[kNameBytes + 1] =
    "\x8a\x94\x8e\xae\x89\xef\x8e\xd0\x20\x83\x6c\x83\x8b\x83\x94\x83\x40\x81\x5b";

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Copies at most `limit` bytes (stopping at a NUL) and drops a double-byte character cut in
// half at the 40-byte limit. The test looks at byte 39 alone, also when the name is shorter.
void StoreName(char *buffer, const char *text, size_t limit) {
  std::memset(buffer, 0, kNameBytes + 1);
  if (text != nullptr) {
    if (limit > kNameBytes) limit = kNameBytes;
    for (size_t i = 0; i < limit && text[i] != '\0'; ++i) buffer[i] = text[i];
  }
  buffer[kNameBytes] = '\0';
  if (IsLeadByte(static_cast<unsigned char>(buffer[kNameBytes - 1]))) buffer[kNameBytes - 1] = '\0';
}

size_t FortranLimit(const TAMVEL_FSTRING *name) {
  if (name == nullptr || name->text == nullptr) return 0;
  return static_cast<uint32_t>(name->length);  // read as unsigned: a negative length is huge
}

}  // namespace

const char *ApplicationName() { return g_application; }

const char *CorporationName() { return g_corporation; }

}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL SETAPPNAME(const char *name) {
  tamvel::StoreName(tamvel::g_application, name, name ? std::strlen(name) : 0);
}

TAMVEL_API void TAMVEL_CALL SETAPPNAMEF(const TAMVEL_FSTRING *name) {
  tamvel::StoreName(tamvel::g_application, name ? name->text : nullptr, tamvel::FortranLimit(name));
}

TAMVEL_API void TAMVEL_CALL SETCORPNAME(const char *name) {
  tamvel::StoreName(tamvel::g_corporation, name, name ? std::strlen(name) : 0);
}

TAMVEL_API void TAMVEL_CALL SETCORPNAMEF(const TAMVEL_FSTRING *name) {
  tamvel::StoreName(tamvel::g_corporation, name ? name->text : nullptr, tamvel::FortranLimit(name));
}

}  // extern "C"
