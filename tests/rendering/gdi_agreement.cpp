#include "tests/rendering/gdi_agreement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace tamvel::test {
namespace {

using posix::RasterImage;

// A pixel is ink when a channel is this far below white: lighter anti-aliasing fringes and
// paper noise are not.
constexpr int kInkDepth = 48;
constexpr int kBlurredTolerance = 48;
constexpr int kColourTolerance = 64;

using Rgb = std::array<int, 3>;

Rgb Channels(uint32_t pixel) {
  return {int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)};
}

bool IsInk(uint32_t pixel) {
  const Rgb c = Channels(pixel);
  return std::min({c[0], c[1], c[2]}) < 255 - kInkDepth;
}

bool Near(const Rgb &a, const Rgb &b, int tolerance) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(a[i] - b[i]) > tolerance) return false;
  }
  return true;
}

// Channels scaled by 9: the sum over the 3 x 3 neighbourhood, edges repeated.
class BoxBlur {
 public:
  explicit BoxBlur(const RasterImage &image)
      : width_(image.width), height_(image.height), sums_(image.pixels.size()) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        Rgb sum{0, 0, 0};
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const Rgb c = Channels(
                image.At(std::clamp(x + dx, 0, width_ - 1), std::clamp(y + dy, 0, height_ - 1)));
            for (int i = 0; i < 3; ++i) sum[i] += c[i];
          }
        }
        sums_[Index(x, y)] = sum;
      }
    }
  }
  const Rgb &At(int x, int y) const { return sums_[Index(x, y)]; }

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
  int width_;
  int height_;
  std::vector<Rgb> sums_;
};

// Whether two inked pixels hold the same ink at any density: their colours lie in the same
// direction from white (black text shaded grey is still black ink; dark red is not black).
bool SameInk(const Rgb &a, const Rgb &b) {
  double dot = 0.0, aa = 0.0, bb = 0.0;
  for (int i = 0; i < 3; ++i) {
    const double da = 255 - a[i], db = 255 - b[i];
    dot += da * db;
    aa += da * da;
    bb += db * db;
  }
  return dot * dot >= 0.98 * aa * bb && dot > 0.0;  // cosine of at least 0.99
}

// An inked pixel of `image` is matched in `other` when the blurred pictures agree there (the
// same stroke, anti-aliased differently) or when its colour lies within the range of the
// colours `other` has within one pixel (the same stroke a pixel away, or an anti-aliased mix
// of what is there); by ink position, also when `other` has the same ink within one pixel.
class Matcher {
 public:
  Matcher(const RasterImage &image, const BoxBlur &blurred, const RasterImage &other,
          const BoxBlur &other_blurred, Matching matching)
      : image_(image),
        blurred_(blurred),
        other_(other),
        other_blurred_(other_blurred),
        matching_(matching) {}

  bool Matched(int x, int y) const {
    if (Near(blurred_.At(x, y), other_blurred_.At(x, y), 9 * kBlurredTolerance)) return true;
    const Rgb colour = Channels(image_.At(x, y));
    Rgb low{255, 255, 255}, high{0, 0, 0};
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, other_.height - 1); ++ny) {
      for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, other_.width - 1); ++nx) {
        const uint32_t pixel = other_.At(nx, ny);
        const Rgb c = Channels(pixel);
        if (matching_ == Matching::kInkPositions && IsInk(pixel) && SameInk(colour, c)) {
          return true;
        }
        for (int i = 0; i < 3; ++i) {
          low[i] = std::min(low[i], c[i]);
          high[i] = std::max(high[i], c[i]);
        }
      }
    }
    for (int i = 0; i < 3; ++i) {
      if (colour[i] < low[i] - kColourTolerance || colour[i] > high[i] + kColourTolerance) {
        return false;
      }
    }
    return true;
  }

 private:
  const RasterImage &image_;
  const BoxBlur &blurred_;
  const RasterImage &other_;
  const BoxBlur &other_blurred_;
  Matching matching_;
};

// What one inked pixel of the pair is found to be.
enum class Verdict { kMatched = 1, kOursOnly, kGdiOnly };

// Walks the inked pixels of a same-sized pair with their forgiving verdicts.
template <typename Visit>
void ForEachInked(const RasterImage &ours, const RasterImage &gdi, Matching matching, Visit visit) {
  const BoxBlur ours_blurred(ours), gdi_blurred(gdi);
  const Matcher ours_in_gdi(ours, ours_blurred, gdi, gdi_blurred, matching);
  const Matcher gdi_in_ours(gdi, gdi_blurred, ours, ours_blurred, matching);
  for (int y = 0; y < ours.height; ++y) {
    for (int x = 0; x < ours.width; ++x) {
      const bool ours_inked = IsInk(ours.At(x, y)), gdi_inked = IsInk(gdi.At(x, y));
      if (!ours_inked && !gdi_inked) continue;
      Verdict verdict = Verdict::kMatched;
      if (ours_inked && !ours_in_gdi.Matched(x, y)) {
        verdict = Verdict::kOursOnly;
      } else if (gdi_inked && !gdi_in_ours.Matched(x, y)) {
        verdict = Verdict::kGdiOnly;
      }
      visit(x, y, verdict);
    }
  }
}

bool SameSize(const RasterImage &a, const RasterImage &b) {
  return a.width == b.width && a.height == b.height && a.width > 0 && a.height > 0;
}

}  // namespace

Agreement CompareWithGdi(const RasterImage &ours, const RasterImage &gdi, Matching matching) {
  Agreement agreement;
  if (!SameSize(ours, gdi)) {
    agreement.inked = agreement.unmatched = agreement.different = 1;
    return agreement;
  }
  ForEachInked(ours, gdi, matching, [&](int x, int y, Verdict verdict) {
    ++agreement.inked;
    if (verdict != Verdict::kMatched) ++agreement.unmatched;
    if (!Near(Channels(ours.At(x, y)), Channels(gdi.At(x, y)), kColourTolerance)) {
      ++agreement.different;
    }
  });
  return agreement;
}

RasterImage SideBySide(const RasterImage &ours, const RasterImage &gdi, Matching matching) {
  constexpr int kGap = 4;
  RasterImage out;
  out.width = 3 * gdi.width + 2 * kGap;
  out.height = std::max(gdi.height, ours.height);
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0x808080);
  auto put = [&](const RasterImage &image, int left) {
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width && left + x < out.width; ++x) {
        out.pixels[static_cast<size_t>(y) * out.width + left + x] = image.At(x, y);
      }
    }
  };
  put(gdi, 0);
  put(ours, gdi.width + kGap);
  if (!SameSize(ours, gdi)) return out;
  const int map = 2 * (gdi.width + kGap);
  for (int y = 0; y < gdi.height; ++y) {
    for (int x = 0; x < gdi.width; ++x)
      out.pixels[static_cast<size_t>(y) * out.width + map + x] = 0xFFFFFF;
  }
  ForEachInked(ours, gdi, matching, [&](int x, int y, Verdict verdict) {
    static constexpr uint32_t kColours[] = {0xFFFFFF, 0xC8C8C8, 0xE00000, 0x0000E0};
    out.pixels[static_cast<size_t>(y) * out.width + map + x] = kColours[int(verdict)];
  });
  return out;
}

std::string GdiAgreementFolder() {
  const char *folder = std::getenv("TAMVEL_GDI_AGREEMENT");
  return folder != nullptr ? folder : "";
}

void ExpectAgreement(const std::string &label, const std::string &page, const RasterImage &ours,
                     const RasterImage &gdi) {
  const PageLimit limit = LimitOf(page);
  const Matching matching = MatchingOf(limit);
  const Agreement agreement = CompareWithGdi(ours, gdi, matching);
  std::printf("%-40s forgiving %6.2f %% (limit %5.2f)   strict %6.2f %% (limit %5.2f)   %d inked\n",
              label.c_str(), agreement.Forgiving(), limit.forgiving, agreement.Strict(),
              limit.strict, agreement.inked);
  const bool within =
      agreement.Forgiving() <= limit.forgiving && agreement.Strict() <= limit.strict;
  // TAMVEL_GDI_AGREEMENT_PICTURES=all keeps the pictures of the pages within their limits too.
  const char *keep = std::getenv("TAMVEL_GDI_AGREEMENT_PICTURES");
  if (within && (keep == nullptr || std::string(keep) != "all")) return;
  const std::filesystem::path folder = std::filesystem::path(GdiAgreementFolder()) / "differences";
  std::filesystem::create_directories(folder);
  const std::string picture = (folder / (label + ".png")).string();
  posix::WritePng(picture, SideBySide(ours, gdi, matching));
  if (!within) {
    ADD_FAILURE() << label
                  << " disagrees with GDI beyond its limits; GDI | ours | map: " << picture;
  }
}

}  // namespace tamvel::test
