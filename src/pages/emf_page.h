// One page slot of the page table: a metafile recording with the drawing state that goes
// with it (pen, brush and font descriptions and objects, clip region, page colour list and
// page palette), and the finished metafile once the recording is closed.
//
// A page records while it has a recording DC; every operation that needs the DC does nothing
// on a page that does not record. The operations are grouped by the subsystem that owns
// them; each group lives in that subsystem's folder (the file is named beside the group).
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace tamvel {

constexpr int kMaxPageColors = 235;
constexpr int kFaceNameBytes = 32;

// The text fields of the page font as the text calls read and write them.
struct FontState {
  int32_t height = 0;
  int32_t width = 0;
  int32_t weight = 0;
  float angle = 0.0f;  // font angle in degrees, -lfEscapement / 10
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strike_out = 0;
  char face[kFaceNameBytes] = {};  // Shift-JIS, NUL-terminated
};

class EmfPage {
 public:
  // --- lifecycle (src/pages/emf_page.cpp) ---
  EmfPage();   // InitPage
  ~EmfPage();  // ClearPage
  EmfPage(const EmfPage &) = delete;
  EmfPage &operator=(const EmfPage &) = delete;

  void InitPage();
  // Clears the page and starts a memory recording of width x height tenths of a millimetre
  // (no frame when either is below 1).
  void OpenRecording(int width, int height, const char *application, const char *corporation);
  // As OpenRecording, sized by a device's pixel extent when both pixel values are >= 1; the
  // size used is written back in tenths of a millimetre.
  void OpenRecordingForDevice(int *width, int *height, const char *application,
                              const char *corporation, HDC device, int pixel_width,
                              int pixel_height);
  void CloseRecording();
  void ClearPage();

  bool IsRecording() const { return recording_dc_ != nullptr; }
  HDC RecordingDc() const { return recording_dc_; }
  HENHMETAFILE FinishedMetafile() const { return finished_metafile_; }
  // Gives the page a finished metafile (the editing calls); the page owns it afterwards.
  void AdoptFinishedMetafile(HENHMETAFILE metafile) { finished_metafile_ = metafile; }
  // Hands the finished metafile over to the caller; the page has none afterwards.
  HENHMETAFILE ReleaseFinishedMetafile();
  float ReferencePixelWidth() const { return reference_pixel_width_; }
  float ReferencePixelHeight() const { return reference_pixel_height_; }

  // --- drawing primitives, page units (src/pages/page_primitives.cpp) ---
  void GetPenPosition(int *x, int *y) const;
  // Inline: every PLOT comes here.
  void MovePenTo(int x, int y) {
    if (recording_dc_ != nullptr) MoveToEx(recording_dc_, x, y, nullptr);
  }
  void DrawLineTo(int x, int y) {
    if (recording_dc_ != nullptr) LineTo(recording_dc_, x, y);
  }
  void DrawPolyline(const POINT *points, int count);
  // count < 0 fills without outline (null pen) over |count| points.
  void DrawPolygon(const POINT *points, int count, int fill_mode);
  void DrawArc(int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
               int y_end);
  // selector > 0 outline and fill, 0 outline only, < 0 fill only.
  void DrawPie(int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
               int y_end, int selector);

  // --- pens and colours (src/style/page_pens.cpp) ---
  void ReadPenState(UINT *style, int32_t *width, COLORREF *colour) const;
  void ApplyPenState(UINT style, int32_t width, COLORREF colour);
  void ReadBrushState(UINT *style, COLORREF *colour, uintptr_t *hatch) const;
  void ApplyBrushState(UINT style, COLORREF colour, uintptr_t hatch);
  void ApplyTextColor(COLORREF colour);
  void ApplyBkColor(COLORREF colour);
  void ReadBkMode(int *mode) const;
  void ApplyBkMode(int mode);
  void SetRasterOp(int mode);
  int FindPageColor(COLORREF colour);
  int AddPageColor(COLORREF colour);
  HPEN PenHandle() const { return pen_handle_; }
  HBRUSH BrushHandle() const { return brush_handle_; }
  const LOGPEN &PenDescription() const { return pen_; }

  // --- text state (src/text/page_font.cpp) ---
  void ReadFontState(FontState *state) const;
  void ApplyFontState(const FontState &state);
  void SetCharExtra(int extra);
  UINT GetTextAlignFlags() const;
  void SetTextAlignFlags(UINT flags);
  COLORREF GetTextColorValue() const;
  const LOGFONTA &FontDescription() const { return font_; }

  // --- text drawing (src/text/page_text.cpp, src/text/root_sign.cpp) ---
  void OutputText(int x, int y, const char *text);
  void DrawEnclosedText(int x, int y, const char *text);
  // Extent of the first count bytes in the page font; false without a recording DC.
  bool TextExtent(const char *text, int count, SIZE *extent) const;
  void DrawRootSignText(int x, int y, const char *text);

  // --- clipping, page units (src/style/page_clip.cpp) ---
  void SetClipRectangle(int left, int top, int right, int bottom);
  void AddClipRectangle(int left, int top, int right, int bottom);
  void AndClipRectangle(int left, int top, int right, int bottom);
  void DiffClipRectangle(int left, int top, int right, int bottom);
  void AddClipPolygon(const POINT *points, int count);
  void AndClipPolygon(const POINT *points, int count);
  void DiffClipPolygon(const POINT *points, int count);
  void ResetClip();

  // --- files (src/emf/page_files.cpp) ---
  int SavePageToFile(const char *path);
  int LoadPageFromFile(const char *path);

 private:
  void SelectPageObjects();                // creates missing objects and selects pen, brush, font
  void DeletePageObjects();                // pen, brush, font, clip region, page palette
  void FreePagePalette();                  // page palette block and page palette
  void CombineClip(HRGN shape, int mode);  // shared by the clip operations

  LOGPEN pen_{};
  HPEN pen_handle_ = nullptr;
  LOGBRUSH brush_{};
  LOGFONTA font_{};
  LOGPALETTE *page_palette_block_ = nullptr;
  HBRUSH brush_handle_ = nullptr;
  HFONT font_handle_ = nullptr;
  HRGN clip_region_ = nullptr;
  HPALETTE page_palette_ = nullptr;
  int page_color_count_ = 0;
  COLORREF page_colors_[kMaxPageColors] = {};
  float reference_pixel_width_ = 0.0f;
  float reference_pixel_height_ = 0.0f;
  HDC recording_dc_ = nullptr;
  HENHMETAFILE finished_metafile_ = nullptr;
};

}  // namespace tamvel
