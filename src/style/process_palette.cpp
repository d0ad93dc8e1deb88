// The library-wide palette: ten explicit system entries followed by up to 235 collected
// colours, realized in a caller's DC by UpPalette.
#include "src/style/process_palette.h"

#include "platform/win32.h"

namespace tamvel {
namespace {

LOGPALETTE *g_palette_block = nullptr;
HPALETTE g_palette = nullptr;

}  // namespace

void ReleaseProcessPalette() {
  if (g_palette_block != nullptr) HeapFree(GetProcessHeap(), 0, g_palette_block);
  if (g_palette != nullptr) DeleteObject(g_palette);
  g_palette_block = nullptr;
  g_palette = nullptr;
}

}  // namespace tamvel
