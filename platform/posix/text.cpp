// TextOutA, GetTextExtentPoint32A, GetTextExtentPointA, GetTextMetricsA and GetTextFaceA, and
// the placing and recording of text runs.
#include "platform/posix/text.h"

#include <cmath>
#include <cstring>

#include "platform/emf/emf_records.h"
#include "platform/posix/code_page.h"
#include "platform/posix/dc.h"
#include "platform/posix/mapping.h"
#include "platform/posix/recorder.h"

namespace tamvel::posix {
namespace {

struct Vector {
  double x = 0.0;
  double y = 0.0;
};
Vector operator+(Vector a, Vector b) { return {a.x + b.x, a.y + b.y}; }
Vector operator*(double s, Vector v) { return {s * v.x, s * v.y}; }
// Counter-clockwise on the screen by 90 degrees (device y down): a baseline's "up".
Vector Up(Vector baseline) { return {baseline.y, -baseline.x}; }

const LOGFONTA &FontOf(const Dc &dc) {
  static const LOGFONTA kNoFont = [] {
    LOGFONTA font{};
    font.lfHeight = 16;
    std::strcpy(font.lfFaceName, "System");
    return font;
  }();
  return dc.state.font != nullptr ? dc.state.font->log : kNoFont;
}

double AbsScaleX(const Dc &dc) { return std::fabs(ScaleX(dc.state.mapping)); }
double AbsScaleY(const Dc &dc) { return std::fabs(ScaleY(dc.state.mapping)); }

Vector BaselineOf(const Dc &dc, int escapement) {
  Vector d;
  BaselineDirection(escapement, ScaleX(dc.state.mapping) < 0, ScaleY(dc.state.mapping) < 0, &d.x,
                    &d.y);
  return d;
}

// The character extra in whole device pixels, as GDI rounds it.
int ExtraPixels(const Dc &dc) {
  return static_cast<int>(RoundToLong(dc.state.char_extra * AbsScaleX(dc)));
}

// Logical advances whose running sum follows the device positions (no drift from rounding).
void LogicalAdvances(const Dc &dc, TextRun *run) {
  const double scale = AbsScaleX(dc);
  run->dx.clear();
  double position = 0.0;
  LONG previous = 0;
  for (double advance : run->advances) {
    position += advance;
    const LONG logical = scale > 0.0 ? RoundToLong(position / scale) : 0;
    run->dx.push_back(static_cast<int>(logical - previous));
    previous = logical;
  }
}

TextRun EmptyRun(const Dc &dc) {
  TextRun run;
  run.log = FontOf(dc);
  run.font = RealizeFont(run.log, AbsScaleX(dc), AbsScaleY(dc));
  run.align = dc.state.text_align & ~static_cast<UINT>(TA_UPDATECP);
  return run;
}

// Offsets of the reference point from the baseline-left origin, device pixels along the
// baseline and along its "up", for the text-align flags.
double AlongOffset(UINT align, double width) {
  if ((align & TA_CENTER) == TA_CENTER) return width / 2.0;
  if ((align & TA_RIGHT) == TA_RIGHT) return width;
  return 0.0;
}
double UpOffset(UINT align, const RealizedFont &font) {
  if ((align & TA_BASELINE) == TA_BASELINE) return 0.0;
  if ((align & TA_BOTTOM) == TA_BOTTOM) return -font.descent;
  return font.ascent;
}

Vector ToDeviceExact(const Dc &dc, POINT logical) {
  Vector v;
  LogicalToDevice(dc.state.mapping, logical.x, logical.y, v.x, v.y);
  return v;
}

POINT ToLogicalRounded(const Dc &dc, Vector device) {
  double x = 0.0;
  double y = 0.0;
  DeviceToLogical(dc.state.mapping, device.x, device.y, x, y);
  return POINT{RoundToLong(x), RoundToLong(y)};
}

// One EMR_EXTTEXTOUTW piece: a stretch of the run written with one font and one baseline.
struct Piece {
  size_t first = 0;
  size_t count = 0;
  Vector origin;    // device, baseline-left
  Vector baseline;  // device unit vector
  double width = 0.0;
  bool upright = false;
};

void AppendTextRecord(Dc &dc, MetafileRecorder &recorder, const TextRun &run, const Piece &piece,
                      const std::vector<int> &dx) {
  const RealizedFont &font = run.font;
  const Vector up = Up(piece.baseline);
  const Vector reference_device = piece.origin +
                                  AlongOffset(run.align, piece.width) * piece.baseline +
                                  UpOffset(run.align, font) * up;
  const POINT reference = ToLogicalRounded(dc, reference_device);

  DeviceBox box;
  for (double along : {0.0, piece.width}) {
    for (double across : {static_cast<double>(-font.descent), static_cast<double>(font.ascent)}) {
      const Vector corner = piece.origin + along * piece.baseline + across * up;
      box.Add(RoundToLong(std::floor(corner.x)), RoundToLong(std::floor(corner.y)));
      box.Add(RoundToLong(std::ceil(corner.x)), RoundToLong(std::ceil(corner.y)));
    }
  }
  const ReferenceDevice &ref = recorder.reference();
  const double mm_per_px_x = static_cast<double>(ref.millimetres.cx) / ref.pixels.cx;
  const double mm_per_px_y = static_cast<double>(ref.millimetres.cy) / ref.pixels.cy;
  const uint32_t n = static_cast<uint32_t>(piece.count);
  const uint32_t string_bytes = (2 * n + 3) & ~3u;

  RecordBuilder record(emf::kExtTextOutW);
  record.Rect(RECT{0, 0, -1, -1});  // Bounds, filled in by the recorder
  record.U32(1);                    // GM_COMPATIBLE
  record.F32(static_cast<float>(100.0 * AbsScaleX(dc) * mm_per_px_x));
  record.F32(static_cast<float>(100.0 * AbsScaleY(dc) * mm_per_px_y));
  record.Point(reference);
  record.U32(n);
  record.U32(76);  // offString
  record.U32(0);   // fOptions
  record.Rect(RECT{0, 0, -1, -1});
  record.U32(76 + string_bytes);  // offDx
  for (size_t i = 0; i < piece.count; ++i) record.U16(run.text[piece.first + i]);
  record.Zeros(string_bytes - 2 * n);
  for (size_t i = 0; i < piece.count; ++i) record.I32(dx[piece.first + i]);
  recorder.AppendDrawing(std::move(record), box);
}

// Splits a run into pieces: one for a horizontal run; for a vertical face every upright
// character alone and every stretch of turned characters together.
std::vector<Piece> SplitIntoPieces(const std::vector<PlacedGlyph> &glyphs) {
  std::vector<Piece> pieces;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const PlacedGlyph &g = glyphs[i];
    if (!pieces.empty() && !g.upright && !pieces.back().upright) {
      pieces.back().count += 1;
      pieces.back().width += g.advance;
      continue;
    }
    Piece piece;
    piece.first = i;
    piece.count = 1;
    piece.origin = {g.x, g.y};
    piece.baseline = {g.bx, g.by};
    piece.width = g.advance;
    piece.upright = g.upright;
    pieces.push_back(piece);
  }
  return pieces;
}

// Escapement that stands a glyph upright in a column written with `escapement`: the baseline
// turned a quarter counter-clockwise on the screen.
int UprightEscapement(const Dc &dc, int escapement) {
  const bool flipped = (ScaleX(dc.state.mapping) < 0) != (ScaleY(dc.state.mapping) < 0);
  return (ReducedTenths(escapement) + (flipped ? -900 : 900)) % 3600;
}

// A font for one kind of piece: the run's font without "@", at the escapement given. Selected
// through the ordinary calls, so the recorder writes its records; the caller restores the
// previous font and deletes this one.
HFONT CreatePieceFont(const LOGFONTA &log, int escapement) {
  LOGFONTA piece = log;
  std::memset(piece.lfFaceName, 0, LF_FACESIZE);
  const char *face = log.lfFaceName[0] == '@' ? log.lfFaceName + 1 : log.lfFaceName;
  std::memcpy(piece.lfFaceName, face, strnlen(face, LF_FACESIZE - 1));
  piece.lfEscapement = escapement;
  piece.lfOrientation = escapement;
  return CreateFontIndirectA(&piece);
}

void RecordRun(HDC hdc, Dc &dc, MetafileRecorder &recorder, const TextRun &run) {
  const std::vector<PlacedGlyph> glyphs = PlaceGlyphs(dc, run);
  if (glyphs.empty()) return;
  const std::vector<Piece> pieces = SplitIntoPieces(glyphs);
  if (!run.font.vertical) {
    AppendTextRecord(dc, recorder, run, pieces.front(), run.dx);
    return;
  }
  // Pieces get their own logical advances so that each one sums to its own width.
  std::vector<int> dx(run.advances.size());
  const double scale = AbsScaleX(dc);
  for (size_t i = 0; i < run.advances.size(); ++i) {
    dx[i] = scale > 0.0 ? static_cast<int>(RoundToLong(run.advances[i] / scale)) : 0;
  }
  HFONT turned = nullptr;
  HFONT upright = nullptr;
  HGDIOBJ original = nullptr;
  int selected = -1;  // which piece font is selected: 0 turned, 1 upright
  for (const Piece &piece : pieces) {
    HFONT &font = piece.upright ? upright : turned;
    if (font == nullptr) {
      font = CreatePieceFont(run.log, piece.upright ? UprightEscapement(dc, run.log.lfEscapement)
                                                    : run.log.lfEscapement);
    }
    if (selected != (piece.upright ? 1 : 0)) {
      HGDIOBJ previous = SelectObject(hdc, font);
      if (original == nullptr) original = previous;
      selected = piece.upright ? 1 : 0;
    }
    AppendTextRecord(dc, recorder, run, piece, dx);
  }
  if (original != nullptr) SelectObject(hdc, original);
  if (turned != nullptr) DeleteObject(turned);
  if (upright != nullptr) DeleteObject(upright);
}

}  // namespace

TextRun MeasureShiftJis(const Dc &dc, const char *bytes, int count) {
  TextRun run = EmptyRun(dc);
  const int extra = ExtraPixels(dc);
  for (const ShiftJisChar &ch : DecodeShiftJis(bytes, count)) {
    run.text.push_back(ch.unit);
    run.full_width.push_back(ch.double_byte);
    const double advance = run.font.Advance(ch.unit, ch.double_byte) + extra;
    run.advances.push_back(advance);
    run.width += advance;
  }
  LogicalAdvances(dc, &run);
  return run;
}

TextRun MeasureUtf16(const Dc &dc, std::u16string_view text, const int32_t *logical_dx) {
  TextRun run = EmptyRun(dc);
  const int extra = ExtraPixels(dc);
  for (size_t i = 0; i < text.size(); ++i) {
    const bool full = IsFullWidth(text[i]);
    run.text.push_back(text[i]);
    run.full_width.push_back(full);
    const double advance = logical_dx != nullptr ? logical_dx[i] * AbsScaleX(dc)
                                                 : run.font.Advance(text[i], full) + extra;
    run.advances.push_back(advance);
    run.width += advance;
  }
  if (logical_dx != nullptr) {
    run.dx.assign(logical_dx, logical_dx + text.size());
  } else {
    LogicalAdvances(dc, &run);
  }
  return run;
}

std::vector<PlacedGlyph> PlaceGlyphs(const Dc &dc, const TextRun &run) {
  std::vector<PlacedGlyph> glyphs;
  const RealizedFont &font = run.font;
  const Vector d = BaselineOf(dc, font.escapement);
  const Vector up = Up(d);
  const Vector origin = ToDeviceExact(dc, run.reference) +
                        (-AlongOffset(run.align, run.width)) * d +
                        (-UpOffset(run.align, font)) * up;
  const double em = font.full_advance;
  double along = 0.0;
  for (size_t i = 0; i < run.text.size(); ++i) {
    PlacedGlyph g;
    g.unit = run.text[i];
    g.advance = i < run.advances.size() ? run.advances[i] : 0.0;
    g.face = font.face;
    if (font.face != nullptr && !font.face->japanese && font.face->ft_face != nullptr &&
        FT_Get_Char_Index(font.face->ft_face, g.unit) == 0 && IsFullWidth(g.unit)) {
      g.face = &FallbackFace();
    }
    const bool full = i < run.full_width.size() && run.full_width[i];
    g.upright = font.vertical && full && !TurnsInVerticalText(g.unit);
    Vector at = origin + along * d;
    Vector baseline = d;
    if (g.upright) {
      // Standing in the cell: its top at the start of the cell, centred across the column.
      baseline = up;
      at = at + static_cast<double>(font.ascent) * d +
           (-font.descent + (font.height - em) / 2.0) * up;
      if (ShiftsInVerticalText(g.unit)) at = at + (em / 2.0) * up + (-font.height / 2.0) * d;
    }
    g.x = at.x;
    g.y = at.y;
    g.bx = baseline.x;
    g.by = baseline.y;
    glyphs.push_back(g);
    along += g.advance;
  }
  return glyphs;
}

BOOL OutputTextRun(HDC hdc, int x, int y, TextRun run) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr) return FALSE;
  const bool update = (dc->state.text_align & TA_UPDATECP) != 0;
  run.reference = update ? dc->state.position : POINT{x, y};
  if (MetafileRecorder *recorder = dc->Recorder()) {
    RecordRun(hdc, *dc, *recorder, run);
  } else {
    dc->device().DrawText(*dc, run);
  }
  if (update && (run.align & TA_CENTER) != TA_CENTER) {
    // Left-aligned text leaves the position at its end, right-aligned text at its start.
    const Vector d = BaselineOf(*dc, run.font.escapement);
    const double along = (run.align & TA_RIGHT) == TA_RIGHT ? -run.width : run.width;
    const POINT end = ToLogicalRounded(*dc, ToDeviceExact(*dc, run.reference) + along * d);
    dc->device().MoveTo(*dc, end);
    dc->state.position = end;
  }
  return TRUE;
}

}  // namespace tamvel::posix

using tamvel::posix::Dc;
using tamvel::posix::LookupDc;

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr || count < 0 || (text == nullptr && count > 0)) return FALSE;
  if (count == 0) return TRUE;
  return tamvel::posix::OutputTextRun(hdc, x, y, tamvel::posix::MeasureShiftJis(*dc, text, count));
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, SIZE *size) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0)) {
    return FALSE;
  }
  const tamvel::posix::TextRun run = tamvel::posix::MeasureShiftJis(*dc, text, count);
  const double scale_x = std::fabs(tamvel::posix::ScaleX(dc->state.mapping));
  const double scale_y = std::fabs(tamvel::posix::ScaleY(dc->state.mapping));
  size->cx = scale_x > 0.0 ? tamvel::posix::RoundToLong(run.width / scale_x) : 0;
  size->cy = scale_y > 0.0 ? tamvel::posix::RoundToLong(run.font.height / scale_y) : 0;
  return TRUE;
}

BOOL GetTextExtentPointA(HDC hdc, LPCSTR text, int count, SIZE *size) {
  return GetTextExtentPoint32A(hdc, text, count, size);
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA *metrics) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr || metrics == nullptr) return FALSE;
  const double scale_x = std::fabs(tamvel::posix::ScaleX(dc->state.mapping));
  const double scale_y = std::fabs(tamvel::posix::ScaleY(dc->state.mapping));
  if (!(scale_x > 0.0) || !(scale_y > 0.0)) return FALSE;
  const LOGFONTA &log = tamvel::posix::FontOf(*dc);
  const tamvel::posix::RealizedFont font = tamvel::posix::RealizeFont(log, scale_x, scale_y);
  tamvel::posix::FillTextMetrics(font, 1.0 / scale_x, 1.0 / scale_y, metrics);
  return TRUE;
}

int GetTextFaceA(HDC hdc, int size, LPSTR face) {
  Dc *dc = LookupDc(hdc);
  if (dc == nullptr) return 0;
  const LOGFONTA &log = tamvel::posix::FontOf(*dc);
  const int length = static_cast<int>(strnlen(log.lfFaceName, LF_FACESIZE - 1));
  // Without a buffer the size needed, terminator included; with one the bytes copied
  // without it.
  if (face == nullptr) return length + 1;
  if (size <= 0) return 0;
  const int copied = length < size - 1 ? length : size - 1;
  std::memcpy(face, log.lfFaceName, static_cast<size_t>(copied));
  face[copied] = '\0';
  return copied;
}
