// Pen, brush, colour and mode state of the EMF page, and the page colour list with its page
// palette: colours registered with PALC are recorded as palette indexes.
#include "src/pages/emf_page.h"

namespace tamvel {
namespace {

constexpr COLORREF kPaletteIndexFlag = 0x01000000;

// A colour found in the page colour list is recorded as an index into the page palette.
COLORREF PaletteSubstitute(EmfPage &page, COLORREF colour) {
  const int index = page.FindPageColor(colour);
  return index >= 0 ? (kPaletteIndexFlag | static_cast<COLORREF>(index & 0xFFFF)) : colour;
}

PALETTEENTRY PaletteEntryFor(COLORREF colour) {
  return PALETTEENTRY{GetRValue(colour), GetGValue(colour), GetBValue(colour), PC_NOCOLLAPSE};
}

// Selects a new object in place of the page's previous one, through a stock object, and
// deletes the previous one (the object the stock selection gave back).
void ReplaceSelectedObject(HDC dc, int stock, HGDIOBJ replacement) {
  HGDIOBJ previous = SelectObject(dc, GetStockObject(stock));
  if (previous != nullptr) DeleteObject(previous);
  SelectObject(dc, replacement);
}

}  // namespace

void EmfPage::ReadPenState(UINT *style, int32_t *width, COLORREF *colour) const {
  if (style != nullptr) *style = pen_.lopnStyle;
  if (width != nullptr) *width = pen_.lopnWidth.x;
  if (colour != nullptr) *colour = pen_.lopnColor;
}

void EmfPage::ApplyPenState(UINT style, int32_t width, COLORREF colour) {
  if (recording_dc_ == nullptr) return;
  pen_.lopnStyle = style;
  pen_.lopnWidth.x = width;
  pen_.lopnColor = PaletteSubstitute(*this, colour);
  pen_handle_ = CreatePenIndirect(&pen_);
  ReplaceSelectedObject(recording_dc_, BLACK_PEN, pen_handle_);
}

void EmfPage::ReadBrushState(UINT *style, COLORREF *colour, uintptr_t *hatch) const {
  if (style != nullptr) *style = brush_.lbStyle;
  if (colour != nullptr) *colour = brush_.lbColor;
  if (hatch != nullptr) *hatch = brush_.lbHatch;
}

void EmfPage::ApplyBrushState(UINT style, COLORREF colour, uintptr_t hatch) {
  if (recording_dc_ == nullptr) return;
  brush_.lbStyle = style;
  brush_.lbColor = PaletteSubstitute(*this, colour);
  brush_.lbHatch = hatch;
  brush_handle_ = CreateBrushIndirect(&brush_);
  ReplaceSelectedObject(recording_dc_, WHITE_BRUSH, brush_handle_);
}

void EmfPage::ApplyTextColor(COLORREF colour) {
  if (recording_dc_ != nullptr) SetTextColor(recording_dc_, PaletteSubstitute(*this, colour));
}

void EmfPage::ApplyBkColor(COLORREF colour) {
  if (recording_dc_ != nullptr) SetBkColor(recording_dc_, PaletteSubstitute(*this, colour));
}

void EmfPage::ReadBkMode(int *mode) const {
  if (recording_dc_ != nullptr && mode != nullptr) *mode = GetBkMode(recording_dc_);
}

void EmfPage::ApplyBkMode(int mode) {
  if (recording_dc_ != nullptr) SetBkMode(recording_dc_, mode);
}

void EmfPage::SetRasterOp(int mode) {
  if (recording_dc_ != nullptr) SetROP2(recording_dc_, mode);
}

int EmfPage::FindPageColor(COLORREF colour) {
  if (recording_dc_ == nullptr || page_color_count_ >= kMaxPageColors) return -1;
  for (int i = 0; i < page_color_count_; ++i) {
    if (page_colors_[i] != colour) continue;
    if (page_palette_ != nullptr) {
      SelectPalette(recording_dc_, page_palette_, FALSE);
      RealizePalette(recording_dc_);
    }
    return i;
  }
  return -1;
}

int EmfPage::AddPageColor(COLORREF colour) {
  if (recording_dc_ == nullptr || page_color_count_ >= kMaxPageColors) return -1;
  // A colour the reference display shows exactly needs no palette entry.
  if (GetNearestColor(recording_dc_, colour) == colour) return -1;
  for (int i = 0; i < page_color_count_; ++i) {
    if (page_colors_[i] == colour) return i;
  }
  page_colors_[page_color_count_++] = colour;
  const PALETTEENTRY entry = PaletteEntryFor(colour);
  if (page_color_count_ == 1) {
    FreePagePalette();
    page_palette_block_ = static_cast<LOGPALETTE *>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(LOGPALETTE)));
    if (page_palette_block_ != nullptr) {
      page_palette_block_->palVersion = 0x300;
      page_palette_block_->palNumEntries = 1;
      page_palette_block_->palPalEntry[0] = entry;
      page_palette_ = CreatePalette(page_palette_block_);
    }
  } else if (page_palette_ != nullptr) {
    const UINT count = static_cast<UINT>(page_color_count_);
    if (ResizePalette(page_palette_, count)) SetPaletteEntries(page_palette_, count - 1, 1, &entry);
  }
  return page_color_count_ - 1;
}

}  // namespace tamvel
