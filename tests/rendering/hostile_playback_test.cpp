// Corrupt, truncated and hostile metafiles loaded with LOADFILE, then played and edited:
// nothing may crash, read out of bounds or allocate without limit, and what can be read is
// still drawn.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/common/emf_builder.h"
#include "tests/common/page_test_util.h"
#include "tests/common/raster_test_util.h"

namespace tamvel {
namespace {

using test::EmfBuilder;

constexpr int64_t kBig = 0x7FFFFFFF;

// A POLYLINE16 that claims `claimed` points but carries `carried`.
std::vector<uint8_t> Polyline16(uint32_t claimed, int carried) {
  std::vector<uint8_t> payload;
  for (int v : {0, 0, 100, 100}) EmfBuilder::PutU32(payload, static_cast<uint32_t>(v));
  EmfBuilder::PutU32(payload, claimed);
  for (int i = 0; i < carried; ++i) {
    EmfBuilder::PutU16(payload, static_cast<uint16_t>(i * 10));
    EmfBuilder::PutU16(payload, static_cast<uint16_t>(i * 7));
  }
  return payload;
}

// A drawable picture: a black pen and a diagonal line, so that the tests can see that the
// readable part of a damaged file is still played.
EmfBuilder Drawable() {
  EmfBuilder builder;
  builder.Handles(2)
      .Add(emf::kCreatePen, {1, PS_SOLID, 3, 0, 0})
      .Add(emf::kSelectObject, {1})
      .Add(emf::kMoveToEx, {10, 10})
      .Add(emf::kLineTo, {90, 90});
  return builder;
}

// Every hostile picture by name.
std::vector<std::pair<std::string, std::vector<uint8_t>>> HostileFiles() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  files.push_back({"plain", Drawable().Build()});
  files.push_back({"points past the end", Drawable()
                                              .AddBytes(emf::kPolyline16, Polyline16(1u << 30, 3))
                                              .AddBytes(emf::kPolygon16, Polyline16(0xFFFFFFFF, 2))
                                              .Build()});
  std::vector<uint8_t> lying = Drawable().Add(emf::kLineTo, {5, 5}).Build();
  test::SetU32(lying, lying.size() - 20 - 16 + 4, 0x7FFFFFF0);  // LINETO's size
  files.push_back({"record size that lies", lying});
  std::vector<uint8_t> truncated = Drawable().Add(emf::kEllipse, {0, 0, 50, 50}).Build();
  truncated.resize(truncated.size() - 30);
  files.push_back({"truncated", truncated});
  files.push_back({"huge coordinates", Drawable()
                                           .Add(emf::kSelectObject, {0x80000000 | NULL_BRUSH})
                                           .Add(emf::kEllipse, {-kBig, -kBig, kBig, kBig})
                                           .Add(emf::kArc, {-kBig, -kBig, kBig, kBig, 1, 0, -1, 0})
                                           .Add(emf::kPie, {0, 0, kBig, 1, kBig, 0, 0, 0})
                                           .Add(emf::kRectangle, {-kBig, -kBig, kBig, kBig})
                                           .Add(emf::kIntersectClipRect, {-kBig, -kBig, kBig, kBig})
                                           .Add(emf::kLineTo, {kBig, -kBig})
                                           .Build()});
  files.push_back(
      {"unknown records",
       Drawable().Add(999, {1, 2, 3}).Add(0x7FFFFFFF, {}).Add(emf::kLineTo, {50, 10}).Build()});
  files.push_back(
      {"object indexes out of range", Drawable()
                                          .Add(emf::kSelectObject, {5000})
                                          .Add(emf::kSelectObject, {0})
                                          .Add(emf::kSelectObject, {0x80000000 | 999})
                                          .Add(emf::kDeleteObject, {0xFFFF})
                                          .Add(emf::kCreatePen, {60000, PS_SOLID, 1, 0, 0})
                                          .Add(emf::kCreateBrushIndirect, {0, BS_SOLID, 0, 0})
                                          .Add(emf::kCreateBrushIndirect, {1, 77, 0, 1234})
                                          .Add(emf::kSelectObject, {1})
                                          .Add(emf::kSelectPalette, {7})
                                          .Add(emf::kDeleteObject, {1})
                                          .Add(emf::kSelectObject, {1})
                                          .Add(emf::kLineTo, {50, 10})
                                          .Build()});
  files.push_back({"unbalanced state records", Drawable()
                                                   .Add(emf::kRestoreDc, {-100})
                                                   .Add(emf::kRestoreDc, {5})
                                                   .Add(emf::kSaveDc, {})
                                                   .Add(emf::kSaveDc, {})
                                                   .Add(emf::kRestoreDc, {-1})
                                                   .Add(emf::kBeginPath, {})
                                                   .Add(emf::kLineTo, {50, 50})
                                                   .Add(emf::kFillPath, {0, 0, 1, 1})
                                                   .Add(emf::kStrokePath, {0, 0, 1, 1})
                                                   .Add(emf::kSelectClipPath, {RGN_COPY})
                                                   .Add(emf::kCloseFigure, {})
                                                   .Add(emf::kBeginPath, {})
                                                   .Build()});
  files.push_back(
      {"degenerate mapping", Drawable()
                                 .Add(emf::kSetMapMode, {MM_ISOTROPIC})
                                 .Add(emf::kSetWindowExtEx, {0, 0})
                                 .Add(emf::kSetViewportExtEx, {kBig, -kBig})
                                 .Add(emf::kSetMapMode, {MM_ANISOTROPIC})
                                 .Add(emf::kSetWindowExtEx, {1, kBig})
                                 .Add(emf::kLineTo, {10, 10})
                                 .Add(emf::kSetMapMode, {1234})
                                 .Add(emf::kSetWorldTransform, {0x7FC00000, 0, 0, 0x7F800000, 0, 0})
                                 .Add(emf::kModifyWorldTransform, {0, 0, 0, 0, 0, 0, 99})
                                 .Add(emf::kLineTo, {20, 10})
                                 .Build()});
  // A clip region that claims a million rectangles, and one with a huge rectangle.
  files.push_back({"clip regions",
                   Drawable()
                       .Add(emf::kExtSelectClipRgn,
                            {48, RGN_COPY, 32, 1, 1000000, 16000000, 0, 0, 10, 10, 0, 0, 10, 10})
                       .Add(emf::kExtSelectClipRgn, {48, RGN_AND, 32, 1, 1, 16, -kBig, -kBig, kBig,
                                                     kBig, -kBig, -kBig, kBig, kBig})
                       .Add(emf::kExtSelectClipRgn, {0, 99})
                       .Add(emf::kLineTo, {10, 90})
                       .Build()});
  // Text with a character count past the record, and a pattern brush with absurd sizes.
  files.push_back({"text and brushes",
                   Drawable()
                       .Add(emf::kExtTextOutW,
                            {0, 0, 0, 0, 1, 0, 0, 10, 10, 0x10000000, 76, 0, 0, 0, -1, -1, 0})
                       .Add(emf::kCreateMonoBrush, {1, 0, 32, 40, 72, 8, 40, kBig, kBig, 0x00010001,
                                                    0, 0, 0, 0, 2, 2, 0xFFFFFFFF, 0xFFFFFFFF})
                       .Add(emf::kSelectObject, {1})
                       .Add(emf::kRectangle, {0, 0, 50, 50})
                       .Build()});
  return files;
}

class HostilePlaybackTest : public test::LibraryTest {
 protected:
  // Writes `bytes` to a file and loads it into the current page; false if LOADFILE refused.
  bool Load(const std::string &name, const std::vector<uint8_t> &bytes) {
    const std::string path = (folder_ / (std::to_string(counter_++) + ".emf")).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    SCOPED_TRACE(name);
    return LOADFILE(path.c_str()) == 0;
  }
  // Plays and edits the current page every way the library can.
  void PlayAndEditEverything() {
    HDC image = TamvelCreateImageDC(120, 120);
    HWND window = TamvelCreateWindow(120, 120);
    PasteEmf(image, window);
    PasteEmf1(image, window, 5000, 5000, 100, 100);
    PasteEmf2(image, window, 5000, 5000, -100, -100, 3);
    const std::string pdf = (folder_ / "print.pdf").string();
    HDC printer = TamvelCreatePrinterDC(pdf.c_str(), 50.0, 50.0, 72, 5, 5);
    PrintEmf(printer);
    PrintEmfF1(printer, 1000, 1000, 10, 10);
    TamvelDeleteDC(printer);
    PasteClipboard();
    const int32_t page = CurrentPageIndex() + 1;
    CopyEmf(page + 1, page);
    WriteEmf(page + 1, page, 10, 10);
    WriteEmf(page, page + 1, -10, -10);
    ShiftEmf(page, 5, 5);
    ResizeEmf(page, 3000, 3000);
    PasteEmf(image, window);
    TamvelDestroyWindow(window);
    TamvelDeleteDC(image);
  }
  void SetUp() override {
    test::LibraryTest::SetUp();
    folder_ = test::ScratchFolder("hostile-playback");
  }
  std::filesystem::path folder_;
  int counter_ = 0;
};

TEST_F(HostilePlaybackTest, DamagedFilesArePlayedAndEditedSafely) {
  for (const auto &[name, bytes] : HostileFiles()) {
    SCOPED_TRACE(name);
    if (!Load(name, bytes)) continue;
    // The readable part is drawn: the diagonal line drawn before the damage.
    test::RasterImage image = test::RenderMetafile(CurrentPage().FinishedMetafile(), 100, 100);
    EXPECT_TRUE(test::IsInk(image.At(50, 50)));
    PlayAndEditEverything();
  }
}

TEST_F(HostilePlaybackTest, RandomlyDamagedPagesNeverCrash) {
  std::vector<uint8_t> page = Drawable()
                                  .Add(emf::kSaveDc, {})
                                  .Add(emf::kSetMapMode, {MM_TWIPS})
                                  .Add(emf::kEllipse, {0, 0, 500, -500})
                                  .AddBytes(emf::kPolyline16, Polyline16(3, 3))
                                  .Add(emf::kIntersectClipRect, {0, 0, 300, -300})
                                  .Add(emf::kRestoreDc, {-1})
                                  .Build();
  std::mt19937 random(20240611);
  for (int round = 0; round < 150; ++round) {
    std::vector<uint8_t> damaged = page;
    const int changes = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < changes; ++i) {
      const size_t at = 108 + random() % (damaged.size() - 108);  // keep the header readable
      damaged[at] = static_cast<uint8_t>(random());
    }
    if (random() % 4 == 0) damaged.resize(108 + random() % (damaged.size() - 108));
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(damaged.size()), damaged.data());
    if (metafile == nullptr) continue;
    test::RenderMetafile(metafile, 40, 40);
    RECT frame{0, -1000, 1000, 0};
    HDC recording = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    RECT rect{0, 0, 40, 40};
    PlayEnhMetaFile(recording, metafile, &rect);
    DeleteEnhMetaFile(CloseEnhMetaFile(recording));
    DeleteEnhMetaFile(metafile);
  }
}

}  // namespace
}  // namespace tamvel
