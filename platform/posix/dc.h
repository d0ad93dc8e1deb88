// The device context: one state model for every device, a SaveDC/RestoreDC stack and the
// device behind it (device.h). All Win32 calls that take an HDC find it with LookupDc().
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/posix/device.h"
#include "platform/posix/handles.h"
#include "platform/posix/mapping.h"
#include "platform/posix/objects.h"

namespace tamvel::posix {

// What SaveDC saves and RestoreDC brings back.
struct DcState {
  PageMapping mapping;
  POINT position{0, 0};  // current position, logical units
  UINT text_align = TA_LEFT | TA_TOP | TA_NOUPDATECP;
  int char_extra = 0;  // logical units, as set
  int bk_mode = OPAQUE;
  COLORREF bk_colour = RGB(255, 255, 255);
  COLORREF text_colour = RGB(0, 0, 0);
  int rop2 = R2_COPYPEN;
  int poly_fill_mode = ALTERNATE;
  std::shared_ptr<const Pen> pen;
  std::shared_ptr<const Brush> brush;
  std::shared_ptr<const Font> font;
  std::shared_ptr<const Palette> palette;
  // The clip in device units (y-x banded, right/bottom exclusive); no value: no clip.
  std::optional<std::vector<RECT>> clip;
};

// The figures of a path bracket, in logical units; a closed figure ends where it started.
struct PathFigure {
  std::vector<POINT> points;
  bool closed = false;
};

class Dc final : public GdiObject {
 public:
  static constexpr ObjectKind kKind = ObjectKind::kDc;
  Dc(std::unique_ptr<Device> device, ReferenceDevice reference);
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return device_->Win32Type(); }

  Device &device() { return *device_; }
  // The recorder behind a metafile DC (asked of the device once), or null.
  MetafileRecorder *Recorder() { return recorder_; }
  const ReferenceDevice &reference() const { return reference_; }

  DcState state;
  std::vector<DcState> saved;  // SaveDC stack, level 1 first

  // Path bracket: open between BeginPath and EndPath; the figures stay until StrokePath.
  bool path_open = false;
  bool path_ready = false;  // EndPath closed a bracket whose path is not used up yet
  std::vector<PathFigure> path;

  // Logical to device coordinates with the current page transform (rounded).
  POINT ToDevice(POINT logical) const { return posix::ToDevice(state.mapping, logical); }
  POINT ToLogical(POINT device) const { return posix::ToLogical(state.mapping, device); }

 private:
  std::unique_ptr<Device> device_;
  MetafileRecorder *recorder_;
  ReferenceDevice reference_;
};

// The live DC behind `hdc`, or null.
inline Dc *LookupDc(HDC hdc) { return static_cast<Dc *>(FindObject(ValueOf(hdc), Dc::kKind)); }

// Makes a DC on `device`, registers it and returns its handle (null when the table is full).
HDC CreateDcHandle(std::unique_ptr<Device> device, const ReferenceDevice &reference);

// Frees the DC's handle (CloseEnhMetaFile, DeleteDC). The DC object goes when the last
// reference to it does.
void DestroyDcHandle(HDC hdc);

// Calls `action` for every live DC (DeleteObject and palette changes reach the recordings
// that hold the object this way).
void ForEachDc(const std::function<void(Dc &)> &action);

}  // namespace tamvel::posix
