// Sub-drawings and notes: a library document drawn and milled at the row's origin through its own
// types, by the row's mode when drawn and by their own when milled; nesting, notes, TOOL rows,
// missing and unreadable documents, copies, a stop inside, the hit box, handles, extent and
// properties; the note row.
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "MachineFixture.h"
#include "ObjectTypeFixture.h"
#include "TestPointType.h"
#include "panel/DocumentFile.h"
#include "panel/NewDocument.h"
#include "panel/types/TypeBiblio.h"
#include "panel/types/TypeHinweis.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"

namespace {

using Strings = std::vector<std::string>;
using panel::KonturTyp;
using paneltest::Cells;
using testsupport::CanvasOp;

struct LibraryRow {
  std::string keyword;
  Cells cells;
  std::string mode = "ja";
};

// Saves a panel document of the given size and rows for a BIBLIOTHEK row to insert.
std::string saveLibrary(const std::string& name, const std::vector<LibraryRow>& rows, double width = 50.0,
                        double height = 30.0) {
  panel::TMainFormState doc;
  panel::StringGrid_Neu(doc);
  doc.Abmessungen.Plattenbreite = width;
  doc.Abmessungen.Plattenhoehe = height;
  for (const LibraryRow& r : rows) {
    const int row = panel::appendObjectRow(doc, r.keyword, {});
    doc.DatenStringGrid.setCells(11, row, r.mode);
    doc.DatenStringGrid.setCells(12, row, "false");
    for (const auto& [col, text] : r.cells) doc.DatenStringGrid.setCells(col, row, text);
  }
  const std::filesystem::path path = platform::programFolder() / name;
  testsupport::ScriptedUi ui;
  EXPECT_TRUE(panel::DokumentSpeichern(doc, path, ui));
  return path.string();
}

const LibraryRow kPunkt1{"PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}}};
const LibraryRow kPunkt2{"PUNKT", {{1, "10.00"}, {2, "20.00"}, {3, "-2.00"}}};

class SubDrawings : public paneltest::ObjectTypeFixture {
 protected:
  // A sub-drawing at (40, 20).
  int addLibrary(const std::string& path, const char* mode = "ja") {
    const int row = addRow("BIBLIOTHEK", {{1, "40.00"}, {2, "20.00"}, {3, "-1.00"}, {4, "b.tvx"}, {5, path}});
    setCell(row, 11, mode);
    return row;
  }
};

// Two points of the library document, drawn and milled at the origin (40, 20): at (45, 25) and
// (50, 40) mm, pixels (220, 400) and (240, 340).
TEST_F(SubDrawings, TheContentsAreDrawnAndMilledAtTheOrigin) {
  const int row = addLibrary(saveLibrary("b.tvx", {kPunkt1, kPunkt2}));
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(lines(), (Strings{"218,398-222,402", "222,398-218,402", "238,338-242,342", "242,338-238,342"}));
  EXPECT_EQ(form_.BiblioStringGrid.RowCount(), 3);
  EXPECT_EQ(form_.BiblioStringGrid.Cells(1, 2), "10.00");

  EXPECT_EQ(mill(row), (Strings{"cncMoveTo 40.00 20.00", "cncMoveTo 45.00 25.00", "cncKuehlmittelpumpe 1",
                                "cncLineTo 0 45.00 25.00 1.00", "cncKuehlmittelpumpe 0", "cncMoveTo 50.00 40.00",
                                "cncKuehlmittelpumpe 1", "cncLineTo 0 50.00 40.00 2.00", "cncKuehlmittelpumpe 0"}));
  EXPECT_EQ(form_.Einfuegeversatz.x, 0.0);
  EXPECT_EQ(form_.Einfuegeversatz.y, 0.0);
}

// Drawn, every content row takes the sub-drawing's mode, unselected and without its number;
// milled, each keeps its own mode, and only a sub-drawing in mode "ja" mills at all.
TEST_F(SubDrawings, DrawnInTheRowsModeMilledByTheirOwn) {
  LibraryRow nein = kPunkt2;
  nein.mode = "nein";
  LibraryRow selected = kPunkt1;
  selected.cells.push_back({12, "true"});
  const std::string path = saveLibrary("b.tvx", {selected, nein});
  std::vector<std::string> log;
  paneltest::TestPointType::log = &log;
  types_[KonturTyp::Punkt] = panel::makeObjectTypeEntry<paneltest::TestPointType>();
  form_.DrawNummer = true;

  const int row = addLibrary(path, "nur zeichnen");
  ASSERT_TRUE(draw(row));
  paneltest::TestPointType::log = nullptr;
  EXPECT_EQ(std::count(log.begin(), log.end(), "Kontur 1"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Kontur 2"), 1);
  EXPECT_EQ(
      std::count_if(log.begin(), log.end(),
                    [](const std::string& l) { return l.rfind("Nummer 1", 0) == 0 || l.rfind("Nummer 2", 0) == 0; }),
      0);
  EXPECT_TRUE(form_.DrawNummer);
  for (const CanvasOp& op : canvas_.opsOf(CanvasOp::Kind::Ellipse)) {
    if (op.args[0] < 200) continue;  // the row's own number
    EXPECT_EQ(op.pen.style, platform::PenStyle::Dot);
    EXPECT_EQ(op.pen.colour, form_.Farben.FarbeNurZeichnen);
  }
  EXPECT_TRUE(mill(row).empty());

  setCell(row, 11, "ja");
  EXPECT_EQ(mill(row), (Strings{"cncMoveTo 40.00 20.00", "cncMoveTo 45.00 25.00", "cncKuehlmittelpumpe 1",
                                "cncLineTo 0 45.00 25.00 1.00", "cncKuehlmittelpumpe 0"}));
}

// A sub-drawing inside a sub-drawing is passed over, even one naming its own document; so is a
// note. The sub-drawing's depth plays no part.
TEST_F(SubDrawings, DoNotNestAndPassOverNotes) {
  const std::filesystem::path self = platform::programFolder() / "selbst.tvx";
  saveLibrary("selbst.tvx", {{"BIBLIOTHEK", {{1, "1.00"}, {5, self.string()}}}, {"---", {}}, kPunkt1});
  const int row = addLibrary(self.string());
  setCell(row, 3, "-9.00");
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(lines().size(), 2u);
  EXPECT_EQ(mill(row), (Strings{"cncMoveTo 40.00 20.00", "cncMoveTo 45.00 25.00", "cncKuehlmittelpumpe 1",
                                "cncLineTo 0 45.00 25.00 1.00", "cncKuehlmittelpumpe 0"}));
}

// Gone: neither drawn, hit nor milled. No panel document: drawn as its handles and number,
// milled as the travel to its origin.
TEST_F(SubDrawings, AMissingDocumentLeavesTheRowOutAndAnUnreadableOneIsEmpty) {
  const int gone = addLibrary((platform::programFolder() / "fehlt.tvx").string());
  EXPECT_FALSE(draw(gone));
  EXPECT_FALSE(select(gone, 200, 420));
  EXPECT_TRUE(mill(gone).empty());

  const int unreadable = addLibrary(testsupport::fixture("version-3.tvx").string());
  setCell(unreadable, 12, "true");
  form_.DrawNummer = true;
  ASSERT_TRUE(draw(unreadable));
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::FillRect).size(), 4u);
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::TextOut).size(), 1u);
  EXPECT_EQ(mill(unreadable), (Strings{"cncMoveTo 40.00 20.00"}));
}

// The library document's panel, 50 x 30 mm, with its lower-left corner at the origin (40, 20):
// pixels 200..400 x 300..420. The extent takes the document's panel from the panel's zero.
TEST_F(SubDrawings, AreHitOnTheDocumentsPanelAndGrowTheExtentFromZero) {
  const int row = addLibrary(saveLibrary("leer.tvx", {}));
  expectHitsAndHandles(row, {{200, 420}, {400, 300}}, {{199, 360}, {401, 360}, {300, 299}, {300, 421}},
                       {{300, 360, 27}, {201, 419, 27}, {200, 360, -1}, {300, 420, -1}});
  ASSERT_TRUE(draw(row));
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMin, 0.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMin, 0.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMax, 50.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 30.0);
}

TEST_F(SubDrawings, ASelectedRowShowsItsHandlesRoundTheOriginAndTheGrabbedOneRed) {
  const int row = addLibrary(saveLibrary("leer.tvx", {}));
  setCell(row, 12, "true");
  form_.Griffpunkt = 27;
  ASSERT_TRUE(draw(row));
  const auto squares = canvas_.opsOf(CanvasOp::Kind::FillRect);
  ASSERT_EQ(squares.size(), 5u);
  EXPECT_EQ(squares[0].args, (std::vector<int>{180, 430, 190, 440}));
  EXPECT_EQ(squares.back().brush.colour, 0x0000FFu);
  EXPECT_EQ(squares.back().args, (std::vector<int>{195, 415, 205, 425}));
}

// A copy moves the contents; the row's own travel line and origin stay where it is typed.
TEST_F(SubDrawings, CopiesMoveTheContentsButNotTheRowsOwnOrigin) {
  const int row = addLibrary(saveLibrary("b.tvx", {kPunkt1}));
  form_.Nutzenversatz = panel::Shift{10.0, 0.0};
  const TravelAndEnd drawn = drawFromAside(row);
  EXPECT_EQ(drawn.travelTo, (platform::Point{200, 420}));
  const Strings drawnLines = lines();
  EXPECT_NE(std::find(drawnLines.begin(), drawnLines.end(), "258,398-262,402"), drawnLines.end());
  EXPECT_EQ(mill(row)[0], "cncMoveTo 40.00 20.00");
}

// A stop inside the sub-drawing passes on, and the insertion shift is reset all the same.
TEST_F(SubDrawings, AStopInsideResetsTheInsertionShift) {
  const int row = addLibrary(saveLibrary("b.tvx", {kPunkt1}));
  types_[KonturTyp::Punkt].millRow = [](panel::MillContext&, const panel::StringGrid&, int) -> bool { throw 2000; };
  EXPECT_THROW(mill(row), int);
  EXPECT_EQ(form_.Einfuegeversatz.x, 0.0);
  EXPECT_EQ(form_.Einfuegeversatz.y, 0.0);
}

TEST_F(SubDrawings, ANewRowNamesItsDocumentAndShowsItsProperties) {
  const int row = types_[KonturTyp::Biblio].newRow(form_, panel::NewRowRequest{0, "/ordner/teil.tvx"});
  const panel::StringGrid& grid = form_.DatenStringGrid;
  EXPECT_EQ((Strings{grid.Cells(0, row), grid.Cells(1, row), grid.Cells(2, row), grid.Cells(3, row), grid.Cells(4, row),
                     grid.Cells(5, row), grid.Cells(11, row), grid.Cells(12, row)}),
            (Strings{"BIBLIOTHEK", "0.00", "0.00", "-6.00", "teil.tvx", "/ordner/teil.tvx", "ja", "true"}));
  EXPECT_EQ(form_.EigenschaftenLabel, "Bibliothek-Eigenschaften:");
  EXPECT_EQ(form_.esgTyp, 12);
  panel::StringGrid& props = form_.EigenschaftenStringGrid;
  EXPECT_EQ((Strings{props.Cells(0, 4), props.Cells(1, 4), props.Cells(0, 5)}),
            (Strings{"Datei-Name:", "teil.tvx", ""}));
  props.setCells(1, 2, "7");
  props.setCells(1, 3, "3");
  types_[KonturTyp::Biblio].takeProperties(form_, row);
  EXPECT_EQ(grid.Cells(2, row), "7.00");
  EXPECT_EQ(grid.Cells(3, row), "0.00");
}

// A note has only its keyword until it is shown; drawing, selection and milling pass it over.
TEST_F(SubDrawings, ANoteIsOnlyShown) {
  const int row = types_[KonturTyp::Hinweis].newRow(form_, panel::NewRowRequest{});
  const panel::StringGrid& grid = form_.DatenStringGrid;
  EXPECT_EQ(grid.Cells(0, row), "---");
  EXPECT_EQ(grid.Cells(11, row), "");
  EXPECT_EQ(grid.Cells(12, row), "true");
  EXPECT_EQ(form_.EigenschaftenLabel, "Hinweis-Eigenschaften:");
  EXPECT_EQ(form_.esgTyp, 13);
  EXPECT_EQ(form_.EigenschaftenStringGrid.Cells(0, 0), "Eigenschaften:");
  EXPECT_EQ(form_.EigenschaftenStringGrid.Cells(1, 0), "Werte:");
  const panel::ObjectTypeEntry& note = types_[KonturTyp::Hinweis];
  EXPECT_FALSE(note.drawRow || note.millRow || note.selectRow || note.testHandles);
}

class SubDrawingsOnAController : public paneltest::MachineFixture {};

// A TOOL row of the library document draws nothing and, milled, sends its speeds.
TEST_F(SubDrawingsOnAController, AToolRowOfTheDocumentSwitchesTheSpeeds) {
  const std::string path =
      saveLibrary("werkzeug.tvx", {{"TOOL", {{1, "300"}, {2, "500"}, {3, "700"}, {4, "150"}}, "true"}, kPunkt1});
  const int row = panel::appendObjectRow(form_, "BIBLIOTHEK", {{1, "0.00"}, {2, "0.00"}, {5, path}});
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  panel::DrawContext draw{form_, canvas_, types};
  ASSERT_TRUE(types[KonturTyp::Biblio].drawRow(draw, form_.DatenStringGrid, row));
  panel::MillContext mill{form_, types, motion_};
  mill.steuerung = &layer_;
  mill.bSteuerungVerbunden = true;
  ASSERT_TRUE(types[KonturTyp::Biblio].millRow(mill, form_.DatenStringGrid, row));
  EXPECT_EQ(backend_->callsStartingWith("Startgeschwindigkeit_einstellen 300").size(), 1u);
}

}  // namespace
