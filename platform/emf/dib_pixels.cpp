#include "platform/emf/dib_pixels.h"

#include <cstdlib>

namespace tamvel::emf {
namespace {

constexpr uint32_t kBiRgb = 0;

uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | (rgb & 0x00FFFFFFu); }

uint32_t FromFiveBits(uint32_t v) { return (v << 3) | (v >> 2); }

}  // namespace

bool DibToPixels(const Dib& dib, Pixels* pixels) {
  if (pixels == nullptr || dib.header_size == 0 || dib.compression != kBiRgb) return false;
  const int bits = dib.bit_count;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const int64_t width = dib.width;
  const int64_t height = std::llabs(int64_t{dib.height});
  if (width <= 0 || height <= 0 || width * height > kMaxDibPixels) return false;
  const int64_t stride = (width * bits + 31) / 32 * 4;
  if (stride * height > static_cast<int64_t>(dib.bits.size())) return false;

  pixels->width = static_cast<int>(width);
  pixels->height = static_cast<int>(height);
  pixels->argb.assign(static_cast<size_t>(width * height), 0xFF000000u);
  auto colour = [&](uint32_t index) {
    return index < dib.colors.size() ? Opaque(dib.colors[index]) : 0xFF000000u;
  };
  for (int64_t y = 0; y < height; ++y) {
    // A positive height stores the bottom row first.
    const int64_t source_row = dib.height > 0 ? height - 1 - y : y;
    const uint8_t* row = dib.bits.data() + source_row * stride;
    uint32_t* out = pixels->argb.data() + y * width;
    for (int64_t x = 0; x < width; ++x) {
      switch (bits) {
        case 1:
          out[x] = colour((row[x / 8] >> (7 - x % 8)) & 1u);
          break;
        case 4:
          out[x] = colour((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xFu);
          break;
        case 8:
          out[x] = colour(row[x]);
          break;
        case 16: {
          const uint32_t v = row[2 * x] | (uint32_t{row[2 * x + 1]} << 8);
          out[x] = 0xFF000000u | FromFiveBits((v >> 10) & 31u) << 16 |
                   FromFiveBits((v >> 5) & 31u) << 8 | FromFiveBits(v & 31u);
          break;
        }
        default: {  // 24 and 32 bits: blue, green, red (and an unused byte)
          const uint8_t* p = row + x * (bits / 8);
          out[x] = 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
          break;
        }
      }
    }
  }
  return true;
}

}  // namespace tamvel::emf
