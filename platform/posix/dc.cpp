// DC lifetime, the DC registry and the SaveDC/RestoreDC stack.
#include "platform/posix/dc.h"

#include <unordered_set>

#include "platform/posix/handles.h"

namespace tamvel::posix {

namespace {

std::unordered_set<Dc *> &LiveDcs() {
  static auto *dcs = new std::unordered_set<Dc *>;
  return *dcs;
}

template <typename T>
std::shared_ptr<const T> Stock(int id) {
  return std::static_pointer_cast<const T>(StockObject(id));
}

}  // namespace

Dc::Dc(std::unique_ptr<Device> device, ReferenceDevice reference)
    : device_(std::move(device)), recorder_(device_->Recorder()), reference_(reference) {
  state.pen = Stock<Pen>(BLACK_PEN);
  state.brush = Stock<Brush>(WHITE_BRUSH);
  state.font = Stock<Font>(SYSTEM_FONT);
  state.palette = Stock<Palette>(DEFAULT_PALETTE);
}

HDC CreateDcHandle(std::unique_ptr<Device> device, const ReferenceDevice &reference) {
  auto dc = std::make_shared<Dc>(std::move(device), reference);
  Dc *raw = dc.get();
  HDC hdc = AddHandle<HDC>(std::move(dc));
  if (hdc) LiveDcs().insert(raw);
  return hdc;
}

void DestroyDcHandle(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return;
  LiveDcs().erase(dc);
  RemoveObject(ValueOf(hdc));
}

void ForEachDc(const std::function<void(Dc &)> &action) {
  for (Dc *dc : LiveDcs()) action(*dc);
}

Device::~Device() = default;

int Device::DeviceCaps(int index) const { return ReferenceDeviceCaps(ReferenceDevice{}, index); }

}  // namespace tamvel::posix

using namespace tamvel::posix;

int SaveDC(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  dc->device().Saved(*dc);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int level) {
  Dc *dc = LookupDc(hdc);
  if (!dc || level == 0) return FALSE;
  const long long depth = static_cast<long long>(dc->saved.size());
  // A negative level counts back from the top, a positive one names an absolute level.
  const long long pops = level < 0 ? -static_cast<long long>(level) : depth - level + 1;
  if (pops < 1 || pops > depth) return FALSE;
  dc->state = dc->saved[depth - pops];
  dc->saved.resize(depth - pops);
  dc->device().Restored(*dc, static_cast<int>(-pops));
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  Dc *dc = LookupDc(hdc);
  return dc ? dc->device().DeviceCaps(index) : 0;
}
