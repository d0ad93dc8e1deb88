// Decoding metafiles written by another GDI: every record must come out typed and every field
// must match what that GDI was asked to draw. (nBytes and nRecords are checked against the
// file by every decoding, so a clean result covers them.)
#include <gtest/gtest.h>

#include <utility>

#include "platform/emf/emf_decoder.h"
#include "platform/emf/emf_text.h"
#include "tests/common/emf_test_util.h"

namespace tamvel {
namespace {

using emf::Point;
using emf::Rect;

const emf::DecodeResult& Rich() {
  static const emf::DecodeResult result = test::DecodeFile(test::TestDataPath("emf/gdi-rich.emf"));
  return result;
}

TEST(RichSample, DecodesWithoutProblemsAndTypesEveryKnownRecord) {
  const emf::DecodeResult& r = Rich();
  ASSERT_TRUE(r.ok()) << test::ProblemsText(r);
  ASSERT_EQ(r.records.size(), 141u);
  EXPECT_EQ(r.records.front().type, emf::kHeader);
  EXPECT_EQ(r.records.back().type, emf::kEof);
  for (const emf::Record& record : r.records) {
    EXPECT_FALSE(record.IsRaw()) << test::Describe(record);
  }
  const std::pair<uint32_t, size_t> counts[] = {{emf::kMoveToEx, 32},
                                                {emf::kLineTo, 35},
                                                {emf::kSelectObject, 22},
                                                {emf::kExtTextOutW, 15},
                                                {emf::kExtCreateFontIndirectW, 4},
                                                {emf::kExtSelectClipRgn, 2}};
  for (const auto& [type, count] : counts) {
    EXPECT_EQ(test::CountRecords(r, type), count) << test::TypeNames({type});
  }
  std::vector<uint32_t> types = test::RecordTypes(r);
  std::vector<uint32_t> opening(types.begin(), types.begin() + 6);
  EXPECT_EQ(test::TypeNames(opening),
            "EMR_HEADER EMR_SETMAPMODE EMR_SETBKMODE EMR_SETTEXTALIGN EMR_EXTCREATEFONTINDIRECTW "
            "EMR_SELECTOBJECT");
}

TEST(RichSample, HeaderFieldsAndDescription) {
  const emf::DecodeResult& r = Rich();
  const emf::Header* h = r.header();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->bounds, (Rect{33, -28, 978, 1086}));
  EXPECT_EQ(h->frame, (Rect{0, 0, 21000, 29700}));
  EXPECT_EQ(h->handles, 14);
  EXPECT_EQ(h->palette_entries, 0u);
  EXPECT_EQ(h->device, (emf::Extent{1024, 768}));
  EXPECT_EQ(h->millimeters, (emf::Extent{271, 203}));
  EXPECT_EQ(h->micrometers, (emf::Extent{271000, 203000}));
  EXPECT_EQ(h->form_size, 108u);
  EXPECT_EQ(h->description_chars, 17u);
  EXPECT_EQ(h->description, std::u16string(u"probe\0rich test\0\0", 17));
  EXPECT_EQ(h->description_parts, (std::vector<std::u16string>{u"probe", u"rich test"}));
}

TEST(RichSample, ShiftJisTextComesOutAsUtf16WithItsAdvances) {
  const emf::DecodeResult& r = Rich();
  std::vector<const emf::Text*> texts = test::Views<emf::Text>(r, emf::kExtTextOutW);
  ASSERT_EQ(texts.size(), 15u);
  const std::u16string japanese = u"日本語テキスト「明朝」ABC abc 半角ｶﾅ";
  const emf::Text& plain = *texts[9];
  const emf::Text& spaced = *texts[10];
  EXPECT_EQ(plain.text, japanese) << emf::Utf16ToUtf8(plain.text);
  EXPECT_EQ(spaced.text, japanese);
  EXPECT_EQ(plain.reference, (Point{1134, -10206}));
  EXPECT_EQ(plain.options, 0u);
  EXPECT_EQ(plain.rectangle, (Rect{0, 0, -1, -1}));
  ASSERT_EQ(plain.dx.size(), japanese.size());
  ASSERT_EQ(spaced.dx.size(), japanese.size());
  for (size_t i = 0; i < japanese.size(); ++i) {
    bool half_width = japanese[i] < 0x80 || (japanese[i] >= 0xFF61 && japanese[i] <= 0xFF9F);
    EXPECT_EQ(plain.dx[i], half_width ? 180 : 360) << i;
    EXPECT_EQ(spaced.dx[i], plain.dx[i] + 120) << i;  // the character extra of 120 twips
  }
  EXPECT_EQ(texts[11]->text, u"10 SJIS text, MS Mincho 18pt; 2nd line extra=120 twips");
  EXPECT_EQ(texts[13]->text, u"縦書き日本語「テスト」ー１２");
}

TEST(RichSample, FontsKeepFaceCharsetAndEscapement) {
  const emf::DecodeResult& r = Rich();
  std::vector<const emf::Font*> fonts = test::Views<emf::Font>(r, emf::kExtCreateFontIndirectW);
  ASSERT_EQ(fonts.size(), 4u);
  EXPECT_EQ(fonts[0]->font.face, u"Arial");
  EXPECT_EQ(fonts[0]->font.height, -200);
  EXPECT_EQ(fonts[0]->elw_size, 320u);  // the LogFontPanose form
  EXPECT_EQ(fonts[1]->index, 11u);
  EXPECT_EQ(fonts[1]->font.face, u"ＭＳ 明朝");
  EXPECT_EQ(fonts[1]->font.charset, 128);
  EXPECT_EQ(fonts[1]->font.height, -360);
  EXPECT_EQ(fonts[3]->font.face, u"@ＭＳ 明朝");
  EXPECT_EQ(fonts[3]->font.escapement, -900);
  EXPECT_EQ(fonts[3]->font.orientation, -900);
}

TEST(RichSample, ShapesPensBrushesAndClip) {
  const emf::DecodeResult& r = Rich();
  const emf::ArcValue* pie = test::FirstView<emf::ArcValue>(r, emf::kPie);
  ASSERT_NE(pie, nullptr);
  EXPECT_EQ(pie->box, (Rect{7371, -3402, 9638, -1135}));
  EXPECT_EQ(pie->start, (Point{9639, -2268}));
  EXPECT_EQ(pie->end, (Point{8505, -1134}));
  const emf::ArcValue* arc = test::FirstView<emf::ArcValue>(r, emf::kArc);
  ASSERT_NE(arc, nullptr);
  EXPECT_EQ(arc->box, (Rect{1134, -6237, 3401, -3970}));
  EXPECT_EQ(arc->start, (Point{3402, -5103}));
  EXPECT_EQ(arc->end, (Point{1134, -5103}));

  const emf::Poly* zigzag = test::FirstView<emf::Poly>(r, emf::kPolyline16);
  ASSERT_NE(zigzag, nullptr);
  EXPECT_TRUE(zigzag->short_points);
  std::vector<Point> zigzag_points;  // 400 twips apart, down and up
  for (int i = 0; i < 7; ++i) zigzag_points.push_back({1134 + 400 * i, i % 2 ? -1701 : -2835});
  EXPECT_EQ(zigzag->points, zigzag_points);
  const emf::PolyPoly* path = test::FirstView<emf::PolyPoly>(r, emf::kPolyPolyline16);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->counts, (std::vector<uint32_t>{3, 3}));
  EXPECT_EQ(path->points.back(), (Point{9639, -6237}));

  std::vector<const emf::Pen*> pens = test::Views<emf::Pen>(r, emf::kCreatePen);
  ASSERT_EQ(pens.size(), 4u);
  EXPECT_EQ(pens[0]->color, 0x0000DCu);
  EXPECT_EQ(pens[0]->width, 30);
  EXPECT_EQ(pens[2]->style, 0x11200u);  // geometric, flat caps, bevel joins
  EXPECT_EQ(pens[2]->width, 240);
  EXPECT_EQ(pens[3]->color, 0x01000000u);  // PALETTEINDEX(0) kept verbatim

  const emf::PatternBrush* mono = test::FirstView<emf::PatternBrush>(r, emf::kCreateMonoBrush);
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(mono->usage, 2u);
  EXPECT_EQ(mono->dib.width, 8);
  EXPECT_EQ(mono->dib.height, 8);
  EXPECT_EQ(mono->dib.bit_count, 1);
  EXPECT_EQ(mono->dib.bits.size(), 32u);

  std::vector<const emf::ClipRegion*> clips =
      test::Views<emf::ClipRegion>(r, emf::kExtSelectClipRgn);
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_EQ(clips[0]->mode, 5u);
  ASSERT_TRUE(clips[0]->has_region);
  EXPECT_EQ(clips[0]->rects, (std::vector<Rect>{{113, 492, 265, 568}}));
  EXPECT_FALSE(clips[1]->has_region);

  const emf::Eof* eof = r.records.back().As<emf::Eof>();
  ASSERT_NE(eof, nullptr);
  EXPECT_TRUE(eof->palette.empty());
  EXPECT_EQ(eof->size_last, 20u);
}

TEST(ClipArcSample, ClipsAndHeaderWithoutDescription) {
  emf::DecodeResult r = test::DecodeFile(test::TestDataPath("emf/gdi-clip-arc.emf"));
  ASSERT_TRUE(r.ok()) << test::ProblemsText(r);
  ASSERT_EQ(r.records.size(), 128u);
  const emf::Header* h = r.header();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->bounds, (Rect{27, 27, 700, 527}));
  EXPECT_EQ(h->frame, (Rect{0, 0, 21000, 14850}));
  EXPECT_EQ(h->handles, 8);
  EXPECT_EQ(h->description_chars, 0u);
  EXPECT_TRUE(h->description_parts.empty());

  const emf::ClipRegion* region = test::FirstView<emf::ClipRegion>(r, emf::kExtSelectClipRgn);
  ASSERT_NE(region, nullptr);
  EXPECT_EQ(region->bound, (Rect{67, 67, 267, 200}));
  EXPECT_EQ(region->rects, (std::vector<Rect>{{67, 67, 267, 200}}));
  const emf::RectValue* intersect = test::FirstView<emf::RectValue>(r, emf::kIntersectClipRect);
  ASSERT_NE(intersect, nullptr);
  EXPECT_EQ(intersect->rect, (Rect{6000, -1000, 9000, -3000}));
  const emf::Value* clip_path = test::FirstView<emf::Value>(r, emf::kSelectClipPath);
  ASSERT_NE(clip_path, nullptr);
  EXPECT_EQ(clip_path->value, 5u);
  std::vector<const emf::Value*> restores = test::Views<emf::Value>(r, emf::kRestoreDc);
  ASSERT_EQ(restores.size(), 2u);
  EXPECT_EQ(restores[0]->AsInt(), -1);
}

}  // namespace
}  // namespace tamvel
