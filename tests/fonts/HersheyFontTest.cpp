// Hershey records: bounds, pen lifts, records running on over lines, and what is not a font.
#include <gtest/gtest.h>

#include <ostream>

#include "fonts/HersheyFont.h"

namespace {

using fonts::HersheyPoint;

TEST(HersheyFont, ReadsBoundsAndLiftsThePenAtEveryBlankR) {
  const fonts::HersheyFont font = fonts::parseHershey(
      "12345  1JZ\n"
      "12345  9G]KFK[ RYFY[ RKPYP\n");
  ASSERT_EQ(font.error, "");
  ASSERT_EQ(font.glyphs.size(), 2u);
  EXPECT_EQ(font.glyphs[0].left, -8);
  EXPECT_EQ(font.glyphs[0].right, 8);
  EXPECT_TRUE(font.glyphs[0].strokes.empty());
  const fonts::HersheyGlyph& h = font.glyphs[1];
  EXPECT_EQ(h.left, -11);
  EXPECT_EQ(h.right, 11);
  ASSERT_EQ(h.strokes.size(), 3u);
  EXPECT_EQ(h.strokes[0], (std::vector<HersheyPoint>{{-7, -12}, {-7, 9}}));
  EXPECT_EQ(h.strokes[2], (std::vector<HersheyPoint>{{-7, -2}, {7, -2}}));
}

TEST(HersheyFont, ARecordRunsOnOverTheFollowingLinesAndNothingAfterItsLastPairCounts) {
  const fonts::HersheyFont font = fonts::parseHershey(
      " 2226  5KYPBRC\r\nSDTF   \r\n"
      "  712  3MWRYQZ  \n");
  ASSERT_EQ(font.error, "");
  ASSERT_EQ(font.glyphs.size(), 2u);
  EXPECT_EQ(font.glyphs[0].strokes.front(), (std::vector<HersheyPoint>{{-2, -16}, {0, -15}, {1, -14}, {2, -12}}));
  EXPECT_EQ(font.glyphs[1].strokes.front(), (std::vector<HersheyPoint>{{0, 7}, {-1, 8}}));
}

struct BadCase {
  const char* name;
  const char* text;
  const char* error;
  friend std::ostream& operator<<(std::ostream& os, const BadCase& c) { return os << c.name; }
};

class HersheyBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(HersheyBad, IsRefusedWithTheLineThatIsWrong) {
  EXPECT_EQ(fonts::parseHershey(GetParam().text).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HersheyBad,
    ::testing::Values(BadCase{"ShortRecord", "12345  1JZ\n1234\n", "line 2: record too short"},
                      BadCase{"NoCount", "12345 xx JZ\n", "line 1: no coordinate count"},
                      BadCase{"ZeroCount", "12345  0\n", "line 1: no coordinate count"},
                      BadCase{"EndsEarly", "12345  3JZRF\n", "line 1: record ends early"},
                      BadCase{"ControlInData", "12345  2JZR\tF\n", "line 1: coordinate is no printable letter"}),
    [](const ::testing::TestParamInfo<BadCase>& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
