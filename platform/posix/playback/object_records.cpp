// The metafile's object table: CREATE records fill its slots, SELECTOBJECT makes the target's
// object from the slot at the transform then in force (widths and heights are logical units
// of the recording, scaled into the target's), palettes are made when they are created.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/posix/code_page.h"
#include "platform/posix/playback/player.h"

namespace tamvel::posix::playback {

namespace {

// A scaled size rounded, never to 0 (the "default" of a LOGPEN or LOGFONT) from a non-zero one.
LONG ScaledSize(double v) {
  const LONG r = RoundToLong(v);
  return (r == 0 && v != 0) ? (v > 0 ? 1 : -1) : r;
}

std::vector<PALETTEENTRY> Win32Entries(const std::vector<emf::PaletteEntry> &entries) {
  std::vector<PALETTEENTRY> out;
  out.reserve(entries.size());
  for (const emf::PaletteEntry &e : entries) out.push_back({e.red, e.green, e.blue, e.flags});
  return out;
}

}  // namespace

Slot *Player::SlotAt(uint32_t index) {
  if (index == 0 || index >= slots_.size()) return nullptr;  // 0 is the metafile itself
  return &slots_[index];
}

HGDIOBJ Player::Keep(HGDIOBJ object) {
  if (object != nullptr) made_.push_back(object);
  return object;
}

void Player::On(const emf::Record &, const emf::Pen &v) {
  if (Slot *slot = SlotAt(v.index)) *slot = v;
}

void Player::On(const emf::Record &, const emf::ExtPen &v) {
  if (Slot *slot = SlotAt(v.index)) *slot = v;
}

void Player::On(const emf::Record &, const emf::Brush &v) {
  if (Slot *slot = SlotAt(v.index)) *slot = v;
}

void Player::On(const emf::Record &, const emf::PatternBrush &v) {
  if (Slot *slot = SlotAt(v.index)) *slot = v;
}

void Player::On(const emf::Record &, const emf::Font &v) {
  if (Slot *slot = SlotAt(v.index)) *slot = v;
}

void Player::On(const emf::Record &, const emf::Palette &v) {
  Slot *slot = SlotAt(v.index);
  if (slot == nullptr || v.entries.empty() || v.entries.size() > 1024) return;
  const std::vector<PALETTEENTRY> entries = Win32Entries(v.entries);
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto *log = reinterpret_cast<LOGPALETTE *>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  std::copy(entries.begin(), entries.end(), log->palPalEntry);
  *slot = PaletteObject{static_cast<HPALETTE>(Keep(CreatePalette(log)))};
}

void Player::On(const emf::Record &, const emf::PaletteEntries &v) {
  Slot *slot = SlotAt(v.index);
  auto *palette = slot ? std::get_if<PaletteObject>(slot) : nullptr;
  if (palette == nullptr || palette->palette == nullptr) return;
  const std::vector<PALETTEENTRY> entries = Win32Entries(v.entries);
  SetPaletteEntries(palette->palette, v.start, static_cast<UINT>(entries.size()), entries.data());
}

void Player::On(const emf::Record &, const emf::PaletteSize &v) {
  Slot *slot = SlotAt(v.index);
  auto *palette = slot ? std::get_if<PaletteObject>(slot) : nullptr;
  if (palette == nullptr || palette->palette == nullptr || v.count < 1 || v.count > 1024) return;
  ResizePalette(palette->palette, v.count);
}

void Player::Select(uint32_t index) {
  if (index & emf::kStockObjectFlag) {
    const int id = static_cast<int>(index & ~emf::kStockObjectFlag);
    if (id == DEFAULT_PALETTE) {
      ::SelectPalette(hdc_, static_cast<HPALETTE>(GetStockObject(id)), FALSE);
    } else if (HGDIOBJ stock = GetStockObject(id)) {
      SelectObject(hdc_, stock);
    }
    return;
  }
  Slot *slot = SlotAt(index);
  if (slot == nullptr) return;
  if (std::holds_alternative<PaletteObject>(*slot)) return SelectPalette(index);
  HGDIOBJ made = std::visit([&](const auto &created) { return Make(created); }, *slot);
  if (HGDIOBJ object = Keep(made)) SelectObject(hdc_, object);
}

void Player::SelectPalette(uint32_t index) {
  if (index & emf::kStockObjectFlag) return Select(index);
  Slot *slot = SlotAt(index);
  auto *palette = slot ? std::get_if<PaletteObject>(slot) : nullptr;
  if (palette && palette->palette) ::SelectPalette(hdc_, palette->palette, FALSE);
}

HGDIOBJ Player::Make(const emf::Pen &p) const {
  const double length_scale = std::sqrt(std::fabs(full_.Determinant()));
  LOGPEN pen{p.style, {ScaledSize(p.width * length_scale), 0}, p.color};
  if (p.width < 0) pen.lopnWidth.x = 0;
  return CreatePenIndirect(&pen);
}

HGDIOBJ Player::Make(const emf::ExtPen &p) const {
  const double length_scale = std::sqrt(std::fabs(full_.Determinant()));
  const bool geometric = (p.style & PS_TYPE_MASK) == PS_GEOMETRIC;
  LOGBRUSH brush{p.brush_style == BS_NULL ? UINT{BS_NULL} : UINT{BS_SOLID}, p.color, 0};
  std::vector<DWORD> entries;
  for (uint32_t e : p.style_entries) {
    entries.push_back(geometric ? static_cast<DWORD>(std::clamp(e * length_scale, 0.0, 1e9)) : e);
  }
  const DWORD width =
      geometric ? static_cast<DWORD>(std::clamp(p.width * length_scale, 0.0, 1e9)) : 1;
  return ExtCreatePen(p.style, width, &brush, static_cast<DWORD>(entries.size()),
                      entries.empty() ? nullptr : entries.data());
}

HGDIOBJ Player::Make(const emf::Brush &b) const {
  UINT style = b.style;
  if (style != BS_SOLID && style != BS_NULL && style != BS_HATCHED) style = BS_SOLID;
  LOGBRUSH brush{style, b.color, b.hatch};
  return CreateBrushIndirect(&brush);
}

HGDIOBJ Player::Make(const emf::PatternBrush &pattern) const {
  const emf::Dib &dib = pattern.dib;
  const int width = dib.width;
  const int height = dib.height < 0 ? -dib.height : dib.height;
  if (dib.bit_count != 1 || width < 1 || height < 1 || width > 256 || height > 256) {
    // Colour patterns show as a mid grey: GDI's average of an unknown pattern.
    LOGBRUSH brush{BS_SOLID, RGB(128, 128, 128), 0};
    return CreateBrushIndirect(&brush);
  }
  // DIB rows (bottom-up unless the height is negative, padded to 32 bits) to the top-down,
  // 16-bit padded rows CreateBitmap takes; the bit values stay as they are.
  const size_t dib_row = (static_cast<size_t>(width) + 31) / 32 * 4;
  const size_t bitmap_row = (static_cast<size_t>(width) + 15) / 16 * 2;
  if (dib.bits.size() < dib_row * height) return nullptr;
  std::vector<uint8_t> rows(bitmap_row * height);
  for (int y = 0; y < height; ++y) {
    const int source = dib.height > 0 ? height - 1 - y : y;
    std::memcpy(&rows[y * bitmap_row], &dib.bits[source * dib_row], bitmap_row);
  }
  HBITMAP bitmap = CreateBitmap(width, height, 1, 1, rows.data());
  if (bitmap == nullptr) return nullptr;
  LOGBRUSH brush{BS_PATTERN, 0, reinterpret_cast<uintptr_t>(bitmap)};
  HBRUSH made = CreateBrushIndirect(&brush);
  DeleteObject(bitmap);  // the brush keeps its own copy of the bits
  return made;
}

HGDIOBJ Player::Make(const emf::Font &created) const {
  const emf::LogFont &f = created.font;
  LOGFONTA font{};
  font.lfHeight = f.height == 0 ? 0 : ScaledSize(f.height * full_.YScale());
  font.lfWidth = f.width == 0 ? 0 : ScaledSize(f.width * full_.XScale());
  // An escapement turns the other way under a mapping that flips one axis: keep the
  // direction the text had on the recording's device, through a mirrored playback too.
  const bool target_flip = ScaleX(dc_.state.mapping) * ScaleY(dc_.state.mapping) < 0;
  const int turn = (RecordedFlip() != target_flip) != Mirrored() ? -1 : 1;
  font.lfEscapement = turn * ReducedTenths(f.escapement);
  font.lfOrientation = turn * ReducedTenths(f.orientation);
  font.lfWeight = f.weight;
  font.lfItalic = f.italic;
  font.lfUnderline = f.underline;
  font.lfStrikeOut = f.strike_out;
  font.lfCharSet = f.charset;
  font.lfOutPrecision = f.out_precision;
  font.lfClipPrecision = f.clip_precision;
  font.lfQuality = f.quality;
  font.lfPitchAndFamily = f.pitch_and_family;
  const std::string face = Utf16ToCp932(f.face);
  std::strncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectA(&font);
}

}  // namespace tamvel::posix::playback
