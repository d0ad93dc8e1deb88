// The library-wide palette: ten explicit system entries followed by up to 235 collected
// colours, realized in a caller's DC by UpPalette.
#include "src/style/process_palette.h"

#include <cstring>

#include "include/tamvel.h"
#include "src/pages/page_table.h"

namespace tamvel {
namespace {

LOGPALETTE *g_palette_block = nullptr;
HPALETTE g_palette = nullptr;
COLORREF g_colors[kMaxProcessColors] = {};
int g_color_count = 0;

PALETTEENTRY CollectedEntry(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour), PC_NOCOLLAPSE};
}

void ReleasePaletteObjects() {
  if (g_palette_block != nullptr) HeapFree(GetProcessHeap(), 0, g_palette_block);
  if (g_palette != nullptr) DeleteObject(g_palette);
  g_palette_block = nullptr;
  g_palette = nullptr;
}

// The palette is made with the ten explicit entries and the first colour; later colours are
// added to the palette object only.
void CreateProcessPalette(COLORREF first) {
  ReleasePaletteObjects();
  const int entries = kSystemPaletteEntries + 1;
  const SIZE_T bytes = sizeof(LOGPALETTE) + (entries - 1) * sizeof(PALETTEENTRY);
  g_palette_block = static_cast<LOGPALETTE *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
  if (g_palette_block == nullptr) return;
  g_palette_block->palVersion = 0x300;
  g_palette_block->palNumEntries = entries;
  PALETTEENTRY *entry = g_palette_block->palPalEntry;
  for (int i = 0; i < kSystemPaletteEntries; ++i) {
    entry[i] = {static_cast<BYTE>(i), 0, 0, PC_EXPLICIT};
  }
  entry[kSystemPaletteEntries] = CollectedEntry(first);
  g_palette = CreatePalette(g_palette_block);
}

}  // namespace

void CollectProcessColor(COLORREF colour) {
  if (g_color_count >= kMaxProcessColors) return;
  for (int i = 0; i < g_color_count; ++i) {
    if (g_colors[i] == colour) return;
  }
  g_colors[g_color_count++] = colour;
  if (g_color_count == 1) {
    CreateProcessPalette(colour);
  } else if (g_palette != nullptr) {
    const UINT entries = static_cast<UINT>(g_color_count + kSystemPaletteEntries);
    if (ResizePalette(g_palette, entries)) {
      const PALETTEENTRY entry = CollectedEntry(colour);
      SetPaletteEntries(g_palette, entries - 1, 1, &entry);
    }
  }
}

int ProcessColorCount() { return g_color_count; }
HPALETTE ProcessPaletteHandle() { return g_palette; }

void ReleaseProcessPalette() {
  ReleasePaletteObjects();
  g_color_count = 0;
  std::memset(g_colors, 0, sizeof(g_colors));
}

}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL InitPalette(void) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::ReleaseProcessPalette();
}

TAMVEL_API void TAMVEL_CALL UpPalette0(int32_t colour) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::CollectProcessColor(static_cast<COLORREF>(colour));
}

// Collects the palette of page number 1..100 (clamped) and realizes the process palette in
// dc. A page without palette entries changes nothing, not even the DC's palette.
TAMVEL_API void TAMVEL_CALL UpPalette(TAMVEL_HDC dc, int32_t page) {
  using namespace tamvel;
  if (!LibraryAttached()) return;
  HENHMETAFILE metafile = Page(ClampPageNumberToIndex(page)).FinishedMetafile();
  if (dc == nullptr || metafile == nullptr) return;
  const UINT count = GetEnhMetaFilePaletteEntries(metafile, 0, nullptr);
  if (count == 0 || count >= static_cast<UINT>(kMaxProcessColors)) return;
  PALETTEENTRY entries[kMaxProcessColors] = {};
  const UINT read = GetEnhMetaFilePaletteEntries(metafile, count, entries);
  for (UINT i = 0; i < read && i < count; ++i) {
    CollectProcessColor(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
  }
  if (ProcessPaletteHandle() != nullptr) {
    HDC target = reinterpret_cast<HDC>(dc);
    SelectPalette(target, ProcessPaletteHandle(), FALSE);
    RealizePalette(target);
  }
}

}  // extern "C"
