// Field offsets of the record kinds the two samples do not contain, built byte by byte from
// their documented layouts.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/emf/emf_decoder.h"
#include "tests/common/emf_builder.h"
#include "tests/common/emf_test_util.h"

namespace tamvel {
namespace {

using emf::Point;
using emf::Rect;

int64_t FloatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  return bits;
}

std::vector<uint8_t> Payload(std::initializer_list<int64_t> dwords) {
  std::vector<uint8_t> out;
  for (int64_t v : dwords) test::EmfBuilder::PutU32(out, static_cast<uint32_t>(v));
  return out;
}

TEST(Layouts, TextAPolyPolygon32PensBrushesPalettesTransforms) {
  std::vector<uint8_t> ansi = Payload({0, 0, 0, 0, 2, 0, 0, /*ref*/ 5, 6, /*n*/ 3, /*off*/ 60,
                                       /*ETO_NO_RECT*/ 0x100, /*offDx*/ 64});
  for (int b : {0x82, 0xA0, 0x41, 0}) ansi.push_back(static_cast<uint8_t>(b));
  for (int32_t dx : {240, 0, 120}) test::EmfBuilder::PutU32(ansi, static_cast<uint32_t>(dx));

  std::vector<uint8_t> dib_brush = Payload({1, 0, 32, 48, 80, 4});
  for (int64_t v : {40, 1, 1, 0x00010001, 0, 4, 0, 0, 2, 2})
    test::EmfBuilder::PutU32(dib_brush, static_cast<uint32_t>(v));
  for (int64_t v : {0x00FF0000, 0x000000FF, 0x80})
    test::EmfBuilder::PutU32(dib_brush, static_cast<uint32_t>(v));

  std::vector<uint8_t> palette = Payload({3, 0x00020300});
  for (int64_t v : {0x00030201, 0x00FFFFFF})
    test::EmfBuilder::PutU32(palette, static_cast<uint32_t>(v));

  test::EmfBuilder builder;
  builder.Handles(4)
      .AddBytes(emf::kExtTextOutA, ansi)
      .Add(emf::kPolyPolygon, {0, 0, 10, 10, 2, 3, 1, 2, -1, -2, 70000, -70000, 3, 4})
      .Add(emf::kExtCreatePen, {2, 0, 0, 0, 0, 0x00010000 | 7, 45, 0, 0x0000FF, 0, 2, 90, 30})
      .AddBytes(emf::kCreateDibPatternBrushPt, dib_brush)
      .AddBytes(emf::kCreatePalette, palette)
      .Add(emf::kSetPaletteEntries, {3, 1, 1, 0x00102030})
      .Add(emf::kResizePalette, {3, 8})
      .Add(emf::kModifyWorldTransform, {FloatBits(2), 0, 0, FloatBits(-1), FloatBits(10.5f), 0, 2})
      .Add(emf::kSetMiterLimit, {FloatBits(4)})
      .Add(emf::kGdiComment, {5, 0x43494447, 0})
      .Add(emf::kExcludeClipRect, {1, 2, 3, 4})
      .Add(emf::kBitBlt,
           {0, 0, 9,          9, 1, 2, 30, 40, 0x00CC0020, 3, 4, FloatBits(1), 0, 0, FloatBits(1),
            0, 0, 0x00FFFFFF, 0, 0, 0, 0,  0})
      .Add(emf::kRoundRect, {1, 2, 30, 40, 8, 6});
  std::vector<uint8_t> file = builder.Build();
  emf::DecodeResult r = emf::DecodeEmf(file.data(), file.size());
  ASSERT_TRUE(r.ok()) << test::ProblemsText(r);
  for (const emf::Record& record : r.records)
    EXPECT_FALSE(record.IsRaw()) << test::Describe(record);

  const emf::Text* text = r.records[1].As<emf::Text>();
  ASSERT_NE(text, nullptr);
  EXPECT_FALSE(text->wide);
  EXPECT_EQ(text->reference, (Point{5, 6}));
  EXPECT_EQ(text->bytes,
            "\x82\xA0"
            "A");
  EXPECT_EQ(text->dx, (std::vector<int32_t>{240, 0, 120}));

  const emf::PolyPoly* polygons = r.records[2].As<emf::PolyPoly>();
  ASSERT_NE(polygons, nullptr);
  EXPECT_FALSE(polygons->short_points);
  EXPECT_EQ(polygons->counts, (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(polygons->points, (std::vector<Point>{{-1, -2}, {70000, -70000}, {3, 4}}));

  const emf::ExtPen* pen = r.records[3].As<emf::ExtPen>();
  ASSERT_NE(pen, nullptr);
  EXPECT_EQ(pen->style, 0x00010007u);
  EXPECT_EQ(pen->width, 45u);
  EXPECT_EQ(pen->color, 0x0000FFu);
  EXPECT_EQ(pen->style_entries, (std::vector<uint32_t>{90, 30}));
  EXPECT_EQ(pen->dib.header_size, 0u);

  const emf::PatternBrush* brush = r.records[4].As<emf::PatternBrush>();
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(brush->dib.width, 1);
  EXPECT_EQ(brush->dib.bit_count, 1);
  EXPECT_EQ(brush->dib.colors, (std::vector<uint32_t>{0x00FF0000, 0x000000FF}));
  EXPECT_EQ(brush->dib.bits, (std::vector<uint8_t>{0x80, 0, 0, 0}));

  const emf::Palette* pal = r.records[5].As<emf::Palette>();
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(pal->version, 0x300);
  EXPECT_EQ(pal->entries, (std::vector<emf::PaletteEntry>{{1, 2, 3, 0}, {255, 255, 255, 0}}));
  const emf::PaletteEntries* set = r.records[6].As<emf::PaletteEntries>();
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->start, 1u);
  EXPECT_EQ(set->entries, (std::vector<emf::PaletteEntry>{{0x30, 0x20, 0x10, 0}}));
  EXPECT_EQ(r.records[7].As<emf::PaletteSize>()->count, 8u);

  const emf::WorldTransform* transform = r.records[8].As<emf::WorldTransform>();
  ASSERT_NE(transform, nullptr);
  EXPECT_EQ(transform->xform.m11, 2.0f);
  EXPECT_EQ(transform->xform.m22, -1.0f);
  EXPECT_EQ(transform->xform.dx, 10.5f);
  EXPECT_EQ(transform->mode, 2u);
  EXPECT_EQ(r.records[9].As<emf::Value>()->AsFloat(), 4.0f);
  EXPECT_EQ(r.records[10].As<emf::Comment>()->data.size(), 5u);
  EXPECT_EQ(r.records[11].As<emf::RectValue>()->rect, (Rect{1, 2, 3, 4}));

  const emf::Blit* blit = r.records[12].As<emf::Blit>();
  ASSERT_NE(blit, nullptr);
  EXPECT_EQ(blit->dest, (Point{1, 2}));
  EXPECT_EQ(blit->dest_size, (emf::Extent{30, 40}));
  EXPECT_EQ(blit->rop, 0x00CC0020u);
  EXPECT_EQ(blit->source, (Point{3, 4}));
  EXPECT_EQ(blit->bk_color, 0x00FFFFFFu);

  const emf::RoundRectValue* round = r.records[13].As<emf::RoundRectValue>();
  ASSERT_NE(round, nullptr);
  EXPECT_EQ(round->box, (Rect{1, 2, 30, 40}));
  EXPECT_EQ(round->corner, (emf::Extent{8, 6}));
}

TEST(Layouts, DescriptionPartsAndFontForms) {
  std::vector<uint8_t> font = Payload({1, -40, 0, 2700, 2700, 700, 0x80000001, 0});
  for (char16_t c : std::u16string(u"@Face")) test::EmfBuilder::PutU16(font, c);
  font.resize(4 + 92 + 128 + 64 + 64 + 8, 0);  // LogFontExDv without axes
  const size_t script_at = 4 + 92 + 128 + 64;
  for (size_t i = 0; i < 4; ++i) test::EmfBuilder::PutU16(font, 0);
  font[script_at] = 'J';
  std::vector<uint8_t> file = test::EmfBuilder()
                                  .Handles(2)
                                  .Description(std::u16string(u"app\0\0", 5))
                                  .AddBytes(emf::kExtCreateFontIndirectW, font)
                                  .Build();
  emf::DecodeResult r = emf::DecodeEmf(file.data(), file.size());
  ASSERT_TRUE(r.ok()) << test::ProblemsText(r);
  EXPECT_EQ(r.header()->description_parts, (std::vector<std::u16string>{u"app"}));
  const emf::Font* f = r.records[1].As<emf::Font>();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->font.height, -40);
  EXPECT_EQ(f->font.escapement, 2700);
  EXPECT_EQ(f->font.weight, 700);
  EXPECT_EQ(f->font.italic, 1);
  EXPECT_EQ(f->font.charset, 0x80);
  EXPECT_EQ(f->font.face, u"@Face");
  EXPECT_EQ(f->script, u"J");
}

}  // namespace
}  // namespace tamvel
