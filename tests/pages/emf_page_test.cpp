// The EMF page: what a new recording starts with, the primitives, closing and clearing.
#include "src/pages/emf_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

using emf::Record;

class EmfPageTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    page_ = &Page(0);
  }
  EmfPage *page_ = nullptr;
  void Open() { page_->OpenRecording(2100, 2970, "app", "corp"); }
  emf::DecodeResult Close() {
    page_->CloseRecording();
    return test::DecodeMetafile(page_->FinishedMetafile());
  }
};

uint32_t ValueOf(const Record *r) { return r->As<emf::Value>()->value; }

// The objects the page selects, in order.
std::vector<uint32_t> Selections(const emf::DecodeResult &page) {
  std::vector<uint32_t> ids;
  for (const Record *r : test::FindRecords(page, emf::kSelectObject)) ids.push_back(ValueOf(r));
  return ids;
}

// The stock-object index an EMR_SELECTOBJECT names.
constexpr uint32_t Stock(int object) {
  return emf::kStockObjectFlag | static_cast<uint32_t>(object);
}

TEST_F(EmfPageTest, NewRecordingStateAndObjects) {
  Open();
  // The recorder may resolve TA_UPDATECP itself; the DC keeps it.
  EXPECT_EQ(GetTextAlign(page_->RecordingDc()), 9u);
  EXPECT_EQ(GetMapMode(page_->RecordingDc()), MM_TWIPS);
  const emf::DecodeResult page = Close();
  ASSERT_NE(page.header(), nullptr);
  EXPECT_EQ(page.header()->frame, (emf::Rect{0, -29700, 21000, 0}));
  EXPECT_EQ(page.header()->description, std::u16string(u"app\0corp\0\0", 10));
  auto single = [&](uint32_t type) {
    const std::vector<const Record *> found = test::FindRecords(page, type);
    EXPECT_EQ(found.size(), 1u) << emf::RecordName(type);
    return found.empty() ? 0u : ValueOf(found[0]);
  };
  EXPECT_EQ(single(emf::kSetRop2), static_cast<uint32_t>(R2_COPYPEN));
  EXPECT_EQ(single(emf::kSetPolyFillMode), static_cast<uint32_t>(WINDING));
  EXPECT_EQ(single(emf::kSetTextAlign) & ~TA_UPDATECP, static_cast<uint32_t>(TA_BOTTOM));
  EXPECT_EQ(single(emf::kSetBkMode), static_cast<uint32_t>(TRANSPARENT));
  EXPECT_EQ(single(emf::kSetBkColor), 0xFFFFFFu);
  // The slot's pen, brush and font as InitPage describes them.
  const std::vector<test::RecordedPen> pens = test::PensOf(page);
  const auto brushes = test::FindRecords(page, emf::kCreateBrushIndirect);
  const auto fonts = test::FindRecords(page, emf::kExtCreateFontIndirectW);
  ASSERT_EQ(pens.size(), 1u);
  ASSERT_EQ(brushes.size(), 1u);
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(pens[0].width, 1);
  EXPECT_EQ(brushes[0]->As<emf::Brush>()->color, 0xFFFFFFu);
  EXPECT_EQ(brushes[0]->As<emf::Brush>()->style, static_cast<uint32_t>(BS_SOLID));
  const emf::LogFont &font = fonts[0]->As<emf::Font>()->font;
  EXPECT_EQ(font.height, 40);
  EXPECT_EQ(font.charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.clip_precision, CLIP_LH_ANGLES);
  EXPECT_EQ(font.face, u"ＭＳ ゴシック");
  // Saved right after creation and restored when closing.
  EXPECT_EQ(test::FindRecords(page, emf::kSaveDc).size(), 1u);
  EXPECT_EQ(test::FindRecords(page, emf::kRestoreDc).size(), 1u);
}

TEST_F(EmfPageTest, LongNamesAreCutInTheDescription) {
  const std::string long_name(60, 'n');
  page_->OpenRecording(100, 100, long_name.c_str(), nullptr);
  const emf::DecodeResult page = Close();
  ASSERT_NE(page.header(), nullptr);
  EXPECT_EQ(page.header()->description, std::u16string(40, u'n') + std::u16string(u"\0\0\0", 3));
}

TEST_F(EmfPageTest, SizeBelowOneMakesARecordingWithoutFrame) {
  page_->OpenRecording(0, 2970, "a", "b");
  EXPECT_TRUE(page_->IsRecording());
  page_->DrawLineTo(1000, 1000);
  const emf::DecodeResult page = Close();
  ASSERT_NE(page.header(), nullptr);
  EXPECT_NE(page.header()->frame, (emf::Rect{0, -29700, 0, 0}));
}

TEST_F(EmfPageTest, PolygonWithoutOutline) {
  Open();
  const POINT square[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  page_->DrawPolygon(square, 4, ALTERNATE);
  const size_t before = Close().records.size();

  Open();
  page_->DrawPolygon(square, -4, WINDING);
  page_->DrawPolygon(nullptr, 4, WINDING);  // ignored
  page_->DrawPolygon(square, 0, WINDING);   // ignored
  const emf::DecodeResult page = Close();
  const std::vector<uint32_t> selections = Selections(page);
  EXPECT_NE(std::find(selections.begin(), selections.end(), Stock(NULL_PEN)), selections.end());
  // One more SELECTOBJECT pair than the plain polygon; the pen comes back after the polygon.
  EXPECT_EQ(page.records.size(), before + 2);
  const std::vector<uint32_t> types = test::RecordTypes(page);
  const auto polygon = std::find_if(types.begin(), types.end(), [](uint32_t t) {
    return t == emf::kPolygon || t == emf::kPolygon16;
  });
  ASSERT_NE(polygon, types.end());
  ASSERT_NE(polygon + 1, types.end());
  EXPECT_EQ(*(polygon - 1), emf::kSelectObject);
  EXPECT_EQ(*(polygon + 1), emf::kSelectObject);
}

TEST_F(EmfPageTest, PieSelectors) {
  Open();
  page_->DrawPie(0, 100, 100, 0, 100, 50, 0, 50, 0);   // outline only
  page_->DrawPie(0, 100, 100, 0, 100, 50, 0, 50, -1);  // fill only
  page_->DrawPie(0, 100, 100, 0, 100, 50, 0, 50, 1);
  const emf::DecodeResult page = Close();
  // Each selection of a stock object is undone right after the shape (a pie, or the polygon
  // a recorder may flatten it to).
  const std::vector<uint32_t> selected = Selections(page);
  const auto null_brush = std::find(selected.begin(), selected.end(), Stock(NULL_BRUSH));
  const auto null_pen = std::find(selected.begin(), selected.end(), Stock(NULL_PEN));
  ASSERT_NE(null_brush, selected.end());
  ASSERT_NE(null_pen, selected.end());
  EXPECT_EQ(std::count(selected.begin(), selected.end(), Stock(NULL_BRUSH)), 1);
  EXPECT_EQ(std::count(selected.begin(), selected.end(), Stock(NULL_PEN)), 1);
  EXPECT_LT(null_brush, null_pen);
  const auto brushes = test::FindRecords(page, emf::kCreateBrushIndirect);
  ASSERT_EQ(brushes.size(), 1u);
  EXPECT_EQ(null_brush[1], brushes[0]->As<emf::Brush>()->index);  // the page brush again
  EXPECT_EQ(null_pen[1] & emf::kStockObjectFlag, 0u);             // the page pen again
  const std::vector<uint32_t> types = test::RecordTypes(page);
  const auto shapes = std::count_if(types.begin(), types.end(), [](uint32_t t) {
    return t == emf::kPie || t == emf::kPolygon || t == emf::kPolygon16;
  });
  EXPECT_EQ(shapes, 3);
}

TEST_F(EmfPageTest, ClosedPageRecordsNothingAndKeepsItsMetafile) {
  Open();
  page_->MovePenTo(10, 10);
  const size_t records = Close().records.size();
  HENHMETAFILE finished = page_->FinishedMetafile();
  page_->CloseRecording();  // a second close keeps the first metafile
  EXPECT_EQ(page_->FinishedMetafile(), finished);
  page_->MovePenTo(5, 5);
  page_->DrawLineTo(5, 5);
  const POINT points[2] = {{0, 0}, {1, 1}};
  page_->DrawPolyline(points, 2);
  page_->DrawArc(0, 1, 1, 0, 0, 0, 0, 0);
  int x = 77, y = 78;
  page_->GetPenPosition(&x, &y);  // nothing to read: left as they were
  EXPECT_EQ(std::pair(x, y), std::pair(77, 78));
  EXPECT_EQ(test::DecodeMetafile(page_->FinishedMetafile()).records.size(), records);
}

TEST_F(EmfPageTest, ClearingARecordingPageLeavesNoMetafile) {
  Open();
  page_->ClearPage();
  EXPECT_FALSE(page_->IsRecording());
  EXPECT_EQ(page_->FinishedMetafile(), nullptr);
  EXPECT_EQ(page_->PenHandle(), nullptr);
  EXPECT_EQ(page_->PenDescription().lopnWidth.x, 1);  // descriptions survive
}

TEST_F(EmfPageTest, ReleasingTheMetafileHandsItOver) {
  Open();
  page_->CloseRecording();
  HENHMETAFILE metafile = page_->ReleaseFinishedMetafile();
  ASSERT_NE(metafile, nullptr);
  EXPECT_EQ(page_->FinishedMetafile(), nullptr);
  EXPECT_TRUE(DeleteEnhMetaFile(metafile));
}

}  // namespace
}  // namespace tamvel
