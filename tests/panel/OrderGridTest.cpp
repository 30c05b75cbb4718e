// The order grid: its lines, its scrolling and selection, the enabled order buttons, and moving,
// deleting and choosing rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/OrderGrid.h"
#include "panel/PropertyRows.h"

namespace {

using Strings = std::vector<std::string>;

class OrderGrid : public ::testing::Test {
 protected:
  // Rows named "PUNKT1", "PUNKT2", ... so that their order shows.
  void addRows(int count) {
    for (int i = 1; i <= count; ++i) {
      panel::appendObjectRow(form_, "PUNKT" + std::to_string(form_.DatenStringGrid.RowCount()),
                             {{1, std::to_string(i)}});
    }
  }
  std::vector<std::string> keywords() const {
    std::vector<std::string> out;
    for (int row = 1; row < form_.DatenStringGrid.RowCount(); ++row) out.push_back(form_.DatenStringGrid.Cells(0, row));
    return out;
  }
  // The three cells of line k.
  std::vector<std::string> line(int k) const {
    const panel::StringGrid& grid = form_.ReihenfolgeStringGrid;
    return {grid.Cells(0, k), grid.Cells(1, k), grid.Cells(2, k)};
  }

  panel::TMainFormState form_;
};

TEST_F(OrderGrid, AnEmptyDocumentShowsThePlaceholderLine) {
  form_.iAktZeile = 1;
  panel::ReihenfolgeAufbauen(form_);
  EXPECT_EQ(form_.ReihenfolgeStringGrid.RowCount(), 2);
  EXPECT_EQ(line(0), (Strings{" Nr.", " KonturTyp", " E F R F"}));
  EXPECT_EQ(line(1), (Strings{" 1", " -", " "}));
  panel::ReihenfolgeKnoepfe(form_);
  EXPECT_FALSE(form_.DelSpeedButton.Enabled);
  EXPECT_FALSE(form_.EigenschaftenStringGridControl.Enabled);
  // Its command then does nothing.
  form_.iAktZeile = 0;
  panel::ReihenfolgeKnoepfe(form_);
  EXPECT_TRUE(form_.NachObenSpeedButton.Enabled);
  EXPECT_FALSE(form_.NachUntenSpeedButton.Enabled);
}

TEST_F(OrderGrid, EveryRowGetsItsNumberAndItsKeywordAsStored) {
  addRows(2);
  panel::appendObjectRow(form_, " KREIS ", {});
  form_.iAktZeile = 2;
  const unsigned generation = form_.ReihenfolgeStringGridControl.generation;
  panel::ReihenfolgeAufbauen(form_);
  EXPECT_EQ(form_.ReihenfolgeStringGrid.RowCount(), 4);
  EXPECT_EQ(line(1), (Strings{" 1", " PUNKT1", " "}));
  EXPECT_EQ(line(2), (Strings{" 2", " PUNKT2", " "}));
  EXPECT_EQ(line(3), (Strings{" 3", "  KREIS ", " "}));
  EXPECT_EQ(form_.ReihenfolgeStringGridControl.Row, 2);
  EXPECT_NE(form_.ReihenfolgeStringGridControl.generation, generation);
  form_.iAktZeile = 0;
  panel::ReihenfolgeAufbauen(form_);
  EXPECT_EQ(form_.ReihenfolgeStringGridControl.Row, 1);
}

TEST_F(OrderGrid, ARowBelowTheVisibleLinesBecomesTheLastVisibleOne) {
  addRows(100);
  panel::GridControlState& view = form_.ReihenfolgeStringGridControl;
  view.VisibleRowCount = 10;
  view.TopRow = 1;
  form_.iAktZeile = 80;
  panel::ReihenfolgeAufbauen(form_);
  EXPECT_EQ(view.TopRow, 71);
  // Rows already in view, or above it, leave the scrolling as it is.
  form_.iAktZeile = 75;
  panel::ReihenfolgeAufbauen(form_);
  EXPECT_EQ(view.TopRow, 71);
  form_.iAktZeile = 3;
  panel::ReihenfolgeAufbauen(form_);
  EXPECT_EQ(view.TopRow, 71);
}

TEST_F(OrderGrid, TheButtonsFollowTheSelectedRow) {
  addRows(5);
  struct Case {
    int akt;
    bool up;
    bool down;
  };
  for (const Case& c : {Case{0, true, false}, Case{1, false, true}, Case{3, true, true}, Case{5, true, false}}) {
    form_.iAktZeile = c.akt;
    panel::ReihenfolgeKnoepfe(form_);
    EXPECT_EQ(form_.NachObenSpeedButton.Enabled, c.up) << c.akt;
    EXPECT_EQ(form_.NachUntenSpeedButton.Enabled, c.down) << c.akt;
    EXPECT_TRUE(form_.DelSpeedButton.Enabled);
    EXPECT_TRUE(form_.EigenschaftenStringGridControl.Enabled);
  }
}

TEST_F(OrderGrid, MovingExchangesWholeRowsAndTheSelectionGoesAlong) {
  addRows(3);
  form_.DatenStringGrid.setCells(12, 2, "true");
  form_.iAktZeile = 2;
  EXPECT_TRUE(panel::KonturNachOben(form_));
  EXPECT_EQ(keywords(), (std::vector<std::string>{"PUNKT2", "PUNKT1", "PUNKT3"}));
  EXPECT_EQ(form_.DatenStringGrid.Cells(1, 1), "2");
  EXPECT_EQ(form_.iAktZeile, 1);
  EXPECT_FALSE(panel::KonturNachOben(form_));
  EXPECT_TRUE(panel::KonturNachUnten(form_));
  EXPECT_TRUE(panel::KonturNachUnten(form_));
  EXPECT_EQ(keywords(), (std::vector<std::string>{"PUNKT1", "PUNKT3", "PUNKT2"}));
  EXPECT_EQ(form_.iAktZeile, 3);
  EXPECT_FALSE(panel::KonturNachUnten(form_));
  EXPECT_EQ(keywords(), (std::vector<std::string>{"PUNKT1", "PUNKT3", "PUNKT2"}));
  form_.iAktZeile = 0;
  EXPECT_FALSE(panel::KonturNachUnten(form_));
}

TEST_F(OrderGrid, DeletingSelectsTheRowAbove) {
  addRows(5);
  form_.iAktZeile = 5;
  EXPECT_TRUE(panel::KonturLoeschen(form_));
  EXPECT_EQ(form_.iAktZeile, 4);
  form_.iAktZeile = 3;
  EXPECT_TRUE(panel::KonturLoeschen(form_));
  EXPECT_EQ(form_.iAktZeile, 2);
  EXPECT_EQ(keywords(), (std::vector<std::string>{"PUNKT1", "PUNKT2", "PUNKT4"}));
  form_.iAktZeile = 1;
  EXPECT_TRUE(panel::KonturLoeschen(form_));
  EXPECT_EQ(form_.iAktZeile, 1);
  EXPECT_TRUE(panel::KonturLoeschen(form_));
  EXPECT_TRUE(panel::KonturLoeschen(form_));
  EXPECT_EQ(form_.DatenStringGrid.RowCount(), 1);
  EXPECT_EQ(form_.iAktZeile, 1);
  EXPECT_FALSE(panel::KonturLoeschen(form_));
  form_.iAktZeile = 0;
  EXPECT_FALSE(panel::KonturLoeschen(form_));
}

TEST_F(OrderGrid, ChoosingALineSelectsOnlyItsRow) {
  addRows(3);
  form_.DatenStringGrid.setCells(12, 1, "true");
  EXPECT_FALSE(panel::ReihenfolgeWaehlen(form_, 0));
  EXPECT_EQ(form_.DatenStringGrid.Cells(12, 1), "true");
  EXPECT_TRUE(panel::ReihenfolgeWaehlen(form_, 3));
  EXPECT_EQ(form_.iAktZeile, 3);
  EXPECT_EQ(form_.DatenStringGrid.Cells(12, 1), "false");
  EXPECT_EQ(form_.DatenStringGrid.Cells(12, 2), "false");
  EXPECT_EQ(form_.DatenStringGrid.Cells(12, 3), "true");
}

}  // namespace
