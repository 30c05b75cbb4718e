// The object types through the standard table: new rows with their defaults and property rows,
// parsing with both shifts and the negated depth, rows of other types, and which roles each
// type has.
#include <functional>
#include <ostream>
#include <tuple>

#include "ObjectTypeFixture.h"
#include "panel/types/TypeKbogen.h"
#include "panel/types/TypeKreis.h"
#include "panel/types/TypeLinie.h"
#include "panel/types/TypePlan.h"
#include "panel/types/TypePunkt.h"
#include "panel/types/TypeRechteck.h"
#include "panel/types/TypeText.h"
#include "panel/types/TypeTool.h"
#include "panel/types/TypeVieleck.h"

namespace {

using panel::KonturTyp;
using panel::TMainFormState;

struct NewRowCase {
  const char* name;
  std::function<int(TMainFormState&)> neu;
  std::vector<std::string> cells;  // cells 0-12 of the new row
  std::string caption;
  int esgTyp;
  std::vector<std::pair<int, std::string>> labels;  // property rows and their labels
  friend std::ostream& operator<<(std::ostream& os, const NewRowCase& c) { return os << c.name; }
};

class NewRows : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<NewRowCase> {};

TEST_P(NewRows, AppendTheDefaultsSelectedAndShowThemInThePropertiesGrid) {
  const NewRowCase& c = GetParam();
  form_.Abmessungen.Standardtiefe = -1.5;
  form_.ToolDef.TStartfreq[2] = 250;
  form_.ToolDef.TArbeitsfreq[2] = 450;
  form_.ToolDef.TEilfreq[2] = 650;
  form_.ToolDef.TRampenlaenge[2] = 120;
  // An older row keeps its selection.
  addRow("PUNKT", {});
  form_.DatenStringGrid.setCells(12, 1, "true");

  const int row = c.neu(form_);
  ASSERT_EQ(row, 2);
  EXPECT_EQ(form_.DatenStringGrid.RowCount(), 3);
  for (int col = 0; col < 13; ++col)
    EXPECT_EQ(form_.DatenStringGrid.Cells(col, row), c.cells[static_cast<std::size_t>(col)]) << "cell " << col;
  EXPECT_EQ(form_.DatenStringGrid.Cells(12, 1), "true");

  EXPECT_EQ(form_.EigenschaftenLabel, c.caption);
  EXPECT_EQ(form_.esgTyp, c.esgTyp);
  const panel::StringGrid& props = form_.EigenschaftenStringGrid;
  for (const auto& [i, label] : c.labels) {
    EXPECT_EQ(props.Cells(0, i), label) << "row " << i;
    EXPECT_EQ(props.Cells(1, i), form_.DatenStringGrid.Cells(i, row)) << "row " << i;
  }
}

const std::vector<std::pair<int, std::string>> kRechteckOptionen = {
    {5, "Tiefe:"},        {6, "Eckradius:"},        {8, "Eintauchen:"},
    {9, "Fräsrichtung:"}, {10, "Radiuskorrektur:"}, {11, "Fräsen:"}};

std::vector<std::pair<int, std::string>> rechteckLabels(const char* l1, const char* l2, const char* l3,
                                                        const char* l4) {
  std::vector<std::pair<int, std::string>> labels{{1, l1}, {2, l2}, {3, l3}, {4, l4}};
  labels.insert(labels.end(), kRechteckOptionen.begin(), kRechteckOptionen.end());
  return labels;
}

INSTANTIATE_TEST_SUITE_P(
    Types, NewRows,
    ::testing::Values(
        NewRowCase{"Tool3",
                   [](TMainFormState& f) { return panel::Tool_Neu(f, 2); },
                   {"TOOL", "250", "450", "650", "120", "", "", "", "", "", "", "ja", "true"},
                   "Tool3-Eigenschaften:",
                   0,
                   {{1, "Startfreq [Hz]:"},
                    {2, "Arbeitsfreq [Hz]:"},
                    {3, "Eilfreq [Hz]:"},
                    {4, "Rampenlänge [ms]:"},
                    {11, "aktiv:"}}},
        NewRowCase{"Plan",
                   panel::Plan_Neu,
                   {"PLAN", "25.00", "25.00", "50.00", "50.00", "-1.50", "", "", "", "", "", "ja", "true"},
                   "Planfräsen-Eigenschaften:",
                   1,
                   {{1, "X-Mittelpunkt:"},
                    {2, "Y-Mittelpunkt:"},
                    {3, "Breite:"},
                    {4, "Höhe:"},
                    {5, "Tiefe:"},
                    {11, "Fräsen:"}}},
        NewRowCase{"Punkt",
                   panel::Punkt_Neu,
                   {"PUNKT", "5.00", "5.00", "-1.50", "", "", "", "", "", "", "", "ja", "true"},
                   "Punkt-Eigenschaften:",
                   2,
                   {{1, "X-Punkt:"}, {2, "Y-Punkt:"}, {3, "Tiefe:"}, {11, "Fräsen:"}}},
        NewRowCase{
            "Linie1",
            panel::Linie1_Neu,
            {"LINIE1", "0.00", "0.00", "5.00", "5.00", "-1.50", "", "", "nein", "Uhrzeigersinn", "mitte", "ja", "true"},
            "Linie-Eigenschaften:",
            3,
            {{1, "X-Start:"},
             {2, "Y-Start:"},
             {3, "X-End:"},
             {4, "Y-End:"},
             {5, "Tiefe:"},
             {8, "Eintauchen:"},
             {9, "Fräsrichtung:"},
             {10, "Radiuskorrektur:"},
             {11, "Fräsen:"}}},
        NewRowCase{"Rechteck1",
                   panel::Rechteck1_Neu,
                   {"RECHTECK1", "0.00", "0.00", "10.00", "5.00", "-1.50", "0.00", "", "nein", "Uhrzeigersinn", "innen",
                    "ja", "true"},
                   "Rechteck/Quadrat-Eigenschaften:",
                   4,
                   rechteckLabels("X-linke Ecke:", "Y-linke Ecke:", "X-rechte Ecke:", "Y-rechte Ecke:")},
        NewRowCase{"Rechteck2",
                   panel::Rechteck2_Neu,
                   {"RECHTECK2", "5.00", "2.50", "10.00", "5.00", "-1.50", "0.00", "", "nein", "Uhrzeigersinn", "innen",
                    "ja", "true"},
                   "Rechteck/Quadrat-Eigenschaften:",
                   5,
                   rechteckLabels("X-Mittelpunkt:", "Y-Mittelpunkt:", "Breite:", "Höhe:")},
        NewRowCase{"Rechteck3",
                   panel::Rechteck3_Neu,
                   {"RECHTECK3", "0.00", "0.00", "10.00", "5.00", "-1.50", "0.00", "", "nein", "Uhrzeigersinn", "innen",
                    "ja", "true"},
                   "Rechteck/Quadrat-Eigenschaften:",
                   6,
                   rechteckLabels("X-linke Ecke:", "Y-linke Ecke:", "Breite:", "Höhe:")},
        NewRowCase{"Vieleck",
                   panel::Vieleck_Neu,
                   {"VIELECK", "5.00", "5.00", "5.00", "6.00", "0.00", "-1.50", "", "nein", "Uhrzeigersinn", "innen",
                    "ja", "true"},
                   "Vieleck-Eigenschaften:",
                   7,
                   {{1, "X-Mittelpunkt:"},
                    {2, "Y-Mittelpunkt:"},
                    {3, "Radius:"},
                    {4, "Eckenanzahl:"},
                    {5, "Drehwinkel:"},
                    {6, "Tiefe:"},
                    {8, "Eintauchen:"},
                    {9, "Fräsrichtung:"},
                    {10, "Radiuskorrektur:"},
                    {11, "Fräsen:"}}},
        NewRowCase{
            "Kreis",
            panel::Kreis_Neu,
            {"KREIS", "5.00", "5.00", "5.00", "-1.50", "", "", "", "nein", "Uhrzeigersinn", "innen", "ja", "true"},
            "Kreis-Eigenschaften:",
            8,
            {{1, "X-Mittelpunkt:"},
             {2, "Y-Mittelpunkt:"},
             {3, "Radius:"},
             {4, "Tiefe:"},
             {8, "Eintauchen:"},
             {9, "Fräsrichtung:"},
             {10, "Radiuskorrektur:"},
             {11, "Fräsen:"}}},
        NewRowCase{"Kbogen",
                   panel::Kbogen_Neu,
                   {"KBOGEN", "5.00", "5.00", "5.00", "135.00", "315.00", "-1.50", "", "", "Uhrzeigersinn", "innen",
                    "ja", "true"},
                   "Kreisbogen-Eigenschaften:",
                   9,
                   {{1, "X-Mittelpunkt:"},
                    {2, "Y-Mittelpunkt:"},
                    {3, "Radius:"},
                    {4, "Startwinkel:"},
                    {5, "Endwinkel:"},
                    {6, "Tiefe:"},
                    {9, "Fräsrichtung:"},
                    {10, "Radiuskorrektur:"},
                    {11, "Fräsen:"}}},
        NewRowCase{"Text",
                   panel::Text_Neu,
                   {"TEXT", "links", "0.0", "0.0", "ABC", "normal.cxf", "3.0", "-1.50", "", "", "", "ja", "true"},
                   "Text-Eigenschaften:",
                   10,
                   {{1, "Ausrichtung:"},
                    {2, "X-Position:"},
                    {3, "Y-Position:"},
                    {4, "Textinhalt:"},
                    {5, "Schriftname:"},
                    {6, "Schrifthöhe:"},
                    {7, "Tiefe:"},
                    {11, "Fräsen:"}}}),
    [](const ::testing::TestParamInfo<NewRowCase>& caseInfo) { return std::string(caseInfo.param.name); });

class ObjectTypes : public paneltest::ObjectTypeFixture {};

TEST_F(ObjectTypes, TheThreeNewRectanglesHaveTheSameCorners) {
  panel::Rechteck1_Neu(form_);
  panel::Rechteck2_Neu(form_);
  panel::Rechteck3_Neu(form_);
  const auto r1 = panel::Rechteck1_Lesen(form_, form_.DatenStringGrid, 1);
  const auto r2 = panel::Rechteck2_Lesen(form_, form_.DatenStringGrid, 2);
  const auto r3 = panel::Rechteck3_Lesen(form_, form_.DatenStringGrid, 3);
  ASSERT_TRUE(r1 && r2 && r3);
  for (const auto* r : {&*r2, &*r3}) {
    EXPECT_EQ(r->P1, (panel::MmPoint{0.0, 0.0}));
    EXPECT_EQ(r->P3, (panel::MmPoint{10.0, 5.0}));
  }
  EXPECT_EQ(r1->P3, (panel::MmPoint{10.0, 5.0}));
}

TEST_F(ObjectTypes, ToolButtonsOutsideT1ToT7AddNothing) {
  EXPECT_EQ(panel::Tool_Neu(form_, -1), -1);
  EXPECT_EQ(panel::Tool_Neu(form_, 7), -1);
  EXPECT_EQ(form_.DatenStringGrid.RowCount(), 1);
}

TEST_F(ObjectTypes, TheToolCaptionShowsTheLastToolButtonNotTheRowsTool) {
  const int row = addRow("TOOL", {{1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}});
  panel::Tool_EigenschaftenAnzeigen(form_, row);
  EXPECT_EQ(form_.EigenschaftenLabel, "Tool1-Eigenschaften:");
  panel::Tool_Neu(form_, 4);
  panel::Tool_EigenschaftenAnzeigen(form_, row);
  EXPECT_EQ(form_.EigenschaftenLabel, "Tool5-Eigenschaften:");
}

// Parsing: every x gets the insertion shift (1, 2) and the copy shift (10, 20); the depth cell
// -0.5 is a cut 0.5 deep.
TEST_F(ObjectTypes, ParsingAddsBothShiftsAndNegatesTheDepth) {
  form_.Einfuegeversatz = {1.0, 2.0};
  form_.Nutzenversatz = {10.0, 20.0};
  const panel::StringGrid& g = form_.DatenStringGrid;

  addRow("PLAN", {{1, "25"}, {2, "30"}, {3, "50"}, {4, "40"}, {5, "-0.5"}});
  const auto plan = panel::Plan_Lesen(form_, g, 1);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->mitte, (panel::MmPoint{36.0, 52.0}));
  EXPECT_DOUBLE_EQ(plan->x1, 11.0);
  EXPECT_DOUBLE_EQ(plan->y2, 72.0);
  EXPECT_DOUBLE_EQ(plan->tiefe, 0.5);

  addRow("PUNKT", {{1, "5"}, {2, "6,5"}, {3, "-0.5"}});
  const auto punkt = panel::Punkt_Lesen(form_, g, 2);
  ASSERT_TRUE(punkt);
  EXPECT_EQ(punkt->punkt, (panel::MmPoint{16.0, 28.5}));
  EXPECT_DOUBLE_EQ(punkt->tiefe, 0.5);
  EXPECT_EQ(punkt->p, (platform::Point{40 + 64, 500 - 114}));

  addRow(" LINIE1 ", {{1, "0"}, {2, "0"}, {3, "4"}, {4, "2"}, {5, "-0.5"}, {8, "ja"}, {9, " Gegenuhrzeigersinn "}});
  const auto linie = panel::Linie1_Lesen(form_, g, 3);
  ASSERT_TRUE(linie);
  EXPECT_EQ(linie->start, (panel::MmPoint{11.0, 22.0}));
  EXPECT_EQ(linie->ende, (panel::MmPoint{15.0, 24.0}));
  EXPECT_EQ(linie->mitte, (panel::MmPoint{13.0, 23.0}));
  EXPECT_TRUE(linie->Eintauchen);
  EXPECT_EQ(linie->Fraesrichtung, "Gegenuhrzeigersinn");
  EXPECT_DOUBLE_EQ(linie->tiefe, 0.5);

  addRow("RECHTECK3", {{1, "0"}, {2, "0"}, {3, "10"}, {4, "5"}, {5, "-0.5"}, {10, "mitte"}});
  const auto rechteck = panel::Rechteck3_Lesen(form_, g, 4);
  ASSERT_TRUE(rechteck);
  EXPECT_EQ(rechteck->P1, (panel::MmPoint{11.0, 22.0}));
  EXPECT_EQ(rechteck->P3, (panel::MmPoint{21.0, 27.0}));
  EXPECT_DOUBLE_EQ(rechteck->tiefe, 0.5);
}

TEST_F(ObjectTypes, ARowOfAnotherTypeOrCaseIsNotParsed) {
  addRow("PUNKT", {});
  addRow("rechteck1", {});
  const panel::StringGrid& g = form_.DatenStringGrid;
  EXPECT_FALSE(panel::Tool_Lesen(form_, g, 1));
  EXPECT_FALSE(panel::Plan_Lesen(form_, g, 1));
  EXPECT_FALSE(panel::Linie1_Lesen(form_, g, 1));
  EXPECT_FALSE(panel::Rechteck1_Lesen(form_, g, 1));
  EXPECT_FALSE(panel::Rechteck2_Lesen(form_, g, 1));
  EXPECT_FALSE(panel::Rechteck1_Lesen(form_, g, 2));
  EXPECT_FALSE(panel::Punkt_Lesen(form_, g, 2));
  for (int row : {1, 2}) {
    EXPECT_FALSE(panel::Vieleck_Lesen(form_, g, row));
    EXPECT_FALSE(panel::Kreis_Lesen(form_, g, row));
    EXPECT_FALSE(panel::Kbogen_Lesen(form_, g, row));
    EXPECT_FALSE(panel::Text_Lesen(form_, g, row));
  }
  addRow("KREIS1", {});
  addRow("text", {});
  EXPECT_FALSE(panel::Kreis_Lesen(form_, g, 3));
  EXPECT_FALSE(panel::Text_Lesen(form_, g, 4));
}

TEST_F(ObjectTypes, JunkCellsReadAsZero) {
  addRow("TOOL", {{1, "schnell"}, {2, "399.9"}, {3, "-12.7"}, {4, ""}, {11, "nein"}});
  const auto tool = panel::Tool_Lesen(form_, form_.DatenStringGrid, 1);
  ASSERT_TRUE(tool);
  EXPECT_EQ(tool->Startfreq, 0);
  EXPECT_EQ(tool->Arbeitsfreq, 399);
  EXPECT_EQ(tool->Eilfreq, -12);
  EXPECT_EQ(tool->Rampenlaenge, 0);
  EXPECT_FALSE(tool->aktiv);

  addRow("PUNKT", {{1, "x"}, {2, "1e3"}, {3, "tief"}});
  const auto punkt = panel::Punkt_Lesen(form_, form_.DatenStringGrid, 2);
  ASSERT_TRUE(punkt);
  EXPECT_EQ(punkt->punkt, (panel::MmPoint{0.0, 0.0}));
  EXPECT_DOUBLE_EQ(punkt->tiefe, 0.0);
}

TEST_F(ObjectTypes, TheTableGivesToolRowsNoDrawingSelectionOrHandlesAndNotesOnlyTheirProperties) {
  const panel::ObjectTypeEntry& tool = types_[KonturTyp::Tool];
  EXPECT_FALSE(tool.drawRow);
  EXPECT_FALSE(tool.selectRow);
  EXPECT_FALSE(tool.testHandles);
  EXPECT_TRUE(tool.millRow && tool.showProperties && tool.takeProperties);
  for (KonturTyp typ : {KonturTyp::Plan, KonturTyp::Punkt, KonturTyp::Linie1, KonturTyp::Rechteck1,
                        KonturTyp::Rechteck2, KonturTyp::Rechteck3, KonturTyp::Vieleck, KonturTyp::Kreis,
                        KonturTyp::Kbogen, KonturTyp::Text, KonturTyp::Hpgl, KonturTyp::Biblio}) {
    const panel::ObjectTypeEntry& e = types_[typ];
    EXPECT_TRUE(e.drawRow && e.millRow && e.selectRow && e.testHandles && e.showProperties && e.takeProperties)
        << static_cast<int>(typ);
  }
  const panel::ObjectTypeEntry& note = types_[KonturTyp::Hinweis];
  EXPECT_FALSE(note.drawRow || note.millRow || note.selectRow || note.testHandles || note.takeProperties);
  EXPECT_TRUE(note.showProperties);
}

// Taking edits back: the depth row and, for rectangles, the corner radius are corrected; every
// numeric row is re-formatted; the option rows are left to their editor.
TEST_F(ObjectTypes, CommitsCorrectDepthAndCornerRadiusAndReformatTheNumbers) {
  const int row = panel::Rechteck1_Neu(form_);
  panel::StringGrid& props = form_.EigenschaftenStringGrid;
  props.setCells(1, 1, "2,5");
  props.setCells(1, 5, "3");
  props.setCells(1, 6, "-1");
  props.setCells(1, 10, "aussen");
  types_[KonturTyp::Rechteck1].takeProperties(form_, row);
  EXPECT_EQ(form_.DatenStringGrid.Cells(1, row), "2.50");
  EXPECT_EQ(form_.DatenStringGrid.Cells(5, row), "0.00");
  EXPECT_EQ(form_.DatenStringGrid.Cells(6, row), "0.00");
  EXPECT_EQ(form_.DatenStringGrid.Cells(10, row), "innen");

  const int line = panel::Linie1_Neu(form_);
  props.setCells(1, 4, "7");
  props.setCells(1, 5, "0.5");
  types_[KonturTyp::Linie1].takeProperties(form_, line);
  EXPECT_EQ(form_.DatenStringGrid.Cells(4, line), "7.00");
  EXPECT_EQ(form_.DatenStringGrid.Cells(5, line), "0.00");

  // Circles, arcs and polygons correct their radius; the corner count is clamped only when read.
  for (auto [neu, typ, depthRow] :
       {std::tuple{&panel::Kreis_Neu, KonturTyp::Kreis, 4}, std::tuple{&panel::Kbogen_Neu, KonturTyp::Kbogen, 6},
        std::tuple{&panel::Vieleck_Neu, KonturTyp::Vieleck, 6}}) {
    const int rund = neu(form_);
    props.setCells(1, 3, "-2");
    props.setCells(1, depthRow, "1");
    props.setCells(1, 4, typ == KonturTyp::Vieleck ? "40" : props.Cells(1, 4));
    types_[typ].takeProperties(form_, rund);
    EXPECT_EQ(form_.DatenStringGrid.Cells(3, rund), "0.00") << static_cast<int>(typ);
    EXPECT_EQ(form_.DatenStringGrid.Cells(depthRow, rund), "0.00") << static_cast<int>(typ);
  }
  EXPECT_EQ(form_.DatenStringGrid.Cells(4, form_.DatenStringGrid.RowCount() - 1), "40.00");
}

}  // namespace
