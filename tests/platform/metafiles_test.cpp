// Metafile handles: files, bits, headers, descriptions; rejected garbage.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "platform/emf/emf_decoder.h"
#include "platform/win32.h"
#include "tests/common/emf_test_util.h"

namespace {

using tamvel::test::MetafileBits;

std::string TempPath(const char *name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "tamvel_platform_" + name;
}

HENHMETAFILE SmallPicture(LPCSTR description = "tamvel\0\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0\0") {
  const RECT frame{0, -1000, 2000, 0};
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, description);
  SetMapMode(dc, MM_TWIPS);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 1000, 500);
  return CloseEnhMetaFile(dc);
}

TEST(Metafiles, BitsAndFilesRoundTrip) {
  HENHMETAFILE emf = SmallPicture();
  const std::vector<uint8_t> bits = MetafileBits(emf);
  ASSERT_GT(bits.size(), 108u);
  BYTE two[2];
  EXPECT_EQ(GetEnhMetaFileBits(emf, 2, two), 2u);
  const std::string path = TempPath("copy.emf");
  const HENHMETAFILE copies[] = {SetEnhMetaFileBits(static_cast<UINT>(bits.size()), bits.data()),
                                 CopyEnhMetaFileA(emf, path.c_str()), GetEnhMetaFileA(path.c_str()),
                                 CopyEnhMetaFileA(emf, nullptr)};
  for (HENHMETAFILE copy : copies) {
    EXPECT_EQ(MetafileBits(copy), bits);
    EXPECT_TRUE(DeleteEnhMetaFile(copy));
  }
  EXPECT_TRUE(DeleteEnhMetaFile(emf));
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetEnhMetaFileA(path.c_str()), nullptr);
  EXPECT_EQ(GetEnhMetaFileA(nullptr), nullptr);

  // Recording straight into a file.
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  LineTo(dc, 5, 5);
  HENHMETAFILE recorded = CloseEnhMetaFile(dc);
  EXPECT_EQ(CloseEnhMetaFile(dc), nullptr);  // already closed
  HENHMETAFILE loaded = GetEnhMetaFileA(path.c_str());
  EXPECT_EQ(MetafileBits(loaded), MetafileBits(recorded));
  DeleteEnhMetaFile(recorded);
  DeleteEnhMetaFile(loaded);
  DeleteFileA(path.c_str());
  EXPECT_EQ(CreateEnhMetaFileA(nullptr, "/nonexistent-dir/x.emf", nullptr, nullptr), nullptr);
}

TEST(Metafiles, GarbageIsRejected) {
  HENHMETAFILE emf = SmallPicture();
  const std::vector<uint8_t> good = MetafileBits(emf);
  DeleteEnhMetaFile(emf);
  auto accepted = [](std::vector<uint8_t> bytes) {
    HENHMETAFILE h = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(h);
    return h != nullptr;
  };
  EXPECT_TRUE(accepted(good));
  std::vector<uint8_t> bad = good;
  bad[40] ^= 1;  // signature
  EXPECT_FALSE(accepted(bad));
  bad = good;
  bad[0] = 2;  // not a header
  EXPECT_FALSE(accepted(bad));
  EXPECT_FALSE(accepted({good.begin(), good.end() - 4}));  // truncated EOF
  bad = good;
  bad[tamvel::emf::DecodeEmf(good.data(), good.size()).records[1].offset + 4] =
      6;  // record size not a multiple of 4
  EXPECT_FALSE(accepted(bad));
  EXPECT_FALSE(accepted(std::vector<uint8_t>(200, 0)));
  EXPECT_EQ(SetEnhMetaFileBits(100, nullptr), nullptr);
  EXPECT_EQ(SetEnhMetaFileBits(0, good.data()), nullptr);

  const std::string path = TempPath("garbage.emf");
  std::ofstream(path) << "not a metafile at all, just some text that is long enough to fill "
                         "a header of eighty-eight bytes or more, really";
  EXPECT_EQ(GetEnhMetaFileA(path.c_str()), nullptr);
  DeleteFileA(path.c_str());
}

TEST(Metafiles, HeaderQuery) {
  HENHMETAFILE emf = SmallPicture();
  EXPECT_EQ(GetEnhMetaFileHeader(emf, 0, nullptr), 108u);
  ENHMETAHEADER header{};
  EXPECT_EQ(GetEnhMetaFileHeader(emf, sizeof header, &header), 108u);
  EXPECT_EQ(header.rclFrame.top, -1000);
  EXPECT_EQ(header.rclFrame.right, 2000);
  EXPECT_EQ(header.szlDevice.cx, 1920);
  EXPECT_EQ(header.nBytes, MetafileBits(emf).size());
  ENHMETAHEADER part{};
  EXPECT_EQ(GetEnhMetaFileHeader(emf, 40, &part), 40u);
  EXPECT_EQ(part.rclFrame.right, 2000);
  EXPECT_EQ(part.dSignature, 0u);
  EXPECT_EQ(GetEnhMetaFilePaletteEntries(emf, 0, nullptr), 0u);
  DeleteEnhMetaFile(emf);
}

TEST(Metafiles, DescriptionComesBackInCodePage932) {
  HENHMETAFILE emf = SmallPicture();
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(emf, sizeof header, &header);
  EXPECT_EQ(header.nDescription, 13u);  // "tamvel" NUL, 4 kanji NUL, NUL
  const char expected[] = "tamvel\0\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0\0";  // + final NUL
  EXPECT_EQ(GetEnhMetaFileDescriptionA(emf, 0, nullptr), 17u);
  char text[64];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(GetEnhMetaFileDescriptionA(emf, sizeof text, text), 17u);
  EXPECT_EQ(std::memcmp(text, expected, 17), 0);
  EXPECT_EQ(GetEnhMetaFileDescriptionA(emf, 3, text), 3u);
  DeleteEnhMetaFile(emf);
  HENHMETAFILE none = SmallPicture(nullptr);
  EXPECT_EQ(GetEnhMetaFileDescriptionA(none, sizeof text, text), 0u);
  DeleteEnhMetaFile(none);
}

}  // namespace
