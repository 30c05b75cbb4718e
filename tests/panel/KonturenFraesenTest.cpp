// The milling walk: order over the copies and rows, shifts, keyword dispatch, progress and
// screen hook, the copy counts and their bounds, the stop request once per copy, and failure codes
// passing through.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "RecordingMotion.h"
#include "TraceLogFolder.h"
#include "panel/DocumentFile.h"
#include "panel/KonturenFraesen.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"

namespace {

using panel::KonturTyp;
using panel::MillContext;
using panel::ObjectTypeTable;
using panel::StringGrid;
using panel::TMainFormState;

struct Call {
  int typ;
  int row;
  double xShift;
  double yShift;
  bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Call& c) {
  return os << "(typ " << c.typ << ", row " << c.row << ", shift " << c.xShift << "/" << c.yShift << ")";
}

class MillingWalk : public paneltest::TraceLogFolder {
 protected:
  MillingWalk() {
    form_.MenuNutzenfertigung.Checked = true;
    // Every type, the note included, records its call: the walk alone decides what is called.
    for (int typ = 0; typ < panel::kKonturTypCount; ++typ) {
      types_[static_cast<KonturTyp>(typ)].millRow = [this, typ](MillContext& context, const StringGrid&, int row) {
        calls_.push_back({typ, row, context.form.Nutzenversatz.x, context.form.Nutzenversatz.y});
        return true;
      };
    }
  }

  void setRows(std::initializer_list<const char*> keywords) {
    StringGrid& grid = form_.DatenStringGrid;
    grid.setRowCount(1 + static_cast<int>(keywords.size()));
    int row = 1;
    for (const char* keyword : keywords) grid.setCells(0, row++, keyword);
  }

  void setCopies(int x, int y, double xSpacing, double ySpacing) { form_.Nutzenfertigung = {xSpacing, ySpacing, x, y}; }

  void mill() {
    MillContext context{form_, types_, motion_,
                        [this] { hookPositions_.push_back(form_.FortschrittsanzeigeProgressBar.Position); }};
    panel::KonturenFraesen(context);
  }

  TMainFormState form_;
  ObjectTypeTable types_;
  paneltest::RecordingMotion motion_;
  std::vector<Call> calls_;
  std::vector<int> hookPositions_;
};

TEST_F(MillingWalk, MillsEveryCopyXOuterYInnerWithRowNumbersRestartingAtOne) {
  setRows({"KREIS", "TOOL"});
  setCopies(2, 3, 12.5, 7.0);
  mill();

  std::vector<Call> expected;
  std::vector<std::string> trace;
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 3; ++j) {
      expected.push_back({8, 1, i * 12.5, j * 7.0});
      expected.push_back({0, 2, i * 12.5, j * 7.0});
      trace.insert(trace.end(), {"", "[1] KREIS", "", "[2] TOOL"});
    }
  }
  trace.push_back("");
  EXPECT_EQ(calls_, expected);
  EXPECT_EQ(traceLines(), trace);
  EXPECT_EQ(hookPositions_, (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}));
  EXPECT_EQ(form_.Nutzenversatz.x, 12.5);
  EXPECT_EQ(form_.Nutzenversatz.y, 14.0);
  EXPECT_EQ(form_.Nutzenfertigung.xNFAnzahl, 2);
  EXPECT_EQ(form_.Nutzenfertigung.yNFAnzahl, 3);
}

TEST_F(MillingWalk, DispatchesTrimmedKeywordsAndSkipsNotesUnknownAndLowerCase) {
  setRows({" RECHTECK2 ", "kreis", "UNBEKANNT", "---", "", "HPGL/PLT"});
  mill();

  EXPECT_EQ(calls_, (std::vector<Call>{{5, 1, 0, 0}, {11, 6, 0, 0}}));
  EXPECT_EQ(traceLines(), (std::vector<std::string>{"", "[1] RECHTECK2", "", "[2] kreis", "", "[3] UNBEKANNT", "",
                                                    "[4] ---", "", "[5] ", "", "[6] HPGL/PLT", ""}));
  // Skipped rows still advance the progress and refresh the screen.
  EXPECT_EQ(hookPositions_, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(MillingWalk, MenuUncheckedMillsOnceAndSetsBothCountsToOne) {
  form_.MenuNutzenfertigung.Checked = false;
  setRows({"PUNKT"});
  setCopies(3, 4, 20.0, 30.0);
  mill();

  EXPECT_EQ(calls_, (std::vector<Call>{{2, 1, 0, 0}}));
  EXPECT_EQ(form_.Nutzenfertigung.xNFAnzahl, 1);
  EXPECT_EQ(form_.Nutzenfertigung.yNFAnzahl, 1);
}

TEST_F(MillingWalk, CountsOutsideOneToAThousandAreHeldAndStayInTheDocument) {
  struct Counts {
    int x;
    int y;
    std::size_t copies;
  };
  for (const Counts& c : {Counts{0, 2, 2}, Counts{3, -1, 3}, Counts{0, 0, 1}, Counts{2147483647, 2, 2000}}) {
    calls_.clear();
    setRows({"PUNKT"});
    setCopies(c.x, c.y, 10.0, 10.0);
    mill();
    EXPECT_EQ(calls_.size(), c.copies) << c.x << " x " << c.y;
    EXPECT_EQ(form_.Nutzenfertigung.xNFAnzahl, c.x);
    EXPECT_EQ(form_.Nutzenfertigung.yNFAnzahl, c.y);
  }
}

// A document that asks for the largest grid of copies and holds no rows moves nothing, so no move
// finds the stop request: each copy looks for it, so the run can still be stopped.
TEST_F(MillingWalk, EveryCopyLooksForTheStopRequestEvenWithoutRows) {
  testsupport::ScriptedUi ui;
  ASSERT_TRUE(panel::DokumentOeffnen(form_, testsupport::fixture("nutzen-absurd.tvx"), ui));
  form_.MenuNutzenfertigung.Checked = true;
  mill();
  EXPECT_EQ(motion_.stopChecks, panel::kMaxNutzenAnzahl * panel::kMaxNutzenAnzahl);

  motion_.stopChecks = 0;
  motion_.stopRequested = true;
  try {
    mill();
    FAIL() << "the stop request was not taken";
  } catch (int code) {
    EXPECT_EQ(code, 2000);
  }
  EXPECT_EQ(motion_.stopChecks, 1);
  EXPECT_FALSE(motion_.stopRequested);
}

TEST_F(MillingWalk, HeaderOnlyDocumentMillsNothing) {
  setCopies(2, 2, 10.0, 10.0);
  mill();

  EXPECT_TRUE(calls_.empty());
  EXPECT_TRUE(hookPositions_.empty());
  EXPECT_EQ(form_.FortschrittsanzeigeProgressBar.Position, 0);
  EXPECT_EQ(traceLines(), (std::vector<std::string>{""}));
}

TEST_F(MillingWalk, RowThatFailsToParseIsNotMilled) {
  std::vector<int> parsedRows;
  std::vector<double> milledDepths;
  types_[KonturTyp::Punkt].millRow = panel::parseThenMill(
      [&](MillContext&, const StringGrid& grid, int row) -> std::optional<double> {
        parsedRows.push_back(row);
        if (grid.Cells(11, row) != "ja") return std::nullopt;
        return row * -1.0;
      },
      [&](MillContext&, double depth) { milledDepths.push_back(depth); });

  setRows({"PUNKT", "PUNKT", "PUNKT"});
  form_.DatenStringGrid.setCells(11, 1, "ja");
  form_.DatenStringGrid.setCells(11, 2, "nein");
  form_.DatenStringGrid.setCells(11, 3, "ja");
  mill();

  EXPECT_EQ(parsedRows, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(milledDepths, (std::vector<double>{-1.0, -3.0}));
}

TEST_F(MillingWalk, ThrownCodeLeavesTheWalkUnchanged) {
  types_[KonturTyp::Kreis].millRow = [](MillContext&, const StringGrid&, int) -> bool { throw 2000; };
  setRows({"TOOL", "KREIS", "TOOL"});
  setCopies(2, 1, 10.0, 10.0);

  try {
    mill();
    FAIL() << "no code thrown";
  } catch (int code) {
    EXPECT_EQ(code, 2000);
  }
  EXPECT_EQ(calls_, (std::vector<Call>{{0, 1, 0, 0}}));
  EXPECT_EQ(hookPositions_, (std::vector<int>{1}));
  EXPECT_EQ(traceLines(), (std::vector<std::string>{"", "[1] TOOL", "", "[2] KREIS"}));
}

}  // namespace
