// Mapping-mode calls on a DC: SetMapMode, origins, DPtoLP/LPtoDP.
#include "platform/posix/dc.h"

using namespace tamvel::posix;

namespace {

using Convert = POINT (*)(const PageMapping &, POINT);

BOOL ConvertPoints(HDC hdc, POINT *points, int count, Convert convert) {
  Dc *dc = LookupDc(hdc);
  if (!dc || count < 0 || (!points && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = convert(dc->state.mapping, points[i]);
  return TRUE;
}

BOOL SetOrigin(HDC hdc, int x, int y, POINT *old, POINT PageMapping::*origin,
               void (Device::*notify)(Dc &)) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state.mapping.*origin;
  dc->state.mapping.*origin = {x, y};
  (dc->device().*notify)(*dc);
  return TRUE;
}

}  // namespace

int SetMapMode(HDC hdc, int mode) {
  Dc *dc = LookupDc(hdc);
  if (!dc || !IsValidMode(mode)) return 0;
  int old = dc->state.mapping.mode;
  ApplyMapMode(dc->state.mapping, mode, dc->reference());
  dc->device().MapModeChanged(*dc);
  return old;
}

int GetMapMode(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  return dc ? dc->state.mapping.mode : 0;
}

BOOL DPtoLP(HDC dc, POINT *points, int count) {
  return ConvertPoints(dc, points, count, ToLogical);
}

BOOL LPtoDP(HDC dc, POINT *points, int count) { return ConvertPoints(dc, points, count, ToDevice); }

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT *old) {
  return SetOrigin(dc, x, y, old, &PageMapping::viewport_org, &Device::ViewportOrgChanged);
}

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT *old) {
  return SetOrigin(dc, x, y, old, &PageMapping::window_org, &Device::WindowOrgChanged);
}
