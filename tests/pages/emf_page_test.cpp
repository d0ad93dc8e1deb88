// The EMF page: what a new recording starts with, the primitives, closing and clearing.
#include "src/pages/emf_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

using emf::Record;

class EmfPageTest : public test::LibraryTest {
 protected:
  EmfPage &page_ = Page(0);
  void Open() { page_.OpenRecording(2100, 2970, "app", "corp"); }
  emf::DecodeResult Close() {
    page_.CloseRecording();
    return test::DecodeMetafile(page_.FinishedMetafile());
  }
};

uint32_t ValueOf(const Record *r) { return r->As<emf::Value>()->value; }

// The stock-object index an EMR_SELECTOBJECT names.
constexpr uint32_t Stock(int object) {
  return emf::kStockObjectFlag | static_cast<uint32_t>(object);
}

TEST_F(EmfPageTest, NewRecordingStateAndObjects) {
  Open();
  const emf::DecodeResult page = Close();
  ASSERT_NE(page.header(), nullptr);
  EXPECT_EQ(page.header()->frame, (emf::Rect{0, -29700, 21000, 0}));
  EXPECT_EQ(page.header()->description, std::u16string(u"app\0corp\0\0", 10));
  auto single = [&](uint32_t type) {
    const std::vector<const Record *> found = test::RecordsOfType(page, type);
    EXPECT_EQ(found.size(), 1u) << emf::RecordName(type);
    return found.empty() ? 0u : ValueOf(found[0]);
  };
  EXPECT_EQ(single(emf::EMR_SETROP2), static_cast<uint32_t>(R2_COPYPEN));
  EXPECT_EQ(single(emf::EMR_SETPOLYFILLMODE), static_cast<uint32_t>(WINDING));
  EXPECT_EQ(single(emf::EMR_SETTEXTALIGN), 9u);
  EXPECT_EQ(single(emf::EMR_SETBKMODE), static_cast<uint32_t>(TRANSPARENT));
  EXPECT_EQ(single(emf::EMR_SETBKCOLOR), 0xFFFFFFu);
  // The slot's pen, brush and font as InitPage describes them.
  const auto pens = test::RecordsOfType(page, emf::EMR_CREATEPEN);
  const auto brushes = test::RecordsOfType(page, emf::EMR_CREATEBRUSHINDIRECT);
  const auto fonts = test::RecordsOfType(page, emf::EMR_EXTCREATEFONTINDIRECTW);
  ASSERT_EQ(pens.size(), 1u);
  ASSERT_EQ(brushes.size(), 1u);
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(pens[0]->As<emf::Pen>()->width, 1);
  EXPECT_EQ(brushes[0]->As<emf::Brush>()->color, 0xFFFFFFu);
  EXPECT_EQ(brushes[0]->As<emf::Brush>()->style, static_cast<uint32_t>(BS_SOLID));
  const emf::LogFont &font = fonts[0]->As<emf::Font>()->font;
  EXPECT_EQ(font.height, 40);
  EXPECT_EQ(font.charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.clip_precision, CLIP_LH_ANGLES);
  EXPECT_EQ(font.face, u"ＭＳ ゴシック");
  // Saved right after creation and restored when closing.
  EXPECT_EQ(test::RecordsOfType(page, emf::EMR_SAVEDC).size(), 1u);
  EXPECT_EQ(test::RecordsOfType(page, emf::EMR_RESTOREDC).size(), 1u);
}

TEST_F(EmfPageTest, LongNamesAreCutInTheDescription) {
  const std::string long_name(60, 'n');
  page_.OpenRecording(100, 100, long_name.c_str(), nullptr);
  const emf::DecodeResult page = Close();
  ASSERT_NE(page.header(), nullptr);
  EXPECT_EQ(page.header()->description, std::u16string(40, u'n') + std::u16string(u"\0\0\0", 3));
}

TEST_F(EmfPageTest, SizeBelowOneMakesARecordingWithoutFrame) {
  page_.OpenRecording(0, 2970, "a", "b");
  EXPECT_TRUE(page_.IsRecording());
  page_.DrawLineTo(1000, 1000);
  const emf::DecodeResult page = Close();
  ASSERT_NE(page.header(), nullptr);
  EXPECT_NE(page.header()->frame, (emf::Rect{0, -29700, 0, 0}));
}

TEST_F(EmfPageTest, PolygonWithoutOutline) {
  Open();
  const POINT square[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  page_.DrawPolygon(square, 4, ALTERNATE);
  const size_t before = Close().records.size();

  Open();
  page_.DrawPolygon(square, -4, WINDING);
  page_.DrawPolygon(nullptr, 4, WINDING);  // ignored
  page_.DrawPolygon(square, 0, WINDING);   // ignored
  const emf::DecodeResult page = Close();
  std::vector<uint32_t> selections;
  for (const Record *r : test::RecordsOfType(page, emf::EMR_SELECTOBJECT)) {
    selections.push_back(ValueOf(r));
  }
  ASSERT_GE(selections.size(), 2u);
  EXPECT_TRUE(std::find(selections.begin(), selections.end(), Stock(NULL_PEN)) != selections.end());
  // One more SELECTOBJECT pair than the plain polygon; the pen comes back after the polygon.
  EXPECT_EQ(page.records.size(), before + 2);
  const std::vector<uint32_t> types = test::RecordTypes(page);
  const auto polygon = std::find_if(types.begin(), types.end(), [](uint32_t t) {
    return t == emf::EMR_POLYGON || t == emf::EMR_POLYGON16;
  });
  ASSERT_NE(polygon, types.end());
  ASSERT_NE(polygon + 1, types.end());
  EXPECT_EQ(*(polygon - 1), emf::EMR_SELECTOBJECT);
  EXPECT_EQ(*(polygon + 1), emf::EMR_SELECTOBJECT);
}

TEST_F(EmfPageTest, PieSelectors) {
  Open();
  page_.DrawPie(0, 100, 100, 0, 100, 50, 0, 50, 0);   // outline only
  page_.DrawPie(0, 100, 100, 0, 100, 50, 0, 50, -1);  // fill only
  page_.DrawPie(0, 100, 100, 0, 100, 50, 0, 50, 1);
  const emf::DecodeResult page = Close();
  const std::vector<uint32_t> types = test::RecordTypes(page);
  std::vector<uint32_t> selected;
  for (const Record *r : test::RecordsOfType(page, emf::EMR_SELECTOBJECT)) {
    selected.push_back(ValueOf(r));
  }
  EXPECT_EQ(std::count(types.begin(), types.end(), emf::EMR_PIE), 3);
  EXPECT_EQ(std::count(selected.begin(), selected.end(), Stock(NULL_BRUSH)), 1);
  EXPECT_EQ(std::count(selected.begin(), selected.end(), Stock(NULL_PEN)), 1);
  const auto pies = test::RecordsOfType(page, emf::EMR_PIE);
  EXPECT_EQ(pies[0]->As<emf::ArcValue>()->box, (emf::Rect{0, 100, 100, 0}));
}

TEST_F(EmfPageTest, ClosedPageRecordsNothingAndKeepsItsMetafile) {
  Open();
  page_.MovePenTo(10, 10);
  const size_t records = Close().records.size();
  HENHMETAFILE finished = page_.FinishedMetafile();
  page_.CloseRecording();  // a second close keeps the first metafile
  EXPECT_EQ(page_.FinishedMetafile(), finished);
  page_.MovePenTo(5, 5);
  page_.DrawLineTo(5, 5);
  const POINT points[2] = {{0, 0}, {1, 1}};
  page_.DrawPolyline(points, 2);
  page_.DrawArc(0, 1, 1, 0, 0, 0, 0, 0);
  int x = 77;
  int y = 78;
  page_.GetPenPosition(&x, &y);
  EXPECT_EQ(x, 77);
  EXPECT_EQ(y, 78);
  EXPECT_EQ(test::DecodeMetafile(page_.FinishedMetafile()).records.size(), records);
}

TEST_F(EmfPageTest, ClearingARecordingPageLeavesNoMetafile) {
  Open();
  page_.ClearPage();
  EXPECT_FALSE(page_.IsRecording());
  EXPECT_EQ(page_.FinishedMetafile(), nullptr);
  EXPECT_EQ(page_.PenHandle(), nullptr);
  EXPECT_EQ(page_.PenDescription().lopnWidth.x, 1);  // descriptions survive
}

TEST_F(EmfPageTest, ReleasingTheMetafileHandsItOver) {
  Open();
  page_.CloseRecording();
  HENHMETAFILE metafile = page_.ReleaseFinishedMetafile();
  ASSERT_NE(metafile, nullptr);
  EXPECT_EQ(page_.FinishedMetafile(), nullptr);
  EXPECT_TRUE(DeleteEnhMetaFile(metafile));
}

TEST_F(EmfPageTest, PenPositionFollowsMovesAndLines) {
  Open();
  int x = 0;
  int y = 0;
  page_.MovePenTo(120, -40);
  page_.GetPenPosition(&x, &y);
  EXPECT_EQ(x, 120);
  EXPECT_EQ(y, -40);
  page_.DrawLineTo(300, 200);
  page_.GetPenPosition(&x, nullptr);
  EXPECT_EQ(x, 300);
}

}  // namespace
}  // namespace tamvel
