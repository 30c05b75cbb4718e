// Common cell rules: number format of cells, shifts in their order, cut depths, modes and pens.
#include <gtest/gtest.h>

#include <ostream>

#include "panel/RowCells.h"

namespace {

using panel::TMainFormState;

struct CellCase {
  double value;
  const char* text;
  friend std::ostream& operator<<(std::ostream& os, const CellCase& c) { return os << c.text; }
};

class CellText : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellText, RoundsToSixDigitsThenWritesTwoDecimals) {
  EXPECT_EQ(panel::cellText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, CellText,
                         ::testing::Values(CellCase{12345.678, "12345.70"}, CellCase{0.005, "0.01"},
                                           CellCase{-6.0, "-6.00"}, CellCase{1234567.0, "1234567.00"},
                                           CellCase{25.0, "25.00"}, CellCase{0.0, "0.00"}));

TEST(RowCells, TheInsertionShiftIsAddedBeforeTheCopyShift) {
  TMainFormState form;
  form.Einfuegeversatz = {0.2, 20.0};
  form.Nutzenversatz = {0.3, 5.0};
  // (0.1 + 0.2) + 0.3 differs from 0.1 + (0.2 + 0.3) in binary floating point.
  EXPECT_EQ(panel::shiftedX(form, 0.1), (0.1 + 0.2) + 0.3);
  EXPECT_NE(panel::shiftedX(form, 0.1), 0.1 + (0.2 + 0.3));
  EXPECT_DOUBLE_EQ(panel::shiftedY(form, 1.0), 26.0);
}

TEST(RowCells, DepthCellsBecomePositiveCutDepths) {
  panel::StringGrid grid(13, 2);
  grid.setCells(3, 1, "-0.5");
  grid.setCells(4, 1, "-2,00");
  grid.setCells(5, 1, "junk");
  EXPECT_DOUBLE_EQ(panel::cutDepth(grid, 3, 1), 0.5);
  EXPECT_DOUBLE_EQ(panel::cutDepth(grid, 4, 1), 2.0);
  EXPECT_DOUBLE_EQ(panel::cutDepth(grid, 5, 1), 0.0);
}

TEST(RowCells, ModeAndSelectionAreReadTrimmedAndCaseSensitive) {
  panel::StringGrid grid(13, 3);
  grid.setCells(11, 1, " ja ");
  grid.setCells(12, 1, " TRUE");
  grid.setCells(11, 2, "Ja");
  grid.setCells(12, 2, "false");
  const panel::RowBasis first = panel::readRowBasis(grid, 1);
  const panel::RowBasis second = panel::readRowBasis(grid, 2);
  EXPECT_EQ(first.Modus, "ja");
  EXPECT_TRUE(first.selektiert);
  EXPECT_TRUE(panel::isMilled(first.Modus));
  EXPECT_FALSE(panel::isMilled(second.Modus));
  EXPECT_FALSE(second.selektiert);
}

struct PenCase {
  const char* modus;
  bool gueltig;
  platform::Colour colour;
  platform::PenStyle style;
  friend std::ostream& operator<<(std::ostream& os, const PenCase& c) { return os << c.modus << "/" << c.gueltig; }
};

class OutlinePen : public ::testing::TestWithParam<PenCase> {};

TEST_P(OutlinePen, FollowsTheMode) {
  const panel::Palette farben;
  const platform::Pen pen = panel::outlinePen(farben, GetParam().modus, GetParam().gueltig);
  EXPECT_EQ(pen.colour, GetParam().colour);
  EXPECT_EQ(pen.style, GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(Cases, OutlinePen,
                         ::testing::Values(PenCase{"ja", true, 0x000000, platform::PenStyle::Solid},
                                           PenCase{"Ja", true, 0x000000, platform::PenStyle::Solid},
                                           PenCase{"nein", true, 0xDFDFDF, platform::PenStyle::Solid},
                                           PenCase{"nur zeichnen", true, 0x70C0FF, platform::PenStyle::Dot},
                                           PenCase{"ja", false, 0x0000FF, platform::PenStyle::Solid},
                                           PenCase{"nein", false, 0xDFDFDF, platform::PenStyle::Solid}));

}  // namespace
