// Drawn marks and arrows as recorded into a page: points in page units, the pen at the end,
// the brush and pen as they were.
#include <limits>

#include "tests/shapes/recording_page.h"

namespace tamvel::test {
namespace {

using MarkCalls = RecordingPage;

struct BrushState {
  UINT style = 0;
  COLORREF colour = 0;
  uintptr_t hatch = 0;
  bool operator==(const BrushState &) const = default;
};

BrushState Brush() {
  BrushState b;
  CurrentPage().ReadBrushState(&b.style, &b.colour, &b.hatch);
  return b;
}

// The pen and the last point (exactly) at (x, y).
void ExpectPenAt(float x, float y) {
  EXPECT_TRUE(PenAt(x, y));
  EXPECT_EQ(CurrentState().last_x, x);
  EXPECT_EQ(CurrentState().last_y, y);
}

TEST_F(MarkCalls, Ctsym2WorkedExample) {
  PLOT(10.0f, 10.0f, 3);
  Mark();
  CTSYM2(50.0f, 50.0f, 5.0f, 0, 0.0f, 0);
  ExpectPenAt(50.0f, 50.0f);
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 1u) << "no line to the centre without ipen -2\n" << SliceText();
  EXPECT_EQ(figures[0], (Figure{{Units(52), Units(52)},
                                {Units(48), Units(52)},
                                {Units(48), Units(48)},
                                {Units(52), Units(48)},
                                {Units(52), Units(52)}}));
}

TEST_F(MarkCalls, IpenMinusTwoJoinsThePreviousPoint) {
  Mark();
  PLOT(10.0f, 10.0f, 3);
  CTSYM2(20.0f, 10.0f, 5.0f, 3, 0.0f, -2);
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 3u) << SliceText();
  EXPECT_EQ(figures[0], (Figure{{Units(10), Units(10)}, {Units(20), Units(10)}}));
  EXPECT_EQ(figures[1], (Figure{{Units(20), Units(12)}, {Units(20), Units(8)}}));  // N -> S
}

TEST_F(MarkCalls, EveryMarkEndsAtItsCentreWithThePenAndBrushRestored) {
  FILLC(2, 0, 0, 0);
  FILLPT(8);
  PENC(4, 0, 0, 0);
  LNTYPE0(0, 3);
  const BrushState before = Brush();
  for (int32_t code = -1; code <= 16; ++code) {
    if (code == 7) continue;  // leaves the pen solid, checked below
    CTSYM2(40.0f + code, 60.0f, 4.0f, code, 30.0f, code % 2 ? -2 : 0);
    EXPECT_EQ(Brush(), before) << "CTSYM2 " << code;
    ExpectPenAt(40.0f + code, 60.0f);
    CTSYMB(40.0f + code, 80.0f, 4.0f, code, -15.0f, 0);
    EXPECT_EQ(Brush(), before) << "CTSYMB " << code;
    ExpectPenAt(40.0f + code, 80.0f);
  }
  EXPECT_EQ(LNTYPE0(0, 3), 3) << "outlines restore the line type";
  CTSYM2(10.0f, 10.0f, 4.0f, 7, 0.0f, 0);
  EXPECT_EQ(LNTYPE0(0, 0), 0) << "the filled circle leaves a solid pen";
  EXPECT_EQ(Brush(), before);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  CTSYM2(nan, 10.0f, nan, 1, nan, 0);
  CTSYMB(10.0f, 10.0f, 1e30f, 11, 0.0f, 0);
}

TEST_F(MarkCalls, FilledMarksTakeThePenColour) {
  PENC(2, 0, 0, 0);   // red pen
  FILLC(1, 0, 0, 0);  // blue brush
  Mark();
  CTSYM2(30.0f, 30.0f, 4.0f, 6, 0.0f, 0);
  Finish();
  bool red_fill = false;
  for (const emf::Brush *b : Views<emf::Brush>(result_, emf::kCreateBrushIndirect)) {
    red_fill |= b->style == BS_SOLID && b->color == 0x0000FFu;
  }
  EXPECT_TRUE(red_fill) << SliceText();
  EXPECT_TRUE(Selected(kNullPen)) << "filled without outline";
}

TEST_F(MarkCalls, CtsymbSquareHasFiveStrokes) {
  Mark();
  CTSYMB(50.0f, 50.0f, 5.0f, 0, 0.0f, 0);
  Finish();
  EXPECT_EQ(CountInSlice(emf::kLineTo), 5u) << SliceText();
}

TEST_F(MarkCalls, ArrowWorkedExampleType21) {
  // The worked example moved up by 10 mm, onto the page.
  Mark();
  AROWHD(0.0f, 10.0f, 100.0f, 10.0f, 5.0f, 2.0f, 21);
  ExpectPenAt(100.0f, 10.0f);
  Finish();
  const std::vector<Figure> figures = Figures();
  ASSERT_EQ(figures.size(), 3u) << SliceText();
  EXPECT_EQ(figures[0], (Figure{{Units(100), Units(10)},
                                {Units(95), Units(9)},
                                {Units(95), Units(11)},
                                {Units(100), Units(10)}}));
  EXPECT_EQ(figures[1], (Figure{{Units(95), Units(10)}, {Units(5), Units(10)}}));
  EXPECT_EQ(figures[2],
            (Figure{{0, Units(10)}, {Units(5), Units(11)}, {Units(5), Units(9)}, {0, Units(10)}}));
}

TEST_F(MarkCalls, ArrowsThatDrawNothing) {
  FILLC(3, 0, 0, 0);
  const BrushState before = Brush();
  PLOT(5.0f, 6.0f, 3);
  Mark();
  for (int32_t type : {0, 9, 10, 19, -11, std::numeric_limits<int32_t>::min()}) {
    AROWHD(10.0f, 10.0f, 30.0f, 20.0f, 3.0f, 2.0f, type);
    EXPECT_EQ(Brush(), before) << type;
    ExpectPenAt(30.0f, 20.0f);
  }
  PLOT(5.0f, 6.0f, 3);
  AROWHD(7.0f, 7.0f, 7.0f, 7.0f, 3.0f, 2.0f, 1);  // S = E: nothing, not even a move
  ExpectPenAt(5.0f, 6.0f);
  Finish();
  EXPECT_TRUE(Figures().empty()) << SliceText();
}

// Sizes and angles from which no shape follows (NaN; infinities, but for radii, which are
// cut to 2^29 page units) draw nothing and leave the pen where it was; so does a text height
// of NaN, whose width is 0.
TEST_F(MarkCalls, NonFiniteSizesAndAnglesDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  PLOT(5.0f, 6.0f, 3);
  Mark();
  for (float bad : {nan, inf, -inf}) {
    CTSYM2(50.0f, 50.0f, bad, 3, 0.0f, -2);
    CTSYMB(50.0f, 50.0f, 5.0f, 3, bad, -2);
    AROWHD(10.0f, 10.0f, 30.0f, 20.0f, bad, 2.0f, 21);
    AROWHD(10.0f, 10.0f, 30.0f, 20.0f, 3.0f, bad, 21);
    ARC(50.0f, 50.0f, 10.0f, bad, 90.0f, 1);
    ARCC(50.0f, 50.0f, 10.0f, 0.0f, bad);
    WEDGE(50.0f, 50.0f, 10.0f, 0.0f, bad, 1, 3);
    WEDGEG(50.0f, 50.0f, 10.0f, bad, 90.0f, -1, 3);
    ExpectPenAt(5.0f, 6.0f);
  }
  ARC(50.0f, 50.0f, nan, 0.0f, 90.0f, 1);
  KANJI(50.0f, 50.0f, nan, "Ab1", 0.0f, 3);
  ROOTK2(50.0f, 50.0f, nan, "Ab1", 0.0f, 3, 2);
  NUMBER(50.0f, 50.0f, nan, 1.5f, 0.0f, 2);
  EXPECT_EQ(KANJIWID(nan, "Ab1", 3), 0.0f);
  ExpectPenAt(5.0f, 6.0f);
  Finish();
  EXPECT_TRUE(Figures().empty()) << SliceText();
  EXPECT_EQ(CountInSlice(emf::kExtTextOutW), 0u) << SliceText();
}

TEST_F(MarkCalls, FilledHeadsFollowTheOutlineFlag) {
  PENC(12, 0, 0, 0);
  FILLPT(4);
  const BrushState before = Brush();
  Mark();
  AROWHD(10.0f, 10.0f, 50.0f, 10.0f, 4.0f, 3.0f, 16);
  const TAMVEL_FSTRING off{"NOOUTLINE", 9};
  OPTION(&off);
  AROWHD(10.0f, 20.0f, 50.0f, 20.0f, 4.0f, 3.0f, 27);
  EXPECT_EQ(Brush(), before);
  Finish();
  EXPECT_TRUE(Selected(kNullPen)) << SliceText();
  EXPECT_EQ(CountInSlice(emf::kPolygon16) + CountInSlice(emf::kPolygon), 3u);
}

}  // namespace
}  // namespace tamvel::test
