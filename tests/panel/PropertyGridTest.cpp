// The properties grid and its editors: what each kind shows, what a click takes over and which
// editor it opens, what the editors write back or refuse, the row colours, and the commands on all
// rows.
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "EditingFixture.h"
#include "panel/OrderGrid.h"
#include "panel/PropertyGrid.h"
#include "panel/RowCells.h"

namespace {

using panel::EditorKind;
using panel::EditResult;
using paneltest::Cells;

class PropertyGrid : public paneltest::EditingFixture {
 protected:
  // Selects the row as the order grid does and fills the properties grid.
  void show(int row) {
    form_.iAktZeile = row;
    panel::ReihenfolgeAufbauen(form_);
    panel::EigenschaftenFuellen(form_, types_);
  }
  // A click on property row `row`, as the window's click handler makes it.
  bool clickRow(int row) {
    form_.esgZeile = row;
    panel::esgEditorVorbereiten(form_, row);
    panel::DrawContext c = context();
    return panel::esgGoEditing(c, 1, row);
  }
  void type(int row, const std::string& text) { form_.EigenschaftenStringGrid.setCells(1, row, text); }
};

struct ShownCase {
  const char* keyword;
  int esgTyp;
  const char* caption;
  int labelRow;
  const char* label;
  friend std::ostream& operator<<(std::ostream& os, const ShownCase& c) { return os << c.keyword; }
};

class PropertyGridShows : public PropertyGrid, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(PropertyGridShows, TheKindOfTheOrderGridsKeyword) {
  const int row = addRow(GetParam().keyword, {{1, "7.00"}, {11, "nein"}});
  form_.esgTyp = 99;
  show(row);
  EXPECT_EQ(form_.esgTyp, GetParam().esgTyp);
  EXPECT_EQ(form_.EigenschaftenLabel, GetParam().caption);
  EXPECT_EQ(form_.EigenschaftenStringGrid.Cells(0, GetParam().labelRow), GetParam().label);
  EXPECT_EQ(property(11), "nein");
  EXPECT_EQ(cell(row, 12), "true");
  // The selected and the hit row go into the header cells of the table.
  EXPECT_EQ(cell(0, 0), std::to_string(row));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PropertyGridShows,
    ::testing::Values(ShownCase{"TOOL", 0, "Tool1-Eigenschaften:", 1, "Startfreq [Hz]:"},
                      ShownCase{"PLAN", 1, "Planfräsen-Eigenschaften:", 5, "Tiefe:"},
                      ShownCase{"PUNKT", 2, "Punkt-Eigenschaften:", 1, "X-Punkt:"},
                      ShownCase{"LINIE1", 3, "Linie-Eigenschaften:", 3, "X-End:"},
                      ShownCase{"RECHTECK1", 4, "Rechteck/Quadrat-Eigenschaften:", 3, "X-rechte Ecke:"},
                      ShownCase{"RECHTECK2", 5, "Rechteck/Quadrat-Eigenschaften:", 3, "Breite:"},
                      ShownCase{"RECHTECK3", 6, "Rechteck/Quadrat-Eigenschaften:", 1, "X-linke Ecke:"},
                      ShownCase{"VIELECK", 7, "Vieleck-Eigenschaften:", 4, "Eckenanzahl:"},
                      ShownCase{"KREIS", 8, "Kreis-Eigenschaften:", 4, "Tiefe:"},
                      ShownCase{"KBOGEN", 9, "Kreisbogen-Eigenschaften:", 5, "Endwinkel:"},
                      ShownCase{"TEXT", 10, "Text-Eigenschaften:", 4, "Textinhalt:"}));

TEST_F(PropertyGrid, AnUnknownKeywordShowsNothingAndTakesNothingOver) {
  const int known = addRow("KREIS", {{1, "5.00"}, {3, "2.00"}});
  show(known);
  ASSERT_EQ(form_.esgTyp, 8);
  const int unknown = addRow("KREIS2", {{1, "5"}, {3, "2"}});
  show(unknown);
  EXPECT_EQ(form_.esgTyp, -1);
  EXPECT_EQ(form_.EigenschaftenLabel, "Eigenschaften:");
  for (int i = 1; i < panel::kEigenschaftenZeilen; ++i) EXPECT_EQ(property(i), "") << i;
  EXPECT_EQ(form_.EigenschaftenStringGrid.Cells(0, 0), "Eigenschaften:");

  // A click takes nothing over: no "0.00" is written into the row, no editor opens.
  EXPECT_FALSE(clickRow(3));
  for (int col = 1; col <= 10; ++col) EXPECT_EQ(cell(unknown, col), col == 1 ? "5" : (col == 3 ? "2" : "")) << col;
  EXPECT_EQ(form_.esgEditor.shown, EditorKind::None);
}

TEST_F(PropertyGrid, ANoteTakesNothingOverAndOpensNoEditorButTheBoardIsRedrawn) {
  const int note = addRow("---", {});
  show(note);
  const auto drawnBefore = canvas_.ops().size();
  EXPECT_FALSE(clickRow(1));
  EXPECT_EQ(form_.esgEditor.shown, EditorKind::None);
  EXPECT_GT(canvas_.ops().size(), drawnBefore);
  const auto trace = traceLines();
  EXPECT_NE(std::find(trace.begin(), trace.end(), "esgGoEditing(1, 1)"), trace.end());
  EXPECT_EQ(trace.back(), "esgGoEditing(1, 1) : End");
}

TEST_F(PropertyGrid, AClickTakesTheEditsOverCorrectedAndFormatted) {
  const int kreis = addRow("KREIS", {{1, "5.00"}, {2, "5.00"}, {3, "5.00"}, {4, "-1.00"}, {11, "ja"}});
  show(kreis);
  type(1, "12345.678");
  type(2, "2,5");
  type(3, "-4");
  type(4, "3");
  EXPECT_TRUE(clickRow(2));
  const std::vector<std::string> expected{"12345.70", "2.50", "0.00", "0.00"};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(cell(kreis, i), expected[static_cast<std::size_t>(i - 1)]) << i;
    EXPECT_EQ(property(i), expected[static_cast<std::size_t>(i - 1)]) << i;
  }
  // The editor of the clicked row starts from the value as it was taken over.
  EXPECT_EQ(form_.esgEditor.shown, EditorKind::Text);
  EXPECT_EQ(form_.esgEditor.text, "2.50");
  EXPECT_EQ(form_.esgEditor.label, "Y-Mittelpunkt:");
  // Taking over what is already there changes nothing.
  EXPECT_FALSE(clickRow(3));
}

TEST_F(PropertyGrid, TakingOverNeverWritesIntoARowOfAnotherKind) {
  const int kreis = addRow("KREIS", {{1, "5.00"}, {3, "5.00"}});
  show(kreis);
  setCell(kreis, 0, "PUNKT");
  type(1, "9");
  EXPECT_FALSE(clickRow(1));
  EXPECT_EQ(cell(kreis, 1), "5.00");
}

struct EditorCase {
  int esgTyp;
  int row;
  EditorKind editor;
};

TEST(PropertyEditors, EachKindOpensTheEditorItsRowNeeds) {
  const EditorCase cases[] = {
      {0, 4, EditorKind::Text},   {0, 5, EditorKind::None},    {0, 11, EditorKind::Choice}, {1, 5, EditorKind::Text},
      {1, 10, EditorKind::None},  {2, 3, EditorKind::Text},    {2, 10, EditorKind::None},   {3, 8, EditorKind::Choice},
      {3, 6, EditorKind::None},   {4, 6, EditorKind::Text},    {5, 9, EditorKind::Choice},  {6, 7, EditorKind::None},
      {7, 6, EditorKind::Text},   {8, 5, EditorKind::None},    {8, 8, EditorKind::Choice},  {9, 8, EditorKind::None},
      {9, 9, EditorKind::Choice}, {10, 1, EditorKind::Choice}, {10, 5, EditorKind::Choice}, {10, 4, EditorKind::Text},
      {10, 8, EditorKind::None},  {11, 4, EditorKind::File},   {11, 3, EditorKind::Text},   {12, 4, EditorKind::File},
      {12, 5, EditorKind::None},  {13, 1, EditorKind::None},   {13, 11, EditorKind::None},  {-1, 1, EditorKind::None},
      {14, 1, EditorKind::None},  {4, 13, EditorKind::None},
  };
  for (const EditorCase& c : cases) {
    EXPECT_EQ(panel::esgEditorFuer(c.esgTyp, c.row), c.editor) << c.esgTyp << " row " << c.row;
  }
}

TEST(PropertyEditors, ValueListsByRowAndKind) {
  using L = std::vector<std::string>;
  EXPECT_EQ(panel::esgWerteliste(10, 1), (L{"rechts", "links", "zentriert"}));
  EXPECT_EQ(panel::esgWerteliste(10, 5), (L{"courier.cxf", "normal.cxf", "scriptc.cxf"}));
  EXPECT_EQ(panel::esgWerteliste(4, 8), (L{"ja", "nein"}));
  EXPECT_EQ(panel::esgWerteliste(9, 9), (L{"Uhrzeigersinn", "Gegenuhrzeigersinn"}));
  EXPECT_EQ(panel::esgWerteliste(1, 10), (L{"mitte"}));
  EXPECT_EQ(panel::esgWerteliste(3, 10), (L{"mitte"}));
  EXPECT_EQ(panel::esgWerteliste(6, 10), (L{"mitte", "innen", "innen-tasche", "aussen", "aussen-steg"}));
  EXPECT_EQ(panel::esgWerteliste(7, 10), (L{"mitte", "innen", "aussen"}));
  EXPECT_EQ(panel::esgWerteliste(9, 10), (L{"mitte", "innen", "aussen"}));
  EXPECT_EQ(panel::esgWerteliste(8, 10), (L{"mitte", "innen", "innen-tasche", "aussen"}));
  EXPECT_EQ(panel::esgWerteliste(2, 10), L{});
  EXPECT_EQ(panel::esgWerteliste(0, 11), (L{"ja", "nein", "nur zeichnen"}));
  EXPECT_EQ(panel::esgWerteliste(4, 3), L{});
}

TEST_F(PropertyGrid, TheFreeTextEditorWritesTrimmedTextAndRefusesWhatTheFileCannotHold) {
  const int text = addRow("TEXT", {{1, "links"}, {2, "0.0"}, {3, "0.0"}, {4, "ABC"}, {5, "normal.cxf"}});
  show(text);
  clickRow(4);
  ASSERT_EQ(form_.esgEditor.shown, EditorKind::Text);
  EXPECT_EQ(panel::esgTextUebernehmen(form_, "  Größe 10 °  "), EditResult::Changed);
  EXPECT_EQ(cell(text, 4), "Größe 10 °");
  EXPECT_EQ(property(4), "Größe 10 °");
  EXPECT_EQ(panel::esgTextUebernehmen(form_, "Größe 10 °"), EditResult::Unchanged);

  for (const char* refused : {"A;B", "A\rB", "A\nB", "A\tB", "\xE2\x82\xAC\xE2\x9C\x93", "\xFF\xFE"}) {
    const unsigned generation = form_.esgEditor.generation;
    EXPECT_EQ(panel::esgTextUebernehmen(form_, refused), EditResult::Refused) << refused;
    EXPECT_EQ(cell(text, 4), "Größe 10 °");
    EXPECT_EQ(property(4), "Größe 10 °");
    // The editor is told to show the old text again.
    EXPECT_EQ(form_.esgEditor.text, "Größe 10 °");
    EXPECT_NE(form_.esgEditor.generation, generation);
  }
  EXPECT_EQ(panel::esgTextUebernehmen(form_, std::string(panel::kZelleMaxZeichen + 1, 'x')), EditResult::Refused);

  // Closed editors write nothing.
  panel::esgKomponentenVisible(form_, false);
  EXPECT_EQ(panel::esgTextUebernehmen(form_, "neu"), EditResult::Unchanged);
  EXPECT_EQ(cell(text, 4), "Größe 10 °");
}

TEST_F(PropertyGrid, TheChoiceEditorWritesOnlyItsListedValues) {
  const int kreis = addRow("KREIS", {{1, "5.00"}, {10, "innen"}});
  show(kreis);
  clickRow(10);
  ASSERT_EQ(form_.esgEditor.shown, EditorKind::Choice);
  EXPECT_EQ(form_.esgEditor.Items[2], "innen-tasche");
  EXPECT_EQ(form_.esgEditor.text, "innen");
  EXPECT_EQ(panel::esgAuswahlUebernehmen(form_, 2), EditResult::Changed);
  EXPECT_EQ(cell(kreis, 10), "innen-tasche");
  EXPECT_EQ(property(10), "innen-tasche");
  EXPECT_EQ(panel::esgAuswahlUebernehmen(form_, 4), EditResult::Refused);
  EXPECT_EQ(panel::esgAuswahlUebernehmen(form_, -1), EditResult::Refused);
  EXPECT_EQ(cell(kreis, 10), "innen-tasche");
}

// A plot row as the plot type shows it, for the file editor.
class FileEditor : public PropertyGrid {
 protected:
  void SetUp() override {
    PropertyGrid::SetUp();
    types_[panel::KonturTyp::Hpgl].showProperties = [](panel::TMainFormState& form, int row) {
      panel::PropertyLayout layout;
      layout.caption = "HPGL/PLT-Eigenschaften:";
      layout.esgTyp = static_cast<int>(panel::KonturTyp::Hpgl);
      layout.labels[4] = "Datei-Name:";
      panel::showPropertyRows(form, row, layout);
    };
  }
};

TEST_F(FileEditor, AChosenFileGivesItsNameAndItsPath) {
  const int plot = addRow("HPGL/PLT", {{1, "0.00"}, {4, "alt.plt"}, {5, "/daten/alt.plt"}});
  show(plot);
  clickRow(4);
  ASSERT_EQ(form_.esgEditor.shown, EditorKind::File);
  EXPECT_EQ(form_.esgEditor.text, "alt.plt");
  EXPECT_EQ(panel::esgDateiUebernehmen(form_, "/daten/neu/Front Platte.plt"), EditResult::Changed);
  EXPECT_EQ(cell(plot, 4), "Front Platte.plt");
  EXPECT_EQ(cell(plot, 5), "/daten/neu/Front Platte.plt");
  EXPECT_EQ(property(4), "Front Platte.plt");
  EXPECT_EQ(property(5), "/daten/neu/Front Platte.plt");
  EXPECT_EQ(form_.esgEditor.text, "Front Platte.plt");
  // The document has no escape for ';': the row would come back broken.
  EXPECT_EQ(panel::esgDateiUebernehmen(form_, "/daten/a;b.plt"), EditResult::Refused);
  EXPECT_EQ(cell(plot, 5), "/daten/neu/Front Platte.plt");
}

TEST(PropertyColours, ChosenByRowAndValue) {
  struct Case {
    int row;
    const char* value;
    platform::Colour colour;
  };
  constexpr platform::Colour kFace = 0x123456;
  const Case cases[] = {
      {8, "ja", 0xFFCCFF},
      {8, "nein", kFace},
      {9, "Gegenuhrzeigersinn", 0xD7FFFF},
      {9, "Uhrzeigersinn", kFace},
      {10, "innen", 0xFFEBD0},
      {10, "aussen-steg", 0xFFEBD0},
      {10, "mitte", kFace},
      {10, "", kFace},
      {11, "nein", 0xEFEFEF},
      {11, "nur zeichnen", 0x70C0FF},
      {11, "ja", kFace},
      {3, "ja", kFace},
      {0, "Werte:", kFace},
  };
  for (const Case& c : cases) {
    panel::StringGrid props(2, panel::kEigenschaftenZeilen);
    props.setCells(1, c.row, c.value);
    EXPECT_EQ(panel::esgOnDrawCell(props, c.row, kFace), c.colour) << c.row << " " << c.value;
  }
}

TEST_F(PropertyGrid, AllDepthsTakeTheDefaultDepthByEachKindsDepthCell) {
  form_.Abmessungen.Standardtiefe = -1.5;
  const int text = addRow("TEXT", {{7, "-0.30"}});
  const int kreis = addRow("KREIS", {{4, "-2.00"}});
  const int tool = addRow("TOOL", {{1, "300"}, {4, "150"}});
  const int biblio = addRow("BIBLIOTHEK", {{3, "-2.00"}});
  const int plan = addRow("PLAN", {{5, "-2.00"}});
  const int punkt = addRow("PUNKT", {{3, "-2.00"}});
  const int vieleck = addRow("VIELECK", {{6, "-2.00"}});
  const int plot = addRow("HPGL/PLT", {{3, "-2.00"}});
  EXPECT_TRUE(panel::alleTiefenNeuSetzen(form_));
  EXPECT_EQ(cell(text, 7), "-1.50");
  EXPECT_EQ(cell(kreis, 4), "-1.50");
  EXPECT_EQ(cell(plan, 5), "-1.50");
  EXPECT_EQ(cell(punkt, 3), "-1.50");
  EXPECT_EQ(cell(vieleck, 6), "-1.50");
  EXPECT_EQ(cell(plot, 3), "-1.50");
  EXPECT_EQ(cell(tool, 4), "150");
  EXPECT_EQ(cell(biblio, 3), "-2.00");
  EXPECT_FALSE(panel::alleTiefenNeuSetzen(form_));
}

TEST_F(PropertyGrid, DisableAndEnableAllSwitchOnlyExactModes) {
  const int a = addRow("PUNKT", {{11, "ja"}});
  const int b = addRow("TOOL", {{11, "nein"}});
  const int c = addRow("KREIS", {{11, "nur zeichnen"}});
  const int d = addRow("KREIS", {{11, "Ja"}});
  EXPECT_TRUE(panel::alleKonturenUmschalten(form_, panel::kModusJa, panel::kModusNein));
  EXPECT_EQ(cell(a, 11), "nein");
  EXPECT_EQ(cell(b, 11), "nein");
  EXPECT_EQ(cell(c, 11), "nur zeichnen");
  EXPECT_EQ(cell(d, 11), "Ja");
  EXPECT_TRUE(panel::alleKonturenUmschalten(form_, panel::kModusNein, panel::kModusJa));
  EXPECT_EQ(cell(a, 11), "ja");
  EXPECT_EQ(cell(b, 11), "ja");
  EXPECT_EQ(cell(c, 11), "nur zeichnen");
  EXPECT_FALSE(panel::alleKonturenUmschalten(form_, panel::kModusNein, panel::kModusJa));
}

}  // namespace
