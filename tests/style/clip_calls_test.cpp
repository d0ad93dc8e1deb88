// The clipping calls as recorded on any GDI: every selection is followed by the clip limit
// square, the pen stays where it was, a closed page is left alone.
#include "tests/shapes/recording_page.h"

namespace tamvel::test {
namespace {

using ClipCalls = RecordingPage;

const emf::Rect kLimitSquare{-5000, 25000, 25000, -5000};

TEST_F(ClipCalls, EverySelectionEndsWithTheLimitSquareAndThePenStays) {
  PLOT(30.0f, 40.0f, 3);
  Mark();
  SETCLIP(10.0f, 10.0f, 100.0f, 50.0f);
  ADDCLIP(120.0f, 10.0f, 150.0f, 50.0f);
  ANDCLIP(0.0f, 0.0f, 140.0f, 60.0f);
  DIFFCLIP(20.0f, 20.0f, 30.0f, 30.0f);
  const float x[3] = {0.0f, 100.0f, 50.0f};
  const float y[3] = {0.0f, 0.0f, 80.0f};
  ADDCLIPP(x, y, 3);
  ANDCLIPP(x, y, 3);
  DIFFCLIPP(x, y, 3);
  EXPECT_TRUE(PenAt(30.0f, 40.0f));
  PLOT(60.0f, 40.0f, 2);  // drawn from the previous point, not from a clip corner
  Finish();
  std::vector<emf::Rect> limits;
  for (const emf::Record *r : Slice()) {
    if (r->type == emf::kIntersectClipRect) limits.push_back(r->As<emf::RectValue>()->rect);
  }
  ASSERT_GE(limits.size(), 7u) << SliceText();
  EXPECT_EQ(limits.back(), kLimitSquare);
  const std::vector<Figure> figures = Figures();
  ASSERT_FALSE(figures.empty());
  EXPECT_EQ(figures.back(), (Figure{{Units(30), Units(40)}, {Units(60), Units(40)}}));
}

TEST_F(ClipCalls, DiffWithoutRegionAndResetLeaveThePageUnclipped) {
  Mark();
  DIFFCLIP(20.0f, 20.0f, 30.0f, 30.0f);
  DIFFCLIPP(nullptr, nullptr, 3);  // nothing at all
  const float x[1] = {1.0f};
  ADDCLIPP(x, x, 0);
  ADDCLIPP(x, x, -3);
  SETCLIP(10.0f, 10.0f, 20.0f, 20.0f);
  RESETCLIP();
  RESETCLIP();
  Finish();
  size_t resets = 0;
  for (const emf::Record *r : Slice()) {
    if (r->type != emf::kExtSelectClipRgn) continue;
    const emf::ClipRegion *clip = r->As<emf::ClipRegion>();
    ASSERT_NE(clip, nullptr);
    resets += !clip->has_region && clip->mode == RGN_COPY;
  }
  EXPECT_GE(resets, 3u) << SliceText();  // the difference, and each RESETCLIP
  uint32_t last_clip_record = 0;         // a reset: no limit square after RESETCLIP
  for (const emf::Record *r : Slice()) {
    if (r->type == emf::kExtSelectClipRgn || r->type == emf::kIntersectClipRect ||
        r->type == emf::kSelectClipPath) {
      last_clip_record = r->type;
    }
  }
  EXPECT_EQ(last_clip_record, static_cast<uint32_t>(emf::kExtSelectClipRgn));
}

TEST_F(ClipCalls, AClosedPageIsLeftAlone) {
  PLOT(0.0f, 0.0f, 999);
  SETCLIP(10.0f, 10.0f, 20.0f, 20.0f);
  ADDCLIP(10.0f, 10.0f, 20.0f, 20.0f);
  const float x[3] = {0.0f, 10.0f, 5.0f};
  ANDCLIPP(x, x, 3);
  RESETCLIP();
  result_ = DecodeMetafile(CurrentPage().FinishedMetafile());
  EXPECT_EQ(CountRecords(result_, emf::kExtSelectClipRgn), 0u);
  EXPECT_EQ(CountRecords(result_, emf::kIntersectClipRect), 0u);
}

}  // namespace
}  // namespace tamvel::test
