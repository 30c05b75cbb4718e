// Keyword recognition: the fixed type numbers, blanks trimmed at both ends, no case folding.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "panel/Keywords.h"

namespace {

struct KeywordCase {
  const char* cell;
  int typ;
  friend std::ostream& operator<<(std::ostream& os, const KeywordCase& c) { return os << '"' << c.cell << '"'; }
};

class KeywordRecognition : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(KeywordRecognition, TrimmedCellGivesTypeNumber) {
  EXPECT_EQ(panel::keywordTypeNumber(panel::trimBlanks(GetParam().cell)), GetParam().typ);
}

INSTANTIATE_TEST_SUITE_P(EveryKeyword, KeywordRecognition,
                         ::testing::Values(KeywordCase{"TOOL", 0}, KeywordCase{"PLAN", 1}, KeywordCase{"PUNKT", 2},
                                           KeywordCase{"LINIE1", 3}, KeywordCase{"RECHTECK1", 4},
                                           KeywordCase{"RECHTECK2", 5}, KeywordCase{"RECHTECK3", 6},
                                           KeywordCase{"VIELECK", 7}, KeywordCase{"KREIS", 8}, KeywordCase{"KBOGEN", 9},
                                           KeywordCase{"TEXT", 10}, KeywordCase{"HPGL/PLT", 11},
                                           KeywordCase{"BIBLIOTHEK", 12}, KeywordCase{"---", 13}));

INSTANTIATE_TEST_SUITE_P(BlanksAndCase, KeywordRecognition,
                         ::testing::Values(KeywordCase{" KREIS", 8}, KeywordCase{"KREIS  ", 8},
                                           KeywordCase{"  TOOL  ", 0}, KeywordCase{"tool", -1},
                                           KeywordCase{"Kreis", -1}, KeywordCase{"KRE IS", -1},
                                           KeywordCase{"KREIS1", -1}, KeywordCase{"RECHTECK", -1},
                                           KeywordCase{"--", -1}, KeywordCase{"", -1}, KeywordCase{"   ", -1}));

}  // namespace
