// The page table, the current page and the plotting values kept per page.
#include "src/pages/page_table.h"

#include <new>

#include "include/tamvel.h"
#include "src/shapes/pattern_bitmap.h"
#include "src/style/process_palette.h"

namespace tamvel {
namespace {

EmfPage *g_pages = nullptr;
PlotState *g_states = nullptr;
int g_current_page = 0;
bool g_attached = false;

}  // namespace

bool AttachLibrary() {
  if (g_attached) return true;
  // The pages are constructed in index order; each measures the screen pixel (InitPage).
  if (g_pages == nullptr) g_pages = new (std::nothrow) EmfPage[kPageCount];
  // Every page starts with the DIMTAB defaults and a page size of 0, so that drawing before
  // PLOTS reads defined values (and does nothing, since the page does not record).
  if (g_states == nullptr) g_states = new (std::nothrow) PlotState[kPageCount];
  if (g_pages == nullptr || g_states == nullptr) return false;
  g_current_page = 0;
  g_attached = true;
  return true;
}

void DetachLibrary() {
  g_attached = false;
  ReleaseProcessPalette();
  ReleasePatternBitmap();
  // delete[] destroys the pages from the last to the first; each destructor is ClearPage, which
  // ends a recording without restoring its DC and deletes the metafile and every object.
  delete[] g_pages;
  g_pages = nullptr;
  delete[] g_states;
  g_states = nullptr;
}

bool LibraryAttached() { return g_attached; }

int CurrentPageIndex() { return g_current_page; }

void SetCurrentPageIndex(int index) {
  if (index >= 0 && index < kPageCount) g_current_page = index;
}

EmfPage &Page(int index) { return g_pages[index]; }

PlotState &State(int index) { return g_states[index]; }

EmfPage &CurrentPage() { return g_pages[g_current_page]; }

PlotState &CurrentState() { return g_states[g_current_page]; }

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
