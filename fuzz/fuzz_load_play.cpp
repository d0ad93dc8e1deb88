// libFuzzer target: any bytes loaded as a metafile, then played into a raster image and
// re-recorded into a new metafile, the two ways the library plays pages.
#include <cstddef>
#include <cstdint>

#include "include/tamvel_linux.h"
#include "platform/win32.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > (size_t{1} << 20)) return 0;
  HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(size), data);
  if (metafile == nullptr) return 0;
  RECT rect{0, 0, 64, 48};
  HDC image = TamvelCreateImageDC(64, 48);
  PlayEnhMetaFile(image, metafile, &rect);
  TamvelDeleteDC(image);

  RECT frame{0, -2000, 3000, 0};
  HDC recording = CreateEnhMetaFileA(nullptr, nullptr, &frame, "fuzz\0\0");
  SetMapMode(recording, MM_LOMETRIC);
  RECT logical{0, 200, 300, 0};
  PlayEnhMetaFile(recording, metafile, &logical);
  HENHMETAFILE again = CloseEnhMetaFile(recording);
  if (again != nullptr) {
    image = TamvelCreateImageDC(64, 48);
    PlayEnhMetaFile(image, again, &rect);
    TamvelDeleteDC(image);
    DeleteEnhMetaFile(again);
  }
  DeleteEnhMetaFile(metafile);
  return 0;
}
