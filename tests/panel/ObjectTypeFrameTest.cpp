// The object-type frame: parse first, the fixed drawing order under the display switches, the
// milling frame, selection, handles and property roles reached through the dispatch table.
#include <gtest/gtest.h>

#include <ostream>

#include "RecordingMotion.h"
#include "TestPointType.h"
#include "TraceLogFolder.h"
#include "support/RecordingCanvas.h"

namespace {

using panel::KonturTyp;
using paneltest::TestPointType;

class ObjectTypeFrame : public paneltest::TraceLogFolder {
 protected:
  ObjectTypeFrame() {
    TestPointType::log = &log_;
    types_[KonturTyp::Punkt] = panel::makeObjectTypeEntry<TestPointType>();
    types_[KonturTyp::Hinweis] = panel::makeObjectTypeEntry<paneltest::ParseOnlyType>();
    form_.Ansicht.x0 = 10;
    form_.Ansicht.y0 = 200;
    form_.Ansicht.dMassstab = 2.0;
  }
  ~ObjectTypeFrame() override { TestPointType::log = nullptr; }

  int addPoint(const char* x, const char* y, const char* depth, const char* mode = "ja") {
    const int row = panel::appendObjectRow(form_, "PUNKT", {{1, x}, {2, y}, {3, depth}});
    form_.DatenStringGrid.setCells(11, row, mode);
    return row;
  }

  bool draw(int row) {
    panel::DrawContext context{form_, canvas_, types_};
    return types_[KonturTyp::Punkt].drawRow(context, form_.DatenStringGrid, row);
  }

  std::vector<std::string> log_;
  panel::TMainFormState form_;
  panel::ObjectTypeTable types_;
  testsupport::RecordingCanvas canvas_;
  paneltest::RecordingMotion motion_;
};

struct SwitchCase {
  bool leerfahrten;
  bool nummer;
  bool fraeswege;
  std::vector<std::string> roles;
  friend std::ostream& operator<<(std::ostream& os, const SwitchCase& c) {
    return os << c.leerfahrten << c.nummer << c.fraeswege;
  }
};

class DrawOrder : public ObjectTypeFrame, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(DrawOrder, ParsesThenDrawsInTheFixedOrderTheSwitchesAllow) {
  const int row = addPoint("1.00", "2.00", "-1.00");
  form_.DrawLeerfahrten = GetParam().leerfahrten;
  form_.DrawNummer = GetParam().nummer;
  form_.DrawFraeswege = GetParam().fraeswege;
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(log_, GetParam().roles);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMax, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, DrawOrder,
    ::testing::Values(
        SwitchCase{true, true, true, {"Lesen 1", "Leerfahrt 1", "Kontur 1 selected", "Nummer 1", "Fraesweg 1"}},
        SwitchCase{false, false, true, {"Lesen 1", "Kontur 1 selected", "Fraesweg 1"}},
        SwitchCase{true, false, false, {"Lesen 1", "Leerfahrt 1", "Kontur 1 selected"}},
        SwitchCase{false, true, false, {"Lesen 1", "Kontur 1 selected", "Nummer 1"}}));

TEST_F(ObjectTypeFrame, ARowOfAnotherTypeIsNotDrawn) {
  panel::appendObjectRow(form_, "KREIS", {});
  EXPECT_FALSE(draw(1));
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(canvas_.ops().empty());
}

TEST_F(ObjectTypeFrame, TheMillingFrameTravelsPlungesAndSwitchesTheCoolant) {
  addPoint("1.00", "2.00", "-0.5");
  panel::MillContext context{form_, types_, motion_};
  ASSERT_TRUE(types_[KonturTyp::Punkt].millRow(context, form_.DatenStringGrid, 1));
  EXPECT_EQ(motion_.calls, (std::vector<std::string>{"cncMoveTo 1.00 2.00", "cncKuehlmittelpumpe 1",
                                                     "cncLineTo 0 1.00 2.00 0.50", "cncKuehlmittelpumpe 0"}));
}

TEST_F(ObjectTypeFrame, OnlyTheExactModeJaMills) {
  for (const char* mode : {"Ja", "nein", "nur zeichnen", ""}) addPoint("1.00", "2.00", "-0.5", mode);
  panel::MillContext context{form_, types_, motion_};
  for (int row = 1; row <= 4; ++row) EXPECT_TRUE(types_[KonturTyp::Punkt].millRow(context, form_.DatenStringGrid, row));
  EXPECT_TRUE(motion_.calls.empty());
}

TEST_F(ObjectTypeFrame, AnObjectThatCannotBeMilledBeepsAndMovesNothing) {
  addPoint("1.00", "2.00", "3.00");  // a depth above the surface: the test type calls it invalid
  int beeps = 0;
  panel::MillContext context{form_, types_, motion_, {}, [&] { ++beeps; }};
  types_[KonturTyp::Punkt].millRow(context, form_.DatenStringGrid, 1);
  EXPECT_EQ(beeps, 1);
  EXPECT_TRUE(motion_.calls.empty());
}

TEST_F(ObjectTypeFrame, AHitSelectsTheRowAndAMissLeavesItAlone) {
  const int row = addPoint("1.00", "2.00", "-1.00");
  form_.DatenStringGrid.setCells(12, row, "false");
  // (1, 2) mm lies at pixel (12, 196).
  EXPECT_FALSE(types_[KonturTyp::Punkt].selectRow(form_, row, 40, 40));
  EXPECT_EQ(form_.DatenStringGrid.Cells(12, row), "false");
  EXPECT_TRUE(types_[KonturTyp::Punkt].selectRow(form_, row, 13, 195));
  EXPECT_EQ(form_.DatenStringGrid.Cells(12, row), "true");
}

TEST_F(ObjectTypeFrame, HandlesAreFoundOnlyOnSelectedObjectsAndNeverCleared) {
  const int row = addPoint("1.00", "2.00", "-1.00");
  form_.DatenStringGrid.setCells(12, row, "false");
  types_[KonturTyp::Punkt].testHandles(form_, row, 12, 196);
  EXPECT_EQ(form_.Griffpunkt, panel::kKeinGriff);
  form_.DatenStringGrid.setCells(12, row, "true");
  types_[KonturTyp::Punkt].testHandles(form_, row, 12, 196);
  EXPECT_EQ(form_.Griffpunkt, panel::kGriffPunkt);
  types_[KonturTyp::Punkt].testHandles(form_, row, 100, 100);
  EXPECT_EQ(form_.Griffpunkt, panel::kGriffPunkt);
}

TEST_F(ObjectTypeFrame, PropertyRolesShowAndTakeBackThroughTheTable) {
  const int row = addPoint("1.00", "2.00", "-1.00");
  types_[KonturTyp::Punkt].showProperties(form_, row);
  EXPECT_EQ(form_.EigenschaftenLabel, "Punkt-Eigenschaften:");
  EXPECT_EQ(form_.esgTyp, 2);
  form_.EigenschaftenStringGrid.setCells(1, 3, "2");
  types_[KonturTyp::Punkt].takeProperties(form_, row);
  EXPECT_EQ(form_.DatenStringGrid.Cells(3, row), "0.00");
}

TEST_F(ObjectTypeFrame, ATypeWithoutRolesLeavesItsEntriesEmpty) {
  const panel::ObjectTypeEntry& note = types_[KonturTyp::Hinweis];
  EXPECT_FALSE(note.drawRow);
  EXPECT_FALSE(note.millRow);
  EXPECT_FALSE(note.selectRow);
  EXPECT_FALSE(note.testHandles);
  EXPECT_FALSE(note.showProperties);
}

}  // namespace
