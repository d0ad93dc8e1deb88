// The DC attribute setters and getters. Each setter returns the previous value, or the Win32
// failure value for a bad DC or an out-of-range argument, and tells the device afterwards.
#include "platform/posix/dc.h"

using namespace tamvel::posix;

namespace {

template <typename T>
T SetAttribute(HDC hdc, T DcState::*field, T value, Attribute which, T failure) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return failure;
  T old = dc->state.*field;
  dc->state.*field = value;
  dc->device().AttributeChanged(*dc, which);
  return old;
}

template <typename T>
T GetAttribute(HDC hdc, T DcState::*field, T failure) {
  Dc *dc = LookupDc(hdc);
  return dc ? dc->state.*field : failure;
}

bool InRange(int v, int low, int high) { return v >= low && v <= high; }

}  // namespace

int SetROP2(HDC dc, int mode) {
  if (!InRange(mode, R2_BLACK, R2_WHITE)) return 0;
  return SetAttribute(dc, &DcState::rop2, mode, Attribute::kRop2, 0);
}
int GetROP2(HDC dc) { return GetAttribute(dc, &DcState::rop2, 0); }

int SetPolyFillMode(HDC dc, int mode) {
  if (!InRange(mode, ALTERNATE, WINDING)) return 0;
  return SetAttribute(dc, &DcState::poly_fill_mode, mode, Attribute::kPolyFillMode, 0);
}
int GetPolyFillMode(HDC dc) { return GetAttribute(dc, &DcState::poly_fill_mode, 0); }

UINT SetTextAlign(HDC dc, UINT align) {
  return SetAttribute(dc, &DcState::text_align, align, Attribute::kTextAlign,
                      static_cast<UINT>(GDI_ERROR));
}
UINT GetTextAlign(HDC dc) {
  return GetAttribute(dc, &DcState::text_align, static_cast<UINT>(GDI_ERROR));
}

int SetBkMode(HDC dc, int mode) {
  if (!InRange(mode, TRANSPARENT, OPAQUE)) return 0;
  return SetAttribute(dc, &DcState::bk_mode, mode, Attribute::kBkMode, 0);
}
int GetBkMode(HDC dc) { return GetAttribute(dc, &DcState::bk_mode, 0); }

COLORREF SetBkColor(HDC dc, COLORREF colour) {
  return SetAttribute(dc, &DcState::bk_colour, colour, Attribute::kBkColour,
                      static_cast<COLORREF>(CLR_INVALID));
}
COLORREF GetBkColor(HDC dc) {
  return GetAttribute(dc, &DcState::bk_colour, static_cast<COLORREF>(CLR_INVALID));
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
  return SetAttribute(dc, &DcState::text_colour, colour, Attribute::kTextColour,
                      static_cast<COLORREF>(CLR_INVALID));
}
COLORREF GetTextColor(HDC dc) {
  return GetAttribute(dc, &DcState::text_colour, static_cast<COLORREF>(CLR_INVALID));
}

// 0x80000000 is the documented failure value of both calls.
int SetTextCharacterExtra(HDC dc, int extra) {
  return SetAttribute(dc, &DcState::char_extra, extra, Attribute::kCharExtra,
                      static_cast<int>(0x80000000u));
}
int GetTextCharacterExtra(HDC dc) {
  return GetAttribute(dc, &DcState::char_extra, static_cast<int>(0x80000000u));
}
