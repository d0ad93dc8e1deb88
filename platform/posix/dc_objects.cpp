// SelectObject: pens, brushes and fonts. Regions go through SelectClipRgn, palettes through
// SelectPalette (both with the clipping and palette code).
#include "platform/posix/dc.h"
#include "platform/posix/handles.h"

using namespace tamvel::posix;

namespace {

template <typename T>
uint32_t Swap(std::shared_ptr<const T> &field, const std::shared_ptr<GdiObject> &object) {
  uint32_t old = field ? field->handle : 0;
  field = std::static_pointer_cast<const T>(object);
  return old;
}

}  // namespace

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
  Dc *dc = LookupDc(hdc);
  auto object = LookupAnyObject(ValueOf(handle));
  if (!dc || !object) return nullptr;
  uint32_t old;
  switch (object->Kind()) {
    case ObjectKind::kPen:
      old = Swap(dc->state.pen, object);
      break;
    case ObjectKind::kBrush:
      old = Swap(dc->state.brush, object);
      break;
    case ObjectKind::kFont:
      old = Swap(dc->state.font, object);
      break;
    default:
      return nullptr;
  }
  dc->device().ObjectSelected(*dc, *object);
  return HandleFromValue<HGDIOBJ>(old);
}
