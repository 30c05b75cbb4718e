// Editing a panel document through the main window's handlers, in bitmap pixels: presses, drags
// and hovers of the paint box, the rubber band, the object buttons, the property editors and
// their file chooser, the order buttons with the delete question, and the modified flag.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "MainFormFixture.h"
#include "panel/HandleCodes.h"
#include "panel/ObjectTypes.h"
#include "panel/PanelView.h"
#include "panel/PropertyRows.h"

namespace {

using app::MouseButton;
using app::ObjektKnopf;
using platform::MsgResult;
using testsupport::UiCall;

class MainFormEditing : public apptest::MainFormTest {
 protected:
  void SetUp() override {
    types_ = panel::standardObjectTypes();
    MainFormTest::SetUp();
  }

  void startWith(const std::vector<std::string>& args = {"veltris"}) {
    start(args);
    app::TMainForm& f = form();
    punkt_ = panel::appendObjectRow(f, "PUNKT", {{1, "10.00"}, {2, "10.00"}, {3, "-1.00"}});
    kreis_ = panel::appendObjectRow(f, "KREIS", {{1, "30.00"}, {2, "30.00"}, {3, "5.00"}, {4, "-1.00"}});
    for (int row : {punkt_, kreis_}) f.DatenStringGrid.setCells(12, row, "false");
    f.iAktZeile = kreis_;
    f.ReihenfolgeSG_Neu_Aufbauen();
    f.bGeaendert = false;
    ui_.clear();
  }

  platform::Point at(double x, double y) const {
    return {panel::mm2PixelX(form_->Ansicht, x), panel::mm2PixelY(form_->Ansicht, y)};
  }
  void press(platform::Point p, MouseButton button = MouseButton::Left) {
    form().PaintBoxOnMouseDown(button, p.x, p.y);
  }
  void move(platform::Point p) { form().PaintBoxOnMouseMove(p.x, p.y); }
  void release(MouseButton button = MouseButton::Left) { form().PaintBoxOnMouseUp(button); }
  void drag(platform::Point from, platform::Point to) {
    press(from);
    move(to);
    release();
  }
  const std::string& cell(int row, int col) const { return form_->DatenStringGrid.Cells(col, row); }
  int beeps() const { return static_cast<int>(ui_.beeps().size()); }
  // Selects row `row` of the properties grid and clicks it.
  void clickProperty(int row) {
    form().esgOnSelectCell(1, row);
    form().esgOnClick();
  }

  int punkt_ = 0;
  int kreis_ = 0;
};

TEST_F(MainFormEditing, APressSelectsAndGrabsAndTheMovesDragUntilTheRelease) {
  startWith();
  press(at(30.0, 30.0));
  EXPECT_EQ(form().iAktZeile, kreis_);
  EXPECT_EQ(form().iTrefferZeile, kreis_);
  EXPECT_EQ(form().Griffpunkt, panel::kGriffKreisMitte);
  EXPECT_EQ(form().EigenschaftenLabel, "Kreis-Eigenschaften:");
  EXPECT_EQ(form().RightPageControlSeite, app::RightPage::Einstellungen);
  EXPECT_FALSE(form().bGeaendert);

  move(at(40.0, 20.0));
  const double x = panel::Pixel2mmX(form().Ansicht, at(40.0, 20.0).x);
  EXPECT_EQ(cell(kreis_, 1), panel::cellText(x));
  EXPECT_EQ(form().EigenschaftenStringGrid.Cells(1, 1), panel::cellText(x));
  EXPECT_TRUE(form().bGeaendert);
  release();
  EXPECT_EQ(form().Griffpunkt, panel::kKeinGriff);
  EXPECT_FALSE(form().bMaustasteGedrueckt);
  // Moves after the release drag nothing.
  move(at(5.0, 5.0));
  EXPECT_EQ(cell(kreis_, 1), panel::cellText(x));
}

TEST_F(MainFormEditing, APressOutsideThePanelGrabsNothingForTheMovesThatFollow) {
  startWith();
  press(at(30.0, 30.0));
  release();
  const platform::Point outside{form().Ansicht.x0 - 3, at(30.0, 30.0).y};
  press(outside);
  EXPECT_TRUE(form().bMaustasteGedrueckt);
  EXPECT_EQ(form().iTrefferZeile, kreis_);
  move(at(30.0, 30.0));
  move(at(40.0, 40.0));
  EXPECT_EQ(cell(kreis_, 1), "30.00");
  // The button is still down for the window: a second press is ignored until the release.
  press(at(10.0, 10.0));
  EXPECT_EQ(form().iAktZeile, kreis_);
  release();
  press(at(10.0, 10.0));
  EXPECT_EQ(form().iAktZeile, punkt_);
}

TEST_F(MainFormEditing, RightPressesAndForeignDocumentsDoNothing) {
  startWith();
  press(at(10.0, 10.0), MouseButton::Right);
  EXPECT_FALSE(form().bMaustasteGedrueckt);
  EXPECT_EQ(form().iAktZeile, kreis_);
  form().Dokumenttyp = panel::DocumentKind::Hpgl;
  press(at(10.0, 10.0));
  EXPECT_FALSE(form().bMaustasteGedrueckt);
  EXPECT_EQ(form().iAktZeile, kreis_);
  EXPECT_EQ(cell(punkt_, 12), "false");
}

TEST_F(MainFormEditing, HoveringRedrawsOnlyWhenTheHandleUnderThePointerChanges) {
  startWith();
  press(at(30.0, 30.0));
  release();
  view_->repaints = 0;
  move(at(30.0, 30.0));
  EXPECT_EQ(form().Griffpunkt, panel::kGriffKreisMitte);
  EXPECT_EQ(view_->repaints, 1);
  move(at(30.0, 30.2));
  EXPECT_EQ(view_->repaints, 1);
  move(at(34.0, 30.0));
  EXPECT_EQ(form().Griffpunkt, panel::kGriffKreisMitte + 2);
  EXPECT_EQ(view_->repaints, 2);
  // Over another object than the selected one nothing is searched.
  form().iTrefferZeile = -1;
  move(at(30.0, 30.0));
  EXPECT_EQ(view_->repaints, 2);
}

TEST_F(MainFormEditing, TheRubberBandRecordsItsCornersAndSelectsNothing) {
  startWith({"veltris", "/ENTWICKLUNG"});
  EXPECT_TRUE(form().GummiRectSpeedButton.Visible);
  form().GummiRectSpeedButtonClick(true);
  press(at(10.0, 10.0));
  const panel::RubberBand start = form().GummiRect;
  EXPECT_EQ(start.x1, at(10.0, 10.0).x);
  EXPECT_EQ(start.y2, at(10.0, 10.0).y);
  move(at(35.0, 35.0));
  EXPECT_EQ(form().GummiRect.x1, at(10.0, 10.0).x);
  EXPECT_EQ(form().GummiRect.x2, at(35.0, 35.0).x);
  EXPECT_EQ(form().GummiRect.y2, at(35.0, 35.0).y);
  release();
  EXPECT_EQ(form().iAktZeile, kreis_);
  EXPECT_EQ(cell(punkt_, 12), "false");
  EXPECT_EQ(cell(kreis_, 1), "30.00");
}

struct ButtonCase {
  ObjektKnopf knopf;
  const char* keyword;
  int cell;
  const char* value;
  const char* caption;
  friend std::ostream& operator<<(std::ostream& os, const ButtonCase& c) { return os << c.keyword; }
};

class ObjectButtons : public MainFormEditing, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ObjectButtons, AppendARowWithItsDefaultsAndSelectIt) {
  startWith();
  const ButtonCase& c = GetParam();
  form().ObjektSpeedButtonClick(c.knopf);
  const int row = form().DatenStringGrid.RowCount() - 1;
  ASSERT_EQ(row, 3);
  EXPECT_EQ(cell(row, 0), c.keyword);
  EXPECT_EQ(cell(row, c.cell), c.value);
  EXPECT_EQ(cell(row, 11), "ja");
  EXPECT_EQ(cell(row, 12), "true");
  EXPECT_EQ(form().iAktZeile, row);
  EXPECT_EQ(form().ReihenfolgeStringGrid.Cells(1, row), std::string(" ") + c.keyword);
  EXPECT_EQ(form().ReihenfolgeStringGridControl.Row, row);
  EXPECT_EQ(form().EigenschaftenLabel, c.caption);
  EXPECT_FALSE(form().NachUntenSpeedButton.Enabled);
  EXPECT_TRUE(form().bGeaendert);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ObjectButtons,
    ::testing::Values(ButtonCase{ObjektKnopf::Plan, "PLAN", 3, "50.00", "Planfräsen-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Punkt, "PUNKT", 1, "5.00", "Punkt-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Linie, "LINIE1", 4, "5.00", "Linie-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Rechteck1, "RECHTECK1", 3, "10.00", "Rechteck/Quadrat-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Rechteck2, "RECHTECK2", 2, "2.50", "Rechteck/Quadrat-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Rechteck3, "RECHTECK3", 10, "innen", "Rechteck/Quadrat-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Vieleck, "VIELECK", 4, "6.00", "Vieleck-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Kreis, "KREIS", 4, "-6.00", "Kreis-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Kreisbogen, "KBOGEN", 5, "315.00", "Kreisbogen-Eigenschaften:"},
                      ButtonCase{ObjektKnopf::Text, "TEXT", 4, "ABC", "Text-Eigenschaften:"}));

TEST_F(MainFormEditing, ToolSlotsComeFromTheirPanelWhichStaysOpen) {
  startWith();
  form().ToolDef.TStartfreq[0] = 321;
  form().ToolSpeedButtonClick();
  EXPECT_TRUE(form().ToolPanel.Visible);
  form().TSpeedButtonClick(0);
  EXPECT_EQ(cell(3, 0), "TOOL");
  EXPECT_EQ(cell(3, 1), "321");
  EXPECT_EQ(form().iAktZeile, 3);
  EXPECT_EQ(form().EigenschaftenLabel, "Tool1-Eigenschaften:");
  EXPECT_TRUE(form().ToolPanel.Visible);
  form().RechteckSpeedButtonClick();
  EXPECT_FALSE(form().ToolPanel.Visible);
  form().ObjektSpeedButtonClick(ObjektKnopf::Rechteck2);
  EXPECT_TRUE(form().RechteckPanel.Visible);
  // Any other button and a click on the panel close them.
  form().ObjektSpeedButtonClick(ObjektKnopf::Punkt);
  EXPECT_FALSE(form().RechteckPanel.Visible);
  form().ToolSpeedButtonClick();
  press(at(40.0, 40.0));
  EXPECT_FALSE(form().ToolPanel.Visible);
}

TEST_F(MainFormEditing, KindsWithoutANewRowOnlyBeep) {
  for (panel::KonturTyp typ : {panel::KonturTyp::Hpgl, panel::KonturTyp::Biblio, panel::KonturTyp::Hinweis}) {
    types_[typ].newRow = nullptr;
  }
  startWith();
  for (ObjektKnopf knopf : {ObjektKnopf::Hpgl, ObjektKnopf::Biblio, ObjektKnopf::Hinweis}) {
    form().ObjektSpeedButtonClick(knopf);
  }
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 3);
  EXPECT_EQ(beeps(), 6);
  for (const UiCall& call : ui_.calls()) EXPECT_EQ(call.kind, UiCall::Kind::Beep);
  EXPECT_FALSE(form().bGeaendert);
}

TEST_F(MainFormEditing, TheNoteButtonAddsANote) {
  startWith();
  form().ObjektSpeedButtonClick(ObjektKnopf::Hinweis);
  EXPECT_EQ(cell(3, 0), "---");
  EXPECT_EQ(form().iAktZeile, 3);
  EXPECT_EQ(form().EigenschaftenLabel, "Hinweis-Eigenschaften:");
  EXPECT_TRUE(form().bGeaendert);
  EXPECT_TRUE(ui_.calls().empty());
}

// A plot file the reader refuses says why once, when it is chosen for a new row or through the
// file editor; redraws, hovers and clicks read it again without a word.
TEST_F(MainFormEditing, AChosenPlotIsReportedOnceAndNotOnRedraws) {
  startWith();
  const std::string plot = (folder() / "ohne-in.plt").string();
  std::ofstream(plot) << "PU0,0;PD400,0;";
  ui_.pushFileAnswer(platform::FileDialogResult{plot, 1});
  form().ObjektSpeedButtonClick(ObjektKnopf::Hpgl);
  EXPECT_EQ(cell(3, 0), "HPGL/PLT");
  EXPECT_EQ(cell(3, 5), plot);
  auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Der Befehl 'IN' fehlt in der Plot-Datei!");
  EXPECT_EQ(boxes[0].caption, "F E H L E R");
  form().AnsichtNeuZeichnen();
  move(at(5.0, 5.0));
  press(at(0.0, 0.0));
  release();
  EXPECT_EQ(ui_.messageBoxes().size(), 1u);

  form().rsgOnSelectCell(3);
  clickProperty(4);
  ASSERT_EQ(form().esgEditor.shown, panel::EditorKind::File);
  const std::string other = (folder() / "auch-ohne-in.plt").string();
  std::ofstream(other) << "PU0,0;";
  ui_.pushFileAnswer(platform::FileDialogResult{other, 1});
  form().esgButtonOnClick();
  EXPECT_EQ(cell(3, 5), other);
  boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "Der Befehl 'IN' fehlt in der Plot-Datei!");
}

// The plot and library rows as their types will make them: keyword and the file given.
class FileRows : public MainFormEditing {
 protected:
  void SetUp() override {
    MainFormEditing::SetUp();
    const auto newRow = [](const char* keyword) {
      return [keyword](panel::TMainFormState& f, const panel::NewRowRequest& request) {
        return panel::appendObjectRow(f, keyword, {{4, request.path}, {5, request.path}});
      };
    };
    types_[panel::KonturTyp::Hpgl].newRow = newRow("HPGL/PLT");
    types_[panel::KonturTyp::Biblio].newRow = newRow("BIBLIOTHEK");
    for (panel::KonturTyp typ : {panel::KonturTyp::Hpgl, panel::KonturTyp::Biblio}) {
      types_[typ].showProperties = [typ](panel::TMainFormState& f, int row) {
        panel::PropertyLayout layout;
        layout.esgTyp = static_cast<int>(typ);
        layout.labels[4] = "Datei-Name:";
        panel::showPropertyRows(f, row, layout);
      };
    }
    library_ = (folder() / "bibliothek.tvx").string();
    std::ofstream(library_) << "[Version 2.0]\n";
  }

  std::string library_;
};

TEST_F(FileRows, TheLibraryButtonChoosesAPanelDocument) {
  startWith();
  ui_.pushFileAnswer(platform::FileDialogResult{library_, 1});
  form().ObjektSpeedButtonClick(ObjektKnopf::Biblio);
  ASSERT_EQ(ui_.calls().size(), 1u);
  EXPECT_EQ(ui_.calls()[0].dialog.filter, "Tessaly (*.tvx)|*.tvx|");
  EXPECT_EQ(ui_.calls()[0].dialog.fileName, "*.tvx");
  EXPECT_EQ(cell(3, 0), "BIBLIOTHEK");
  EXPECT_EQ(cell(3, 5), library_);
  EXPECT_EQ(form().iAktZeile, 3);

  // Cancelled, missing, or not a panel document: no row.
  ui_.pushFileAnswer(std::nullopt);
  form().ObjektSpeedButtonClick(ObjektKnopf::Biblio);
  ui_.pushFileAnswer(platform::FileDialogResult{(folder() / "fehlt.tvx").string(), 1});
  form().ObjektSpeedButtonClick(ObjektKnopf::Biblio);
  const std::string plot = (folder() / "plot.plt").string();
  std::ofstream(plot) << "IN;";
  ui_.pushFileAnswer(platform::FileDialogResult{plot, 1});
  form().ObjektSpeedButtonClick(ObjektKnopf::Biblio);
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 4);
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

TEST_F(FileRows, APathWithASemicolonIsRefusedWithABox) {
  startWith();
  const std::string bad = (folder() / "a;b.tvx").string();
  std::ofstream(bad) << "[Version 2.0]\n";
  ui_.pushFileAnswer(platform::FileDialogResult{bad, 1});
  form().ObjektSpeedButtonClick(ObjektKnopf::Biblio);
  ui_.pushFileAnswer(platform::FileDialogResult{(folder() / "x;y.plt").string(), 1});
  form().ObjektSpeedButtonClick(ObjektKnopf::Hpgl);
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 3);
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text.rfind(bad + "\n", 0), 0u);
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_FALSE(form().bGeaendert);
}

TEST_F(FileRows, ThePlotButtonAddsItsRowEvenWhenNoFileIsChosen) {
  startWith();
  ui_.pushFileAnswer(std::nullopt);
  form().ObjektSpeedButtonClick(ObjektKnopf::Hpgl);
  EXPECT_EQ(ui_.calls()[0].dialog.filter, "HPGL-Dateien (*.hpgl, *.plt)|*.hpgl;*.plt|");
  EXPECT_EQ(ui_.calls()[0].dialog.fileName, "*.plt");
  EXPECT_EQ(cell(3, 0), "HPGL/PLT");
  EXPECT_EQ(cell(3, 5), "");
}

TEST_F(FileRows, TheFileEditorOffersPlotsForPlotRowsAndPanelDocumentsForLibraries) {
  startWith();
  std::filesystem::create_directories(folder() / "alt");
  const std::string plot = (folder() / "alt" / "a.plt").string();
  std::ofstream(plot) << "IN;";
  ui_.pushFileAnswer(platform::FileDialogResult{plot, 1});
  form().ObjektSpeedButtonClick(ObjektKnopf::Hpgl);
  clickProperty(4);
  ASSERT_EQ(form().esgEditor.shown, panel::EditorKind::File);
  const std::string neu = (folder() / "neu.plt").string();
  std::ofstream(neu) << "IN;";
  ui_.pushFileAnswer(platform::FileDialogResult{neu, 1});
  form().bGeaendert = false;
  form().esgButtonOnClick();
  const UiCall dialog = ui_.calls().back();
  EXPECT_EQ(dialog.dialog.filter, "HPGL-Dateien (*.hpgl, *.plt)|*.hpgl;*.plt|");
  EXPECT_EQ(dialog.dialog.initialDir, (folder() / "alt").string());
  EXPECT_EQ(cell(3, 4), "neu.plt");
  EXPECT_EQ(cell(3, 5), neu);
  EXPECT_EQ(form().EigenschaftenStringGrid.Cells(1, 5), neu);
  EXPECT_TRUE(form().bGeaendert);

  ui_.pushFileAnswer(platform::FileDialogResult{library_, 1});
  form().ObjektSpeedButtonClick(ObjektKnopf::Biblio);
  clickProperty(4);
  ui_.pushFileAnswer(std::nullopt);
  form().esgButtonOnClick();
  EXPECT_EQ(ui_.calls().back().dialog.filter, "Tessaly (*.tvx)|*.tvx|");
  EXPECT_EQ(ui_.calls().back().dialog.fileName, "*.tvx");
  EXPECT_EQ(cell(4, 5), library_);
}

TEST_F(MainFormEditing, TheEditorsWriteBackRefuseWithTheDoubleBeepAndLeaveTraces) {
  startWith();
  press(at(30.0, 30.0));
  release();
  clickProperty(3);
  ASSERT_EQ(form().esgEditor.shown, panel::EditorKind::Text);
  form().esgMaskEditOnExit("7,5");
  EXPECT_EQ(cell(kreis_, 3), "7,5");
  form().esgMaskEditOnExit("8;9");
  EXPECT_EQ(cell(kreis_, 3), "7,5");
  EXPECT_EQ(beeps(), 2);
  for (const UiCall& beep : ui_.beeps()) EXPECT_EQ(beep.hz, 440u);

  clickProperty(10);
  EXPECT_EQ(cell(kreis_, 3), "7.50");
  ASSERT_EQ(form().esgEditor.shown, panel::EditorKind::Choice);
  form().esgComboBoxOnChange(0);
  EXPECT_EQ(cell(kreis_, 10), "mitte");
  const auto lines = trace();
  for (const char* line : {"esgOnSelectCell(1, 3)", "esgOnSelectCell() : End", "esgOnClick()", "esgOnClick() :: End",
                           "esgComboBoxOnChange()", "esgComboBoxOnChange() :: End", "ReihenfolgeSG_Neu_Aufbauen()",
                           "ReihenfolgeSG_Neu_Aufbauen() : End"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
  // A press on the panel closes the editor.
  press(at(10.0, 10.0));
  EXPECT_EQ(form().esgEditor.shown, panel::EditorKind::None);
}

TEST_F(MainFormEditing, ACommandOnAllRowsClosesTheEditorSoItCannotWriteAnOldValueBack) {
  startWith();
  press(at(30.0, 30.0));
  release();
  clickProperty(4);
  ASSERT_EQ(form().esgEditor.text, "-1.00");
  form().Abmessungen.Standardtiefe = -2.0;
  form().epumAlleTiefenNeuSetzenClick();
  EXPECT_EQ(form().esgEditor.shown, panel::EditorKind::None);
  // The edit reports being left only afterwards.
  form().esgMaskEditOnExit("-1.00");
  EXPECT_EQ(cell(kreis_, 4), "-2.00");
  EXPECT_EQ(form().EigenschaftenStringGrid.Cells(1, 4), "-2.00");
}

TEST_F(MainFormEditing, ChoosingALineOfTheOrderGridSelectsItsRow) {
  startWith();
  form().rsgOnSelectCell(punkt_);
  EXPECT_EQ(form().iAktZeile, punkt_);
  EXPECT_EQ(form().iTrefferZeile, punkt_);
  EXPECT_EQ(form().Griffpunkt, panel::kKeinGriff);
  EXPECT_EQ(cell(punkt_, 12), "true");
  EXPECT_EQ(cell(kreis_, 12), "false");
  EXPECT_EQ(form().EigenschaftenLabel, "Punkt-Eigenschaften:");
  EXPECT_FALSE(form().NachObenSpeedButton.Enabled);
  form().rsgOnSelectCell(0);
  EXPECT_EQ(form().iAktZeile, punkt_);
}

TEST_F(MainFormEditing, DeletingAsksFirstOutsideDevelopmentMode) {
  startWith();
  ui_.pushAnswer(MsgResult::No);
  form().DelSpeedButtonClick();
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 3);
  ui_.pushAnswer(MsgResult::Yes);
  form().DelSpeedButtonClick();
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 2);
  EXPECT_EQ(form().iAktZeile, punkt_);
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Möchten Sie die Kontur wirklich löschen?\n");
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_EQ(boxes[0].buttons, platform::MsgButtons::YesNo);
  EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Question);
  // Deleting the only row keeps row 1 selected and shows the placeholder line.
  ui_.pushAnswer(MsgResult::Yes);
  form().DelSpeedButtonClick();
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 1);
  EXPECT_EQ(form().iAktZeile, 1);
  EXPECT_EQ(form().ReihenfolgeStringGrid.Cells(1, 1), " -");
  EXPECT_FALSE(form().DelSpeedButton.Enabled);
}

TEST_F(MainFormEditing, DevelopmentModeDeletesWithoutAQuestion) {
  startWith({"veltris", "/ENTWICKLUNG"});
  form().DelSpeedButtonClick();
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 2);
  EXPECT_TRUE(ui_.messageBoxes().empty());
}

// An action on the document of a point and a circle (the circle selected and shown) and whether
// it changes the document.
class ModifiedFlag;

struct ModifiedCase {
  const char* name;
  std::function<void(ModifiedFlag&)> action;
  bool changes;
  friend std::ostream& operator<<(std::ostream& os, const ModifiedCase& c) { return os << c.name; }
};

class ModifiedFlag : public MainFormEditing, public ::testing::WithParamInterface<ModifiedCase> {
 public:
  using MainFormEditing::at;
  using MainFormEditing::clickProperty;
  using MainFormEditing::drag;
  using MainFormEditing::form;
  using MainFormEditing::press;
  using MainFormEditing::release;
};

TEST_P(ModifiedFlag, IsSetByChangesAndLeftAsItWasBySelections) {
  for (bool before : {false, true}) {
    startWith();
    form().bGeaendert = before;
    GetParam().action(*this);
    EXPECT_EQ(form().bGeaendert, before || GetParam().changes) << "before: " << before;
    form_.reset();
  }
}

void selectCircleProperty(ModifiedFlag& t, int row) {
  t.press(t.at(30.0, 30.0));
  t.release();
  t.clickProperty(row);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, ModifiedFlag,
    ::testing::Values(
        ModifiedCase{"ClickOnAnObject", [](ModifiedFlag& f) { f.press(f.at(10.0, 10.0)); }, false},
        ModifiedCase{"ClickOnNothing", [](ModifiedFlag& f) { f.press(f.at(45.0, 5.0)); }, false},
        ModifiedCase{"HoverOverAHandle",
                     [](ModifiedFlag& f) { f.form().PaintBoxOnMouseMove(f.at(30, 30).x, f.at(30, 30).y); }, false},
        ModifiedCase{"OrderGridLine", [](ModifiedFlag& f) { f.form().rsgOnSelectCell(1); }, false},
        ModifiedCase{"Drag", [](ModifiedFlag& f) { f.drag(f.at(30.0, 30.0), f.at(35.0, 35.0)); }, true},
        ModifiedCase{"DragThatIsRefused", [](ModifiedFlag& f) { f.drag(f.at(34.0, 30.0), f.at(20.0, 30.0)); }, false},
        ModifiedCase{"ClickOnAProperty", [](ModifiedFlag& f) { selectCircleProperty(f, 3); }, false},
        ModifiedCase{"TakeOverOfAnEdit",
                     [](ModifiedFlag& f) {
                       selectCircleProperty(f, 3);
                       f.form().EigenschaftenStringGrid.setCells(1, 3, "6");
                       f.clickProperty(2);
                     },
                     true},
        ModifiedCase{"TextEditorLeftChanged",
                     [](ModifiedFlag& f) {
                       selectCircleProperty(f, 3);
                       f.form().esgMaskEditOnExit("6.00");
                     },
                     true},
        ModifiedCase{"TextEditorLeftAsItWas",
                     [](ModifiedFlag& f) {
                       selectCircleProperty(f, 3);
                       f.form().esgMaskEditOnExit("5.00");
                     },
                     false},
        ModifiedCase{"TextEditorRefused",
                     [](ModifiedFlag& f) {
                       selectCircleProperty(f, 3);
                       f.form().esgMaskEditOnExit("6;");
                     },
                     false},
        ModifiedCase{"ChoiceChanged",
                     [](ModifiedFlag& f) {
                       selectCircleProperty(f, 11);
                       f.form().esgComboBoxOnChange(2);
                     },
                     true},
        ModifiedCase{"AllDepths", [](ModifiedFlag& f) { f.form().epumAlleTiefenNeuSetzenClick(); }, true},
        ModifiedCase{"DisableAll", [](ModifiedFlag& f) { f.form().epumDisablenClick(); }, true},
        ModifiedCase{"EnableAllWithNothingDisabled", [](ModifiedFlag& f) { f.form().epumEnablenClick(); }, false},
        ModifiedCase{"ObjectButton", [](ModifiedFlag& f) { f.form().ObjektSpeedButtonClick(ObjektKnopf::Kreis); },
                     true},
        ModifiedCase{"MoveUp", [](ModifiedFlag& f) { f.form().NachObenSpeedButtonClick(); }, true},
        ModifiedCase{"MoveDownAtTheEnd", [](ModifiedFlag& f) { f.form().NachUntenSpeedButtonClick(); }, false},
        ModifiedCase{"Delete",
                     [](ModifiedFlag& f) {
                       f.form().bEntwicklungsmodus = true;
                       f.form().DelSpeedButtonClick();
                     },
                     true}),
    [](const ::testing::TestParamInfo<ModifiedCase>& c) { return std::string(c.param.name); });

}  // namespace
