// SAVEFILE and LOADFILE on the current page, with their Fortran string forms.
#include "include/tamvel.h"
#include "src/pages/page_table.h"
#include "src/text/fortran_string.h"

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL SAVEFILE(const char *path) {
  if (!tamvel::LibraryAttached()) return 1;
  return tamvel::CurrentPage().SavePageToFile(path);
}

TAMVEL_API int32_t TAMVEL_CALL SAVEFILEF(const TAMVEL_FSTRING *path, int32_t n) {
  if (!tamvel::LibraryAttached()) return 1;
  char buffer[tamvel::kFortranPathBytes];
  tamvel::FortranPath(path, n, buffer);
  return tamvel::CurrentPage().SavePageToFile(buffer);
}

TAMVEL_API int32_t TAMVEL_CALL LOADFILE(const char *path) {
  if (!tamvel::LibraryAttached()) return 1;
  return tamvel::CurrentPage().LoadPageFromFile(path);
}

TAMVEL_API int32_t TAMVEL_CALL LOADFILEF(const TAMVEL_FSTRING *path, int32_t n) {
  if (!tamvel::LibraryAttached()) return 1;
  char buffer[tamvel::kFortranPathBytes];
  tamvel::FortranPath(path, n, buffer);
  return tamvel::CurrentPage().LoadPageFromFile(buffer);
}

}  // extern "C"
