// State records: SaveDC/RestoreDC, mapping, attributes, object selection.
#include "platform/emf/emf_records.h"
#include "platform/posix/recorder.h"

namespace tamvel::posix {

using namespace tamvel::emf;

namespace {

RecordBuilder Value(uint32_t type, uint32_t value) {
  RecordBuilder r(type);
  r.U32(value);
  return r;
}

RecordBuilder Pair(uint32_t type, LONG x, LONG y) {
  RecordBuilder r(type);
  r.I32(x).I32(y);
  return r;
}

}  // namespace

void MetafileRecorder::Saved(Dc &) { Append(RecordBuilder(kSaveDc)); }

void MetafileRecorder::Restored(Dc &, int relative_level) {
  EndSegmentRun();
  Append(Value(kRestoreDc, static_cast<uint32_t>(relative_level)));
}

// The metric modes are written as MM_ANISOTROPIC with their extents: the same transform for
// Windows, and the only form every reader scales and places correctly.
void MetafileRecorder::MapModeChanged(Dc &dc) {
  EndSegmentRun();
  const PageMapping &m = dc.state.mapping;
  if (m.mode == MM_TEXT || !IsFixedMode(m.mode)) {
    Append(Value(kSetMapMode, static_cast<uint32_t>(m.mode)));
    return;
  }
  Append(Value(kSetMapMode, MM_ANISOTROPIC));
  Append(Pair(kSetWindowExtEx, m.window_ext.cx, m.window_ext.cy));
  Append(Pair(kSetViewportExtEx, m.viewport_ext.cx, m.viewport_ext.cy));
}

void MetafileRecorder::WindowOrgChanged(Dc &dc) {
  EndSegmentRun();
  const POINT &o = dc.state.mapping.window_org;
  Append(Pair(kSetWindowOrgEx, o.x, o.y));
}

void MetafileRecorder::ViewportOrgChanged(Dc &dc) {
  EndSegmentRun();
  const POINT &o = dc.state.mapping.viewport_org;
  Append(Pair(kSetViewportOrgEx, o.x, o.y));
}

// Text align is written without TA_UPDATECP: TextOutA resolves the current position itself
// (readers do not), writing it as the reference point and moving it afterwards.
void MetafileRecorder::AttributeChanged(Dc &dc, Attribute which) {
  const DcState &s = dc.state;
  const Palette *palette = s.palette.get();
  switch (which) {
    case Attribute::kRop2:
      Append(Value(kSetRop2, s.rop2));
      break;
    case Attribute::kPolyFillMode:
      Append(Value(kSetPolyFillMode, s.poly_fill_mode));
      break;
    case Attribute::kTextAlign:
      Append(Value(kSetTextAlign, s.text_align & ~static_cast<UINT>(TA_UPDATECP)));
      break;
    case Attribute::kBkMode:
      Append(Value(kSetBkMode, s.bk_mode));
      break;
    case Attribute::kBkColour:
      Append(Value(kSetBkColor, ResolveColour(s.bk_colour, palette)));
      break;
    case Attribute::kTextColour:
      Append(Value(kSetTextColor, ResolveColour(s.text_colour, palette)));
      break;
    case Attribute::kCharExtra:
      break;  // no record: the spacing goes into the text Dx
  }
}

void MetafileRecorder::ObjectSelected(Dc &dc, const GdiObject &object) {
  EndSegmentRun();  // a new pen
  uint32_t index = SelectIndex(dc, object);
  if (!index) return;
  const bool palette = object.Kind() == ObjectKind::kPalette;
  Append(Value(palette ? kSelectPalette : kSelectObject, index));
}

}  // namespace tamvel::posix
