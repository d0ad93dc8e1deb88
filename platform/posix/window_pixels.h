// The client area of a window as the library and the viewer share it: a memory file holding
// this header and then the pixels (cairo RGB24 rows of `stride` bytes, top-down). The library
// counts every change; the viewer repaints when the count moves.
#pragma once

#include <atomic>
#include <cstdint>

namespace tamvel::posix {

struct WindowPixels {
  static constexpr uint32_t kMagic = 0x54574e31;  // "TWN1"
  uint32_t magic;
  int32_t width;
  int32_t height;
  int32_t stride;
  std::atomic<uint32_t> changes;
  uint8_t reserved[44];
  // pixels follow, 64 bytes from the start

  unsigned char *Pixels() { return reinterpret_cast<unsigned char *>(this) + 64; }
};
static_assert(sizeof(WindowPixels) == 64);

}  // namespace tamvel::posix
