// What sits behind a DC. The DC layer (dc.h) validates every call, updates the DC state and
// then tells the device; the device records (MetafileRecorder) or paints (raster devices).
// Every hook has a do-nothing default so that a device overrides only what it needs.
//
// Order: state hooks run after the DC state has changed; drawing hooks run before the
// current position moves, with logical coordinates exactly as the caller gave them.
// Arcs, pies and ellipses reach the device already flattened (as Polyline/Polygon), so every
// device and every reader of a recording draws the same points.
#pragma once

#include <span>

#include "platform/posix/gdi_object.h"

namespace tamvel::posix {

class Dc;
class MetafileRecorder;
struct TextRun;  // defined by the text module

// DC attributes whose change a device may want to see (the recorder writes one record each).
enum class Attribute {
  kRop2,
  kPolyFillMode,
  kTextAlign,
  kBkMode,
  kBkColour,
  kTextColour,
  kCharExtra,
};

// A bitmap to paint: top-down rows of 0xFFRRGGBB pixels.
struct ImagePixels {
  int width = 0;
  int height = 0;
  std::span<const uint32_t> argb;
};

class Device {
 public:
  virtual ~Device();

  // GetObjectType of the DC: OBJ_DC for painting devices, OBJ_ENHMETADC for the recorder.
  virtual DWORD Win32Type() const { return OBJ_DC; }
  // GetDeviceCaps; the default answers for the 96-dpi reference screen.
  virtual int DeviceCaps(int index) const;
  // The recorder behind a metafile DC, null for every other device. Calls that only matter
  // in a recording (palettes, clip records, text records) write through it directly.
  virtual MetafileRecorder *Recorder() { return nullptr; }
  // True when the device paints on whole pixels as GDI does: the player then rounds each
  // recorded point once, straight to a device pixel, instead of keeping sub-pixel positions.
  virtual bool WholePixels() const { return false; }

  // State, after the change.
  virtual void Saved(Dc &) {}
  virtual void Restored(Dc &, int /*relative_level*/) {}  // the level is negative
  virtual void MapModeChanged(Dc &) {}
  virtual void WindowOrgChanged(Dc &) {}
  virtual void ViewportOrgChanged(Dc &) {}
  virtual void AttributeChanged(Dc &, Attribute) {}
  virtual void ObjectSelected(Dc &, const GdiObject &) {}  // pen, brush, font or palette

  // Drawing, before the current position moves. `from` is the current position.
  virtual void MoveTo(Dc &, POINT) {}
  virtual void LineTo(Dc &, POINT /*from*/, POINT /*to*/) {}
  virtual void Polyline(Dc &, std::span<const POINT>) {}
  virtual void PolyPolyline(Dc &, std::span<const POINT>, std::span<const DWORD>) {}
  virtual void Polygon(Dc &, std::span<const POINT>) {}
  virtual void BeginPath(Dc &) {}
  virtual void EndPath(Dc &) {}
  virtual void StrokePath(Dc &) {}  // the DC still holds the path figures during the call
  virtual void DrawText(Dc &, const TextRun &) {}
  // A bitmap with its top-left, top-right and bottom-left corners at these logical points
  // (the player's images; no Win32 call of the library draws one).
  virtual void DrawImage(Dc &, const POINT (&)[3], const ImagePixels &) {}
};

}  // namespace tamvel::posix
