// EMF page lifecycle: construction (InitPage), opening and closing a recording, clearing.
#include "src/pages/emf_page.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace tamvel {
namespace {

constexpr int kDescriptionNameBytes = 40;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr UINT kInitialTextAlign = TA_LEFT | TA_BOTTOM | TA_UPDATECP;  // 9
// "ＭＳ ゴシック" in code page 932: the face a page has before any SETFON.
constexpr char kInitialFace[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

// Application name, NUL, corporation name, NUL, NUL; each name cut to 40 bytes.
struct Description {
  char text[2 * kDescriptionNameBytes + 3] = {};
};

Description BuildDescription(const char *application, const char *corporation) {
  Description d;
  size_t at = 0;
  for (const char *name : {application, corporation}) {
    size_t n = 0;
    if (name != nullptr) {
      while (n < kDescriptionNameBytes && name[n] != '\0') ++n;
      std::memcpy(d.text + at, name, n);
    }
    at += n + 1;  // the NUL after the name is already there
  }
  return d;  // the final second NUL too
}

// Frame coordinates are 0.01 mm: ten times the size in tenths, kept inside 32 bits.
LONG FrameUnits(int64_t tenths) {
  const int64_t v = tenths * 10;
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<LONG>(v);
}

}  // namespace

EmfPage::EmfPage() { InitPage(); }

EmfPage::~EmfPage() { ClearPage(); }

void EmfPage::InitPage() {
  reference_pixel_width_ = 0.0f;
  reference_pixel_height_ = 0.0f;
  // Measure one screen pixel through a throw-away metafile DC (its reference is the screen).
  if (HDC probe = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr)) {
    SaveDC(probe);
    SetMapMode(probe, MM_HIMETRIC);
    POINT points[2] = {{0, 0}, {100, 100}};
    DPtoLP(probe, points, 2);
    RestoreDC(probe, -1);
    // The HIMETRIC extent of 100 pixels (0.01 mm) times 0.001 is one pixel in 0.1 mm.
    reference_pixel_width_ =
        static_cast<float>(std::llabs(int64_t{points[1].x} - points[0].x) * 0.001);
    reference_pixel_height_ =
        static_cast<float>(std::llabs(int64_t{points[1].y} - points[0].y) * 0.001);
    if (HENHMETAFILE measured = CloseEnhMetaFile(probe)) DeleteEnhMetaFile(measured);
  }

  recording_dc_ = nullptr;
  finished_metafile_ = nullptr;
  pen_handle_ = nullptr;
  brush_handle_ = nullptr;
  font_handle_ = nullptr;
  page_palette_block_ = nullptr;
  page_palette_ = nullptr;
  page_color_count_ = 0;
  clip_region_ = nullptr;

  pen_ = LOGPEN{};
  pen_.lopnStyle = PS_SOLID;
  pen_.lopnWidth.x = 1;
  pen_handle_ = CreatePenIndirect(&pen_);

  brush_ = LOGBRUSH{};
  brush_.lbStyle = BS_SOLID;
  brush_.lbColor = kWhite;
  brush_.lbHatch = HS_CROSS;
  brush_handle_ = CreateBrushIndirect(&brush_);

  font_ = LOGFONTA{};
  font_.lfHeight = 40;
  font_.lfCharSet = SHIFTJIS_CHARSET;
  font_.lfClipPrecision = CLIP_LH_ANGLES;
  std::memcpy(font_.lfFaceName, kInitialFace, sizeof(kInitialFace));
  font_handle_ = CreateFontIndirectA(&font_);
}

void EmfPage::OpenRecording(int width, int height, const char *application,
                            const char *corporation) {
  ClearPage();
  const Description description = BuildDescription(application, corporation);
  const RECT frame = {0, FrameUnits(-int64_t{height}), FrameUnits(width), 0};
  const bool framed = width >= 1 && height >= 1;
  recording_dc_ = CreateEnhMetaFileA(nullptr, nullptr, framed ? &frame : nullptr, description.text);
  if (recording_dc_ == nullptr) return;
  SaveDC(recording_dc_);  // CloseRecording restores this state
  SetMapMode(recording_dc_, MM_TWIPS);
  SetROP2(recording_dc_, R2_COPYPEN);
  SetPolyFillMode(recording_dc_, WINDING);
  SetTextAlign(recording_dc_, kInitialTextAlign);
  SetBkMode(recording_dc_, TRANSPARENT);
  SetBkColor(recording_dc_, kWhite);
  SelectPageObjects();
}

void EmfPage::OpenRecordingForDevice(int *width, int *height, const char *application,
                                     const char *corporation, HDC device, int pixel_width,
                                     int pixel_height) {
  ClearPage();
  const Description description = BuildDescription(application, corporation);
  RECT frame = {};
  const bool framed = pixel_width >= 1 && pixel_height >= 1;
  if (framed) {
    // The device's pixel extent in 0.01 mm through its own HIMETRIC mapping. The device is
    // left in MM_TEXT, not in the mode it had.
    POINT points[2] = {{0, -pixel_height}, {pixel_width, 0}};
    SetMapMode(device, MM_HIMETRIC);
    DPtoLP(device, points, 2);
    SetMapMode(device, MM_TEXT);
    frame.top = static_cast<LONG>(-std::llabs(int64_t{points[0].y}));
    frame.right = points[1].x;
    if (width != nullptr) *width = frame.right / 10;
    if (height != nullptr) *height = static_cast<int>(-int64_t{frame.top} / 10);
  }
  recording_dc_ = CreateEnhMetaFileA(nullptr, nullptr, framed ? &frame : nullptr, description.text);
  if (recording_dc_ == nullptr) return;
  // The same state as OpenRecording, set in the order this call has always used.
  SaveDC(recording_dc_);
  SetMapMode(recording_dc_, MM_TWIPS);
  SetROP2(recording_dc_, R2_COPYPEN);
  SetBkMode(recording_dc_, TRANSPARENT);
  SetBkColor(recording_dc_, kWhite);
  SetPolyFillMode(recording_dc_, WINDING);
  SetTextAlign(recording_dc_, kInitialTextAlign);
  SelectPageObjects();
}

void EmfPage::CloseRecording() {
  if (recording_dc_ != nullptr) {
    RestoreDC(recording_dc_, -1);  // deselects the page's objects
    finished_metafile_ = CloseEnhMetaFile(recording_dc_);
    FreePagePalette();
    page_color_count_ = 0;
  }
  recording_dc_ = nullptr;
}

void EmfPage::ClearPage() {
  if (recording_dc_ != nullptr) finished_metafile_ = CloseEnhMetaFile(recording_dc_);
  if (finished_metafile_ != nullptr) DeleteEnhMetaFile(finished_metafile_);
  DeletePageObjects();
  recording_dc_ = nullptr;
  finished_metafile_ = nullptr;
  page_color_count_ = 0;
}

HENHMETAFILE EmfPage::ReleaseFinishedMetafile() {
  HENHMETAFILE metafile = finished_metafile_;
  finished_metafile_ = nullptr;
  return metafile;
}

void EmfPage::SelectPageObjects() {
  if (pen_handle_ == nullptr) pen_handle_ = CreatePenIndirect(&pen_);
  if (brush_handle_ == nullptr) brush_handle_ = CreateBrushIndirect(&brush_);
  if (font_handle_ == nullptr) font_handle_ = CreateFontIndirectA(&font_);
  SelectObject(recording_dc_, pen_handle_);
  SelectObject(recording_dc_, brush_handle_);
  SelectObject(recording_dc_, font_handle_);
}

void EmfPage::DeletePageObjects() {
  if (pen_handle_ != nullptr) DeleteObject(pen_handle_);
  if (brush_handle_ != nullptr) DeleteObject(brush_handle_);
  if (font_handle_ != nullptr) DeleteObject(font_handle_);
  if (clip_region_ != nullptr) DeleteObject(clip_region_);
  pen_handle_ = nullptr;
  brush_handle_ = nullptr;
  font_handle_ = nullptr;
  clip_region_ = nullptr;
  FreePagePalette();
}

void EmfPage::FreePagePalette() {
  if (page_palette_block_ != nullptr) HeapFree(GetProcessHeap(), 0, page_palette_block_);
  if (page_palette_ != nullptr) DeleteObject(page_palette_);
  page_palette_block_ = nullptr;
  page_palette_ = nullptr;
}

}  // namespace tamvel
