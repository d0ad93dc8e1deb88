// Enhanced-metafile record types and fixed values, shared by the recorder, the decoder, the
// player and the tests. Layouts of the individual records live with their encoders and the
// decoder; all integers are little-endian.
#pragma once

#include <cstdint>

namespace tamvel::emf {

// Every record type once: X(Name, value, layout). The enum below (kName), the names the
// decoder and `tamvel dump` print ("EMR_" and Name in capitals: EMR_POLYLINE16) and the
// decoder's dispatch are made from this list. `layout` says how the decoder reads a record
// (its Decode<layout>; Undecoded keeps it Raw). The enumerators are not the <wingdi.h>
// macros' names, so Windows builds include both without a clash.
#define TAMVEL_EMF_RECORD_TYPES(X)                  \
  X(Header, 1, Header)                              \
  X(PolyBezier, 2, Poly32)                          \
  X(Polygon, 3, Poly32)                             \
  X(Polyline, 4, Poly32)                            \
  X(PolyBezierTo, 5, Poly32)                        \
  X(PolylineTo, 6, Poly32)                          \
  X(PolyPolyline, 7, PolyPoly32)                    \
  X(PolyPolygon, 8, PolyPoly32)                     \
  X(SetWindowExtEx, 9, PointValue)                  \
  X(SetWindowOrgEx, 10, PointValue)                 \
  X(SetViewportExtEx, 11, PointValue)               \
  X(SetViewportOrgEx, 12, PointValue)               \
  X(SetBrushOrgEx, 13, PointValue)                  \
  X(Eof, 14, Eof)                                   \
  X(SetPixelV, 15, PixelV)                          \
  X(SetMapperFlags, 16, Value)                      \
  X(SetMapMode, 17, Value)                          \
  X(SetBkMode, 18, Value)                           \
  X(SetPolyFillMode, 19, Value)                     \
  X(SetRop2, 20, Value)                             \
  X(SetStretchBltMode, 21, Value)                   \
  X(SetTextAlign, 22, Value)                        \
  X(SetColorAdjustment, 23, Undecoded)              \
  X(SetTextColor, 24, Value)                        \
  X(SetBkColor, 25, Value)                          \
  X(OffsetClipRgn, 26, Undecoded)                   \
  X(MoveToEx, 27, PointValue)                       \
  X(SetMetaRgn, 28, Empty)                          \
  X(ExcludeClipRect, 29, RectValue)                 \
  X(IntersectClipRect, 30, RectValue)               \
  X(ScaleViewportExtEx, 31, ExtentScale)            \
  X(ScaleWindowExtEx, 32, ExtentScale)              \
  X(SaveDc, 33, Empty)                              \
  X(RestoreDc, 34, Value)                           \
  X(SetWorldTransform, 35, SetWorldTransform)       \
  X(ModifyWorldTransform, 36, ModifyWorldTransform) \
  X(SelectObject, 37, Value)                        \
  X(CreatePen, 38, Pen)                             \
  X(CreateBrushIndirect, 39, Brush)                 \
  X(DeleteObject, 40, Value)                        \
  X(AngleArc, 41, Undecoded)                        \
  X(Ellipse, 42, RectValue)                         \
  X(Rectangle, 43, RectValue)                       \
  X(RoundRect, 44, RoundRect)                       \
  X(Arc, 45, ArcValue)                              \
  X(Chord, 46, ArcValue)                            \
  X(Pie, 47, ArcValue)                              \
  X(SelectPalette, 48, Value)                       \
  X(CreatePalette, 49, Palette)                     \
  X(SetPaletteEntries, 50, PaletteEntries)          \
  X(ResizePalette, 51, PaletteSize)                 \
  X(RealizePalette, 52, Empty)                      \
  X(ExtFloodFill, 53, Undecoded)                    \
  X(LineTo, 54, PointValue)                         \
  X(ArcTo, 55, ArcValue)                            \
  X(PolyDraw, 56, Undecoded)                        \
  X(SetArcDirection, 57, Value)                     \
  X(SetMiterLimit, 58, Value)                       \
  X(BeginPath, 59, Empty)                           \
  X(EndPath, 60, Empty)                             \
  X(CloseFigure, 61, Empty)                         \
  X(FillPath, 62, RectValue)                        \
  X(StrokeAndFillPath, 63, RectValue)               \
  X(StrokePath, 64, RectValue)                      \
  X(FlattenPath, 65, Empty)                         \
  X(WidenPath, 66, Empty)                           \
  X(SelectClipPath, 67, Value)                      \
  X(AbortPath, 68, Empty)                           \
  X(GdiComment, 70, Comment)                        \
  X(FillRgn, 71, Undecoded)                         \
  X(FrameRgn, 72, Undecoded)                        \
  X(InvertRgn, 73, Undecoded)                       \
  X(PaintRgn, 74, Undecoded)                        \
  X(ExtSelectClipRgn, 75, ClipRegion)               \
  X(BitBlt, 76, BitBlt)                             \
  X(StretchBlt, 77, Undecoded)                      \
  X(MaskBlt, 78, Undecoded)                         \
  X(PlgBlt, 79, Undecoded)                          \
  X(SetDiBitsToDevice, 80, Undecoded)               \
  X(StretchDiBits, 81, StretchDiBits)               \
  X(ExtCreateFontIndirectW, 82, Font)               \
  X(ExtTextOutA, 83, TextA)                         \
  X(ExtTextOutW, 84, TextW)                         \
  X(PolyBezier16, 85, Poly16)                       \
  X(Polygon16, 86, Poly16)                          \
  X(Polyline16, 87, Poly16)                         \
  X(PolyBezierTo16, 88, Poly16)                     \
  X(PolylineTo16, 89, Poly16)                       \
  X(PolyPolyline16, 90, PolyPoly16)                 \
  X(PolyPolygon16, 91, PolyPoly16)                  \
  X(PolyDraw16, 92, Undecoded)                      \
  X(CreateMonoBrush, 93, PatternBrush)              \
  X(CreateDibPatternBrushPt, 94, PatternBrush)      \
  X(ExtCreatePen, 95, ExtPen)                       \
  X(PolyTextOutA, 96, Undecoded)                    \
  X(PolyTextOutW, 97, Undecoded)                    \
  X(SetIcmMode, 98, Value)                          \
  X(CreateColorSpace, 99, Undecoded)                \
  X(SetColorSpace, 100, Undecoded)                  \
  X(DeleteColorSpace, 101, Undecoded)               \
  X(SetLayout, 115, Value)

enum RecordType : uint32_t {
#define TAMVEL_EMF_ENUMERATOR(name, value, layout) k##name = value,
  TAMVEL_EMF_RECORD_TYPES(TAMVEL_EMF_ENUMERATOR)
#undef TAMVEL_EMF_ENUMERATOR
};

constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kVersion = 0x00010000;
constexpr uint32_t kHeaderSize = 108;  // the form with szlMicrometers
constexpr uint32_t kStockObjectFlag = 0x80000000;

// The reference device of every recording made with no reference DC: a 96-dpi screen.
constexpr int32_t kReferenceWidthPx = 1920;
constexpr int32_t kReferenceHeightPx = 1440;
constexpr int32_t kReferenceWidthMm = 508;
constexpr int32_t kReferenceHeightMm = 381;
constexpr int32_t kReferenceDpi = 96;

}  // namespace tamvel::emf
