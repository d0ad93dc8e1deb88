// The pixels of a device-independent bitmap carried by a record, for players that paint them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/emf/emf_decoder.h"

namespace tamvel::emf {

// Top-down rows of 0xFFRRGGBB pixels.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
};

// The largest bitmap a player unpacks (64 MB of pixels): a hostile header cannot make it
// allocate more.
constexpr int64_t kMaxDibPixels = int64_t{1} << 24;

// Unpacks an uncompressed (BI_RGB) DIB of 1, 4, 8, 16 (5-5-5), 24 or 32 bits per pixel,
// bottom-up or top-down. False for compressed, oversized or short bitmaps; colour indexes
// beyond the table are black.
bool DibToPixels(const Dib& dib, Pixels* pixels);

}  // namespace tamvel::emf
