// The page table, the current page and the plotting values kept per page.
#include "src/pages/page_table.h"

#include <new>

#include "include/tamvel.h"
#include "src/shapes/pattern_bitmap.h"
#include "src/style/process_palette.h"

namespace tamvel {

detail::PageTable detail::g_page_table;

bool AttachLibrary() {
  detail::PageTable &t = detail::g_page_table;
  if (t.attached) return true;
  // The pages are constructed in index order; each measures the screen pixel (InitPage).
  if (t.pages == nullptr) t.pages = new (std::nothrow) EmfPage[kPageCount];
  // Every page starts with the DIMTAB defaults and a page size of 0, so that drawing before
  // PLOTS reads defined values (and does nothing, since the page does not record).
  if (t.states == nullptr) t.states = new (std::nothrow) PlotState[kPageCount];
  if (t.pages == nullptr || t.states == nullptr) return false;
  t.current = 0;
  t.attached = true;
  return true;
}

void DetachLibrary() {
  detail::PageTable &t = detail::g_page_table;
  t.attached = false;
  ReleaseProcessPalette();
  ReleasePatternBitmap();
  // delete[] destroys the pages from the last to the first; each destructor is ClearPage, which
  // ends a recording without restoring its DC and deletes the metafile and every object.
  delete[] t.pages;
  t.pages = nullptr;
  delete[] t.states;
  t.states = nullptr;
}

void SetCurrentPageIndex(int index) {
  if (index >= 0 && index < kPageCount) detail::g_page_table.current = index;
}

int ClampPageNumberToIndex(int32_t page) {
  if (page > kPageCount) page = kPageCount;
  if (page < 1) page = 1;
  return page - 1;
}

}  // namespace tamvel

extern "C" {

TAMVEL_API void TAMVEL_CALL CHPAGE(int32_t page) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::SetCurrentPageIndex(tamvel::ClampPageNumberToIndex(page));
}

TAMVEL_API void TAMVEL_CALL NEXTPAGE(void) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::SetCurrentPageIndex((tamvel::CurrentPageIndex() + 1) % tamvel::kPageCount);
}

// Indexes outside 0..99 have no page: they report 0.
TAMVEL_API int32_t TAMVEL_CALL MHEMF(int32_t index) {
  if (!tamvel::LibraryAttached() || index < 0 || index >= tamvel::kPageCount) return 0;
  return static_cast<int32_t>(HandleValue(tamvel::Page(index).FinishedMetafile()));
}

TAMVEL_API int32_t TAMVEL_CALL MHDC(int32_t index) {
  if (!tamvel::LibraryAttached() || index < 0 || index >= tamvel::kPageCount) return 0;
  return static_cast<int32_t>(HandleValue(tamvel::Page(index).RecordingDc()));
}

TAMVEL_API int32_t TAMVEL_CALL IsStandby(int32_t page) {
  if (!tamvel::LibraryAttached()) return 0;
  const int index = tamvel::ClampPageNumberToIndex(page);
  return static_cast<int32_t>(HandleValue(tamvel::Page(index).FinishedMetafile()));
}

TAMVEL_API void TAMVEL_CALL GPIXEL(float *width, float *height) {
  if (!tamvel::LibraryAttached()) return;
  const tamvel::EmfPage &page = tamvel::CurrentPage();
  if (width != nullptr) *width = page.ReferencePixelWidth();
  if (height != nullptr) *height = page.ReferencePixelHeight();
}

}  // extern "C"
