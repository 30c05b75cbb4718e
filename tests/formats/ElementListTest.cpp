// The path element lists: texts cut to their layout, elements kept in order across the blocks
// they lie in (large ones in huge pages), and a full list that refuses with its text once.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

#include "formats/ElementList.h"

namespace {

using formats::DinIsoLayout;
using formats::DxfLayout;
using formats::ElementKnoten;
using formats::ElementList;
using formats::HpglLayout;

TEST(ElementList, TextsAreCutToTheirLayoutsLengths) {
  ElementList<DinIsoLayout> program;
  program.Element_anhaengen({"ABCDEFGHIJKL", "12345678901234567", 1.0, 2.0, 3.0});
  ElementList<DxfLayout> drawing;
  drawing.Element_anhaengen({"ABCDEFGHIJKLMNOPQR", 1.0, 2.0, 3.0});
  ElementList<HpglLayout> plot;
  plot.Element_anhaengen({"ABCDEFGHIJKLMN", 7, 1.0, 2.0});
  EXPECT_EQ(program[0].Befehl, "ABCDEFGHI");
  EXPECT_EQ(program[0].Argument, "1234567890123");
  EXPECT_EQ(program[0].z, 3.0);
  EXPECT_EQ(drawing[0].Befehl, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(plot[0].Befehl, "ABCDEFGHIJK");
  EXPECT_EQ(plot[0].Stift, 7);
}

// Three and a half blocks: the first one grown past a megabyte, two full ones and part of a
// fourth, every element where it was put, by index and by walk; freed, the list is empty.
TEST(ElementList, KeepsEveryElementInOrderAcrossItsBlocks) {
  using List = ElementList<HpglLayout>;
  const std::size_t count = 3 * List::kBlock + List::kBlock / 2;
  List list;
  for (std::size_t i = 0; i < count; ++i) {
    ASSERT_TRUE(list.Element_anhaengen({i % 2 == 0 ? "MOVETO" : "LINETO", 0, static_cast<double>(i), -1.0}));
  }
  ASSERT_EQ(list.size(), count);
  for (std::size_t i : {std::size_t{0}, List::kBlock - 1, List::kBlock, 2 * List::kBlock + 1, count - 1}) {
    EXPECT_EQ(list[i].x, static_cast<double>(i));
  }
  std::size_t walked = 0;
  for (const auto& element : list) {
    if (element.x != static_cast<double>(walked) || element.Befehl != (walked % 2 == 0 ? "MOVETO" : "LINETO")) break;
    ++walked;
  }
  EXPECT_EQ(walked, count);
  list.Liste_loeschen();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.begin(), list.end());
}

// A full list links nothing more and says so once on the standard error stream, with the text of
// an empty list or the one of a list that has elements.
TEST(ElementList, AFullListRefusesAndSaysSoOnce) {
  std::ostringstream err;
  std::streambuf* const before = std::cerr.rdbuf(err.rdbuf());
  ElementList<HpglLayout> none(0);
  const bool intoNone = none.Element_anhaengen({"UP", 0, 0.0, 0.0});
  ElementList<HpglLayout> two(2);
  bool intoTwo = true;
  for (int i = 0; i < 5; ++i) intoTwo = two.Element_anhaengen({"UP", 0, 0.0, 0.0});
  std::cerr.rdbuf(before);
  EXPECT_FALSE(intoNone);
  EXPECT_FALSE(intoTwo);
  EXPECT_EQ(two.size(), 2u);
  EXPECT_EQ(err.str(), "Kein Speicherplatz vorhanden fuer anfang\nKein Speicherplatz fuer das letzte Element\n");
}

}  // namespace
