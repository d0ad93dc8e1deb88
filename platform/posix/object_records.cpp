// The CREATE records of the metafile object table: pens, brushes, fonts, palettes.
// Colours are written as RGB: PALETTEINDEX/PALETTERGB values are resolved with the palette
// selected in the DC, since no reader resolves them.
#include <algorithm>

#include "platform/emf/emf_records.h"
#include "platform/posix/code_page.h"
#include "platform/posix/dc.h"
#include "platform/posix/record_builder.h"

namespace tamvel::posix {

namespace {

using namespace tamvel::emf;

COLORREF RecordedColour(COLORREF colour, const Dc &dc) {
  return ResolveColour(colour, dc.state.palette.get());
}

// EMR_EXTCREATEPEN without a DIB. With no style entries one unused entry is still written:
// some readers reject the 52-byte form.
std::vector<uint8_t> ExtPenRecord(uint32_t index, DWORD style, LONG width, UINT brush_style,
                                  COLORREF colour, uint32_t hatch,
                                  const std::vector<DWORD> &entries) {
  RecordBuilder r(kExtCreatePen);
  r.U32(index).U32(0).U32(0).U32(0).U32(0);
  r.U32(style).U32(static_cast<uint32_t>(width)).U32(brush_style).U32(colour).U32(hatch);
  r.U32(static_cast<uint32_t>(entries.size()));
  for (DWORD e : entries) r.U32(e);
  if (entries.empty()) r.U32(0);
  return r.Finish();
}

// A 1-bpp DIB of the pattern: bottom-up rows padded to 4 bytes. The bitmap rows are top-down
// and padded to 2 bytes; the bits themselves stay as they are.
std::vector<uint8_t> BottomUpDibBits(const Brush &brush) {
  const size_t source_row = (static_cast<size_t>(brush.pattern_width) + 15) / 16 * 2;
  const size_t dib_row = (static_cast<size_t>(brush.pattern_width) + 31) / 32 * 4;
  const size_t rows = static_cast<size_t>(brush.pattern_height);
  std::vector<uint8_t> bits(dib_row * rows, 0);
  for (size_t y = 0; y < rows; ++y) {
    const uint8_t *src = brush.pattern_bits.data() + (rows - 1 - y) * source_row;
    std::copy(src, src + source_row, bits.begin() + y * dib_row);
  }
  return bits;
}

std::vector<uint8_t> MonoBrushRecord(uint32_t index, const Brush &brush) {
  std::vector<uint8_t> bits = BottomUpDibBits(brush);
  RecordBuilder r(kCreateMonoBrush);
  r.U32(index).U32(0 /* DIB_RGB_COLORS */).U32(32).U32(48).U32(80);
  r.U32(static_cast<uint32_t>(bits.size()));
  // BITMAPINFOHEADER, then the two-colour table.
  r.U32(40).I32(brush.pattern_width).I32(brush.pattern_height).U16(1).U16(1);
  r.U32(0).U32(static_cast<uint32_t>(bits.size())).I32(0).I32(0).U32(2).U32(2);
  r.U32(0x00000000).U32(0x00FFFFFF);
  r.Bytes(bits.data(), bits.size());
  return r.Finish();
}

}  // namespace

std::vector<uint8_t> Pen::EncodeCreateRecord(uint32_t index, const Dc &dc) const {
  const COLORREF colour = RecordedColour(this->colour, dc);
  if (extended) {
    return ExtPenRecord(index, style, width, brush_style, colour, static_cast<uint32_t>(hatch),
                        style_entries);
  }
  if (!IsNull() && IsGeometric(ScaleX(dc.state.mapping))) {
    // A wide pen is drawn geometric anyway; saying so makes every reader draw its width.
    return ExtPenRecord(index, PS_GEOMETRIC | LineStyle() | PS_ENDCAP_ROUND | PS_JOIN_ROUND, width,
                        BS_SOLID, colour, 0, {});
  }
  RecordBuilder r(kCreatePen);
  r.U32(index).U32(style).I32(width).I32(0).U32(colour);
  return r.Finish();
}

std::vector<uint8_t> Brush::EncodeCreateRecord(uint32_t index, const Dc &dc) const {
  if (style == BS_PATTERN) return MonoBrushRecord(index, *this);
  RecordBuilder r(kCreateBrushIndirect);
  r.U32(index).U32(style).U32(RecordedColour(colour, dc)).U32(static_cast<uint32_t>(hatch));
  return r.Finish();
}

// EMR_EXTCREATEFONTINDIRECTW with a LogFontExDv (368 bytes): LOGFONTW, empty full name,
// style and script, and a design vector without axes.
std::vector<uint8_t> Font::EncodeCreateRecord(uint32_t index, const Dc &) const {
  constexpr uint32_t kDesignVectorSignature = 0x08007664;
  RecordBuilder r(kExtCreateFontIndirectW);
  r.U32(index);
  r.I32(log.lfHeight).I32(log.lfWidth).I32(log.lfEscapement).I32(log.lfOrientation);
  r.I32(log.lfWeight);
  r.U8(log.lfItalic).U8(log.lfUnderline).U8(log.lfStrikeOut).U8(log.lfCharSet);
  r.U8(log.lfOutPrecision).U8(log.lfClipPrecision).U8(log.lfQuality).U8(log.lfPitchAndFamily);
  std::u16string face = Cp932ToUtf16(log.lfFaceName);
  face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
  for (char16_t c : face) r.U16(c);
  r.Zeros((LF_FACESIZE - face.size()) * 2);
  r.Zeros((64 + 32 + 32) * 2);
  r.U32(kDesignVectorSignature).U32(0);
  return r.Finish();
}

std::vector<uint8_t> Palette::EncodeCreateRecord(uint32_t index, const Dc &) const {
  RecordBuilder r(kCreatePalette);
  const size_t count = std::min<size_t>(entries.size(), 0xFFFF);
  r.U32(index).U16(0x300).U16(static_cast<uint16_t>(count));
  r.Bytes(entries.data(), count * sizeof(PALETTEENTRY));
  return r.Finish();
}

}  // namespace tamvel::posix
