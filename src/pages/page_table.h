// The process-wide drawing state: the 100 EMF pages, the current page index and the plotting
// values kept per page. Built when the library is attached, released when it is detached;
// one thread at a time, no locking.
#pragma once

#include <cstddef>
#include <cstdint>

#include "src/pages/emf_page.h"

namespace tamvel {

constexpr int kPageCount = 100;
constexpr double kPageUnitsPerMm = 56.6929;  // MM_TWIPS: 1440 / 25.4

// The plotting values kept for each page. Undefined until DIMTAB, DIMTABR or PLOTS opens a
// drawing on the page or PLOT with pen code 4/5 moves onto it; at attach every page gets the
// DIMTAB defaults with a page size of 0.
struct PlotState {
  float page_width = 0.0f;   // millimetres
  float page_height = 0.0f;  // millimetres
  int32_t x_lower = -56;     // page-unit limits of a point, set with SetLimits
  int32_t x_upper = 56;
  int32_t y_lower = -56;
  int32_t y_upper = 56;
  // The same limits as doubles, so that clamping a point converts nothing. Here and below,
  // an x and y that start on 16 bytes are a pair PLOT reads as one (static_asserts below).
  alignas(16) double x_lower_units = -56.0;
  double y_lower_units = -56.0;
  alignas(16) double x_upper_units = 56.0;
  double y_upper_units = 56.0;
  // The origin and the scale factor hold float values (as set, or as PLOT rounded them) in
  // doubles, so that transforming a point converts neither.
  alignas(16) double origin_x = 0.0;  // page millimetres
  double origin_y = 0.0;
  // Set by SetRotation: cos and sin, what x is multiplied by, and then -sin and cos, what y
  // is multiplied by, for the pairs of PLOT's way.
  alignas(16) double rotation_cos = 1.0;
  double rotation_sin = 0.0;
  alignas(16) double rotation_y_column[2] = {-0.0, 1.0};
  double factor = 1.0;
  alignas(8) float last_x = 0.0f;  // plot units
  float last_y = 0.0f;
  float rotation_angle = 0.0f;  // degrees, as given to ROTATE
  float offset_x = 0.0f;
  float offset_x_factor = 1.0f;
  float offset_y = 0.0f;
  float offset_y_factor = 1.0f;
  float char_spacing = 6.0f;      // sevenths of the character height
  float kanji_h_spacing = 35.0f;  // 32nds of the character height
  float kanji_v_spacing = 40.0f;  // 32nds of the character height
  int32_t outline_flag = -1;      // -1 filled shapes are outlined, 0 not

  void SetRotation(double cos, double sin) {
    rotation_cos = cos;
    rotation_sin = sin;
    rotation_y_column[0] = -sin;
    rotation_y_column[1] = cos;
  }
  void SetLimits(int32_t left, int32_t right, int32_t bottom, int32_t top) {
    x_lower_units = x_lower = left;
    x_upper_units = x_upper = right;
    y_lower_units = y_lower = bottom;
    y_upper_units = y_upper = top;
  }
};

// The pairs PLOT reads as one.
static_assert(offsetof(PlotState, y_lower_units) == offsetof(PlotState, x_lower_units) + 8);
static_assert(offsetof(PlotState, y_upper_units) == offsetof(PlotState, x_upper_units) + 8);
static_assert(offsetof(PlotState, origin_y) == offsetof(PlotState, origin_x) + 8);
static_assert(offsetof(PlotState, rotation_sin) == offsetof(PlotState, rotation_cos) + 8);
static_assert(offsetof(PlotState, last_y) == offsetof(PlotState, last_x) + 4);

// Attach and detach (src/pages/page_table.cpp). Attach returns false when an allocation
// failed; detach tolerates every missing piece.
bool AttachLibrary();
void DetachLibrary();

namespace detail {
// The table itself, read by the inline accessors below (every exported call uses them).
struct PageTable {
  EmfPage *pages = nullptr;
  PlotState *states = nullptr;
  int current = 0;
  bool attached = false;
  // pages + current and states + current, kept with `current` so that PLOT does not index.
  EmfPage *current_page = nullptr;
  PlotState *current_state = nullptr;
};
extern PageTable g_page_table;
}  // namespace detail

inline bool LibraryAttached() { return detail::g_page_table.attached; }

// The current page, its index and its plotting values. Valid only while attached; every
// exported call checks LibraryAttached() first so that a failed attach leaves it harmless.
inline int CurrentPageIndex() { return detail::g_page_table.current; }
void SetCurrentPageIndex(int index);
inline EmfPage &Page(int index) { return detail::g_page_table.pages[index]; }
inline PlotState &State(int index) { return detail::g_page_table.states[index]; }
inline EmfPage &CurrentPage() { return *detail::g_page_table.current_page; }
inline PlotState &CurrentState() { return *detail::g_page_table.current_state; }

// Page numbers given by callers (1..100) to a page index, clamping the upper bound first.
int ClampPageNumberToIndex(int32_t page);

}  // namespace tamvel
