// The page font and the text state of the recording DC (character extra, text alignment).
#include <cstring>

#include "src/pages/emf_page.h"
#include "src/plot/coordinates.h"
#include "src/text/text_state.h"

namespace tamvel {
namespace {

// A face name of at most 31 bytes into a zero-filled 32-byte field.
void CopyFaceName(char (&destination)[kFaceNameBytes], const char *source) {
  std::memset(destination, 0, kFaceNameBytes);
  for (int i = 0; i < kFaceNameBytes - 1 && source[i] != '\0'; ++i) destination[i] = source[i];
}

}  // namespace

void EmfPage::ReadFontState(FontState *state) const {
  if (state == nullptr) return;
  state->height = font_.lfHeight;
  state->width = font_.lfWidth;
  state->weight = font_.lfWeight;
  state->angle = static_cast<float>(-static_cast<double>(font_.lfEscapement) / 10.0);
  state->italic = font_.lfItalic;
  state->underline = font_.lfUnderline;
  state->strike_out = font_.lfStrikeOut;
  // While recording, the face is the one the DC really selected.
  char face[kFaceNameBytes] = {};
  if (recording_dc_ != nullptr) {
    GetTextFaceA(recording_dc_, kFaceNameBytes, face);
  } else {
    std::memcpy(face, font_.lfFaceName, kFaceNameBytes);
  }
  face[kFaceNameBytes - 1] = '\0';
  CopyFaceName(state->face, face);
}

void EmfPage::ApplyFontState(const FontState &state) {
  font_.lfHeight = state.height;
  font_.lfWidth = state.width;
  font_.lfWeight = state.weight;
  // GDI reads an escapement modulo 3600: an angle too large for its tenths to fit 32 bits is
  // taken within one turn, so that it keeps its direction.
  font_.lfEscapement = -TruncToInt32(TextAngle(state.angle) * 10.0);
  font_.lfOrientation = font_.lfEscapement;
  font_.lfItalic = state.italic;
  font_.lfUnderline = state.underline;
  font_.lfStrikeOut = state.strike_out;
  font_.lfCharSet = SHIFTJIS_CHARSET;
  font_.lfOutPrecision = 0;
  font_.lfClipPrecision = CLIP_LH_ANGLES;
  font_.lfQuality = 0;
  font_.lfPitchAndFamily = 0;
  CopyFaceName(font_.lfFaceName, state.face);

  HFONT previous = font_handle_;
  font_handle_ = CreateFontIndirectA(&font_);
  if (recording_dc_ != nullptr) {
    HGDIOBJ deselected = SelectObject(recording_dc_, GetStockObject(ANSI_FIXED_FONT));
    if (deselected != nullptr) DeleteObject(deselected);
    SelectObject(recording_dc_, font_handle_);
  } else if (previous != nullptr) {
    // Not selected anywhere: without this the old font object would be lost.
    DeleteObject(previous);
  }
}

void EmfPage::SetCharExtra(int extra) {
  if (recording_dc_ != nullptr) SetTextCharacterExtra(recording_dc_, extra);
}

UINT EmfPage::GetTextAlignFlags() const {
  return recording_dc_ != nullptr ? GetTextAlign(recording_dc_) : 0;
}

void EmfPage::SetTextAlignFlags(UINT flags) {
  if (recording_dc_ != nullptr) SetTextAlign(recording_dc_, flags | TA_UPDATECP);
}

COLORREF EmfPage::GetTextColorValue() const {
  return recording_dc_ != nullptr ? GetTextColor(recording_dc_) : 0;
}

}  // namespace tamvel
