// Logical palettes of the stand-in: CreatePalette, SetPaletteEntries, ResizePalette,
// SelectPalette, RealizePalette, GetNearestColor and GetPaletteEntries.
//
// The reference device is a true-colour screen: realizing a palette changes no colours, and
// GetNearestColor gives a plain RGB back unchanged. Recordings keep palettes in their object
// table: the first selection writes EMR_CREATEPALETTE with the entries of that moment (the
// recorder does it), later changes of a palette the table holds write EMR_SETPALETTEENTRIES
// and EMR_RESIZEPALETTE, and RealizePalette writes EMR_REALIZEPALETTE and adds the entries to
// the metafile's EOF palette.
#include <algorithm>
#include <memory>

#include "platform/emf/emf_records.h"
#include "platform/posix/dc.h"
#include "platform/posix/handles.h"
#include "platform/posix/record_builder.h"
#include "platform/posix/recorder.h"

namespace tamvel::posix {
namespace {

// GDI's limit on the entries of a logical palette.
constexpr UINT kMaxPaletteEntries = 1024;

// Writes `record` into every recording whose object table holds `palette`.
template <typename MakeRecord>
void RecordPaletteChange(const Palette &palette, MakeRecord make_record) {
  ForEachDc([&](Dc &dc) {
    MetafileRecorder *recorder = dc.Recorder();
    if (recorder == nullptr) return;
    const uint32_t index = recorder->IndexOf(palette);
    if (index != 0) recorder->Append(make_record(index));
  });
}

}  // namespace
}  // namespace tamvel::posix

using namespace tamvel::posix;

HPALETTE CreatePalette(const LOGPALETTE *log) {
  if (log == nullptr || log->palNumEntries == 0 || log->palNumEntries > kMaxPaletteEntries) {
    return nullptr;
  }
  auto palette = std::make_shared<Palette>();
  palette->entries.assign(log->palPalEntry, log->palPalEntry + log->palNumEntries);
  return AddHandle<HPALETTE>(std::move(palette));
}

UINT SetPaletteEntries(HPALETTE hpal, UINT start, UINT count, const PALETTEENTRY *entries) {
  auto palette = Lookup<Palette>(hpal);
  if (!palette || palette->IsStock() || entries == nullptr) return 0;
  const size_t size = palette->entries.size();
  if (start >= size) return 0;
  const UINT set = static_cast<UINT>(std::min<size_t>(count, size - start));
  if (set == 0) return 0;
  std::copy(entries, entries + set, palette->entries.begin() + start);
  RecordPaletteChange(*palette, [&](uint32_t index) {
    RecordBuilder r(tamvel::emf::kSetPaletteEntries);
    r.U32(index).U32(start).U32(set);
    for (UINT i = 0; i < set; ++i) {
      const PALETTEENTRY &e = entries[i];
      r.U8(e.peRed).U8(e.peGreen).U8(e.peBlue).U8(0);  // flags are not recorded
    }
    return r.Finish();
  });
  return set;
}

BOOL ResizePalette(HPALETTE hpal, UINT count) {
  auto palette = Lookup<Palette>(hpal);
  if (!palette || palette->IsStock() || count == 0 || count > kMaxPaletteEntries) return FALSE;
  palette->entries.resize(count, PALETTEENTRY{0, 0, 0, 0});
  RecordPaletteChange(*palette, [&](uint32_t index) {
    RecordBuilder r(tamvel::emf::kResizePalette);
    r.U32(index).U32(count);
    return r.Finish();
  });
  return TRUE;
}

// The force-background flag is not recorded; on a true-colour device it changes nothing.
HPALETTE SelectPalette(HDC hdc, HPALETTE hpal, BOOL /*force_background*/) {
  Dc *dc = LookupDc(hdc);
  auto palette = Lookup<Palette>(hpal);
  if (dc == nullptr || !palette) return nullptr;
  std::shared_ptr<const Palette> previous = dc->state.palette;
  dc->state.palette = palette;
  dc->device().ObjectSelected(*dc, *palette);
  return previous ? HandleFromValue<HPALETTE>(previous->handle) : nullptr;
}

UINT RealizePalette(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr) return GDI_ERROR;
  const Palette *palette = dc->state.palette.get();
  if (MetafileRecorder *recorder = dc->Recorder()) {
    recorder->Append(RecordBuilder(tamvel::emf::kRealizePalette).Finish());
    if (palette != nullptr && !palette->IsStock()) recorder->AddEofPalette(palette->entries);
  }
  return palette != nullptr ? static_cast<UINT>(palette->entries.size()) : 0;
}

// A plain RGB comes back unchanged; a palette-index colour gives the RGB of that entry of the
// DC's palette, and a palette-relative RGB loses its flag.
COLORREF GetNearestColor(HDC hdc, COLORREF colour) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr) return CLR_INVALID;
  return ResolveColour(colour, dc->state.palette.get());
}

UINT GetPaletteEntries(HPALETTE hpal, UINT start, UINT count, PALETTEENTRY *entries) {
  auto palette = Lookup<Palette>(hpal);
  if (!palette) return 0;
  const size_t size = palette->entries.size();
  if (entries == nullptr) return static_cast<UINT>(size);
  if (start >= size) return 0;
  const UINT copied = static_cast<UINT>(std::min<size_t>(count, size - start));
  std::copy(palette->entries.begin() + start, palette->entries.begin() + start + copied, entries);
  return copied;
}
