// Pen width and colour, fill, text and background colours, background and raster modes.
#include "src/style/pens.h"

#include "include/tamvel.h"
#include "src/pages/page_table.h"
#include "src/plot/coordinates.h"

namespace tamvel {
namespace {

constexpr COLORREF kColorTable[16] = {
    0x000000,  // black
    0xFF0000,  // blue
    0x0000FF,  // red
    0xFF00FF,  // magenta
    0x00FF00,  // green
    0xFFFF00,  // cyan
    0x00FFFF,  // yellow
    0xFFFFFF,  // white
    0x404040,  // dark grey
    0x800000,  // dark blue
    0x000080,  // dark red
    0x800080,  // dark magenta
    0x008000,  // dark green
    0x808000,  // dark cyan
    0x008080,  // dark yellow
    0x808080,  // grey
};

// A 0..996 component to a byte: 996 gives 255, 500 gives 128.
COLORREF ComponentByte(int32_t component) {
  if (component < 0) component = 0;
  if (component > 996) component = 996;
  return static_cast<COLORREF>(component * 0.256 + 0.5);
}

// The page pen again with a new width; style and colour stay.
void ApplyPenWidth(int32_t width) {
  EmfPage &page = CurrentPage();
  UINT style = PS_SOLID;
  int32_t old_width = 0;
  COLORREF colour = 0;
  page.ReadPenState(&style, &old_width, &colour);
  page.ApplyPenState(style, width, colour);
}

}  // namespace

COLORREF DecodeColor(int32_t code, int32_t r, int32_t g, int32_t b) {
  if (code == -1) return ComponentByte(r) | ComponentByte(g) << 8 | ComponentByte(b) << 16;
  if (code >= 0 && code < 16) return kColorTable[code];
  return 0;
}

}  // namespace tamvel

extern "C" {

// Width codes: 0 and up are tenths of a millimetre, below 0 dots of 1/300 inch.
TAMVEL_API void TAMVEL_CALL PEN(int32_t width_code) {
  if (!tamvel::LibraryAttached()) return;
  const double code = width_code;
  const double width = code >= 0 ? code * 5.68 + 0.5 : -code * 4.8 + 0.5;
  tamvel::ApplyPenWidth(tamvel::TruncToInt32(width));
}

TAMVEL_API void TAMVEL_CALL PENW(float width) {
  if (!tamvel::LibraryAttached()) return;
  const int32_t units = tamvel::TruncToInt32(width * tamvel::kPageUnitsPerMm + 0.5);
  tamvel::ApplyPenWidth(units < 0 ? 0 : units);
}

TAMVEL_API void TAMVEL_CALL PENC(int32_t code, int32_t r, int32_t g, int32_t b) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::EmfPage &page = tamvel::CurrentPage();
  UINT style = PS_SOLID;
  int32_t width = 0;
  COLORREF colour = 0;
  page.ReadPenState(&style, &width, &colour);
  if (tamvel::IsNoColor(code)) {
    page.ApplyPenState(PS_NULL, width, colour);
  } else {
    page.ApplyPenState(PS_SOLID, width, tamvel::DecodeColor(code, r, g, b));
  }
}

TAMVEL_API void TAMVEL_CALL FILLC(int32_t code, int32_t r, int32_t g, int32_t b) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::EmfPage &page = tamvel::CurrentPage();
  UINT style = BS_SOLID;
  COLORREF colour = 0;
  uintptr_t hatch = 0;
  page.ReadBrushState(&style, &colour, &hatch);
  if (tamvel::IsNoColor(code)) {
    page.ApplyBrushState(BS_NULL, colour, hatch);
  } else {
    page.ApplyBrushState(BS_SOLID, tamvel::DecodeColor(code, r, g, b), hatch);
  }
}

TAMVEL_API void TAMVEL_CALL TEXTC(int32_t code, int32_t r, int32_t g, int32_t b) {
  if (!tamvel::LibraryAttached() || tamvel::IsNoColor(code)) return;
  tamvel::CurrentPage().ApplyTextColor(tamvel::DecodeColor(code, r, g, b));
}

TAMVEL_API void TAMVEL_CALL ALLC(int32_t code, int32_t r, int32_t g, int32_t b) {
  if (!tamvel::LibraryAttached()) return;
  PENC(code, r, g, b);
  FILLC(code, r, g, b);
  TEXTC(code, r, g, b);
}

// Every code sets a background colour; codes of -2 and below decode to black here.
TAMVEL_API void TAMVEL_CALL SETBKC(int32_t code, int32_t r, int32_t g, int32_t b) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::CurrentPage().ApplyBkColor(tamvel::DecodeColor(code, r, g, b));
}

TAMVEL_API void TAMVEL_CALL PALC(int32_t code, int32_t r, int32_t g, int32_t b) {
  if (!tamvel::LibraryAttached() || tamvel::IsNoColor(code)) return;
  tamvel::CurrentPage().AddPageColor(tamvel::DecodeColor(code, r, g, b));
}

TAMVEL_API void TAMVEL_CALL GETBKG(int32_t *mode) {
  if (!tamvel::LibraryAttached() || mode == nullptr) return;
  int value = 0;  // stays 0 on a page that does not record
  tamvel::CurrentPage().ReadBkMode(&value);
  *mode = value;
}

// SETBKG and SETMODE pass their value on unchecked; the DC refuses what it does not know.
TAMVEL_API void TAMVEL_CALL SETBKG(int32_t mode) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::CurrentPage().ApplyBkMode(mode);
}

TAMVEL_API void TAMVEL_CALL SETMODE(int32_t mode) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::CurrentPage().SetRasterOp(mode);
}

}  // extern "C"
