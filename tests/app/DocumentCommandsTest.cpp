// The document commands of the main window: open by extension, import, save and save as, close
// and exit with their questions, the recent file and the title.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <ostream>
#include <string>

#include "MainFormFixture.h"
#include "panel/DocumentFile.h"
#include "panel/NewDocument.h"
#include "panel/PropertyRows.h"
#include "support/Fixtures.h"

namespace {

using platform::MsgResult;
using testsupport::UiCall;

class DocumentCommands : public apptest::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    start();
    ui_.clear();
  }

  // A saved panel document with one object row.
  std::filesystem::path savedDocument(const std::string& name, double width = 80.0) {
    panel::TMainFormState doc;
    panel::StringGrid_Neu(doc);
    doc.Abmessungen.Plattenbreite = width;
    panel::appendObjectRow(doc, "PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
    const auto path = folder() / name;
    EXPECT_TRUE(panel::DokumentSpeichern(doc, path, ui_));
    ui_.clear();
    return path;
  }

  void chooseFile(const std::filesystem::path& path) {
    ui_.pushFileAnswer(platform::FileDialogResult{path.string(), 1});
  }

  int beepsOf(unsigned hz) const {
    int n = 0;
    for (const auto& c : ui_.beeps()) n += c.hz == hz ? 1 : 0;
    return n;
  }
};

TEST_F(DocumentCommands, OpeningADocumentShowsItRecordsItAndTitlesTheWindow) {
  const auto path = savedDocument("Platte.TVX");
  chooseFile(path);
  form().MenuOeffnenOnClick();
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Panel);
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenbreite, 80.0);
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 2);
  EXPECT_EQ(form().Dateiendung, ".tvx");
  EXPECT_FALSE(form().bGeaendert);
  EXPECT_EQ(form().File_1, path.string());
  EXPECT_EQ(form().MenuFile1.Caption, "&1 " + path.string());
  const std::string expectedTitle = path.string().size() <= 40 ? path.string() : path.filename().string();
  EXPECT_EQ(form().Caption, form().Fenstertitel + expectedTitle);
  const auto dialogs = ui_.calls();
  ASSERT_FALSE(dialogs.empty());
  EXPECT_EQ(dialogs[0].dialog.filter, "Tessaly (*.tvx)|*.tvx|HPGL-Dateien (*.hpgl, *.plt)|*.hpgl;*.plt|");
  EXPECT_EQ(dialogs[0].dialog.fileName, "*.tvx");
}

TEST_F(DocumentCommands, AnUnreadableDocumentBeepsAndKeepsTheOpenOne) {
  std::ofstream(folder() / "kaputt.tvx") << "[Version 2.0]\r\nnichts\r\n";
  panel::appendObjectRow(form(), "PUNKT", {});
  form().SpindelmotorCheckBox.Checked = true;
  chooseFile(folder() / "kaputt.tvx");
  form().MenuOeffnenOnClick();
  EXPECT_EQ(beepsOf(880), 1);
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 2);
  EXPECT_TRUE(form().SpindelmotorCheckBox.Checked);
}

struct RefusedCase {
  std::string id;
  std::string name;  // a fixture, or "fifo.tvx" / "ordner.tvx" made by the test
  std::string reason;
  friend std::ostream& operator<<(std::ostream& os, const RefusedCase& c) { return os << c.name; }
};

class RefusedFiles : public DocumentCommands, public ::testing::WithParamInterface<RefusedCase> {
 protected:
  std::filesystem::path refusedFile() {
    const std::string& name = GetParam().name;
    if (name == "fifo.tvx") {
      EXPECT_EQ(::mkfifo((folder() / name).c_str(), 0600), 0);
      return folder() / name;
    }
    if (name == "ordner.tvx") {
      std::filesystem::create_directories(folder() / name);
      return folder() / name;
    }
    return testsupport::fixture(name);
  }
};

// A file that is refused beeps and says why in a box naming it; the path, the title, the text
// view and the open document stay as they were, so the next save goes to the open document's
// file and not over the refused one.
TEST_P(RefusedFiles, SayWhyAndChangeNothing) {
  const auto opened = savedDocument("offen.tvx");
  form().ZuletztGeoeffneteDateiOeffnen(opened.string());
  ASSERT_EQ(form().Dokumentpfad, opened.string());
  const std::string caption = form().Caption;
  const auto textView = form().DatenRichEdit;
  const std::string recent = form().File_1;
  ui_.clear();

  const auto path = refusedFile();
  chooseFile(path);
  form().MenuOeffnenOnClick();

  EXPECT_EQ(beepsOf(880), 1);
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, path.string() + "\n" + GetParam().reason);
  EXPECT_EQ(boxes[0].caption, "Tessaly");
  EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning);
  form().MenuGestaltung(form().MenuOeffnen.Enabled);  // rebuilds the title from the path
  EXPECT_EQ(form().Dokumentpfad, opened.string());
  EXPECT_EQ(form().Caption, caption);
  EXPECT_EQ(form().DatenRichEdit, textView);
  EXPECT_EQ(form().File_1, recent);
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Panel);
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 2);
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenbreite, 80.0);

  // Import reports the same way and appends nothing.
  ui_.clear();
  chooseFile(path);
  form().MenuImportierenOnClick();
  EXPECT_EQ(beepsOf(880), 1);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, path.string() + "\n" + GetParam().reason);
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 2);
  EXPECT_FALSE(form().bGeaendert);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFiles,
    ::testing::Values(
        RefusedCase{"leer", "leer.tvx", "Die Datei ist leer."},
        RefusedCase{"ohneKopf", "ohne-kopf.tvx", "Die Datei ist kein Tessaly-Dokument (unbekannte Version)."},
        RefusedCase{"version3", "version-3.tvx", "Die Datei ist kein Tessaly-Dokument (unbekannte Version)."},
        RefusedCase{"binaer", "binaer.tvx", "Die Datei ist kein Tessaly-Dokument (unbekannte Version)."},
        RefusedCase{"kopfFehlt", "kopf-fehlt.tvx", "Die Kopfzeilen des Dokuments fehlen oder sind unvollständig."},
        RefusedCase{"fifo", "fifo.tvx", "keine gewöhnliche Datei"},
        RefusedCase{"ordner", "ordner.tvx", std::strerror(EISDIR)}),
    [](const ::testing::TestParamInfo<RefusedCase>& caseInfo) { return caseInfo.param.id; });

// A plot the reader refuses says why and is not opened; the panel document stays open under its
// own path, so saving it cannot overwrite the plot.
TEST_F(DocumentCommands, ARefusedForeignFileLeavesThePathSoASaveCannotOverwriteIt) {
  const auto opened = savedDocument("offen.tvx");
  form().ZuletztGeoeffneteDateiOeffnen(opened.string());
  const auto plot = folder() / "plot.plt";
  std::ofstream(plot) << "PU0,0;\n";
  chooseFile(plot);
  form().MenuOeffnenOnClick();
  EXPECT_EQ(form().Dokumentpfad, opened.string());
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Panel);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, "Der Befehl 'IN' fehlt in der Plot-Datei!");
  EXPECT_EQ(ui_.messageBoxes()[0].caption, "F E H L E R");
  EXPECT_TRUE(form().MenuSpeichernOnClick());
  std::ifstream in(plot);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "PU0,0;");
}

struct PlotOpenCase {
  const char* name;
  const char* plot;
  double breite;  // panel size afterwards
  double hoehe;
  friend std::ostream& operator<<(std::ostream& os, const PlotOpenCase& c) { return os << c.name; }
};

class PlotFiles : public DocumentCommands, public ::testing::WithParamInterface<PlotOpenCase> {};

// An opened plot is drawn in its own view, recorded as the recent file, and widens the panel to
// its extent when it is larger.
TEST_P(PlotFiles, OpenAsPlotsAndWidenThePanelToTheirExtent) {
  const auto path = folder() / GetParam().name;
  std::ofstream(path) << GetParam().plot << "\r\n";
  form().SpindelmotorCheckBox.Checked = true;
  const int repaints = view_->repaints;
  chooseFile(path);
  form().MenuOeffnenOnClick();
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Hpgl);
  EXPECT_EQ(form().Dokumentpfad, path.string());
  EXPECT_EQ(form().File_1, path.string());
  EXPECT_EQ(form().DatenRichEdit, std::vector<std::string>{GetParam().plot});
  EXPECT_FALSE(form().SpindelmotorCheckBox.Checked);
  EXPECT_FALSE(form().HPGLDatenmodul.elements().empty());
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenbreite, GetParam().breite);
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenhoehe, GetParam().hoehe);
  EXPECT_GT(view_->repaints, repaints);
  EXPECT_TRUE(ui_.messageBoxes().empty());
  EXPECT_EQ(beepsOf(440), 0);
}

INSTANTIATE_TEST_SUITE_P(Plots, PlotFiles,
                         ::testing::Values(PlotOpenCase{"gross.PLT", "IN;PU0,0;PD4000,0,4000,2400;", 100.0, 60.0},
                                           PlotOpenCase{"klein.hpgl", "IN;PU0,0;PD400,400;", 50.0, 50.0}));

TEST_F(DocumentCommands, ARefusedPlotLeavesTheOpenPlotAsItWas) {
  const auto good = folder() / "gut.plt";
  std::ofstream(good) << "IN;PU0,0;PD400,0;";
  form().ZuletztGeoeffneteDateiOeffnen(good.string());
  const std::size_t elements = form().HPGLDatenmodul.elements().size();
  const auto bad = folder() / "schlecht.plt";
  std::ofstream(bad) << "IN;PU0,0;XY1;";
  form().ZuletztGeoeffneteDateiOeffnen(bad.string());
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Hpgl);
  EXPECT_EQ(form().Dokumentpfad, good.string());
  EXPECT_EQ(form().HPGLDatenmodul.elements().size(), elements);
  ASSERT_EQ(ui_.messageBoxes().size(), 2u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, "HPGL_Parser() default: \nXY1;");
  EXPECT_EQ(ui_.messageBoxes()[1].text, "Fehler beim Parsen");
}

// However many stray ';' a plot holds, it beeps once, when it is opened, and not at a redraw.
TEST_F(DocumentCommands, APlotWithStraySemicolonsBeepsOnceWhenOpened) {
  const auto path = folder() / "piep.plt";
  std::ofstream(path) << "IN;PU0,0;;;PD400,0;;";
  form().ZuletztGeoeffneteDateiOeffnen(path.string());
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Hpgl);
  form().AnsichtNeuZeichnen();
  ASSERT_EQ(ui_.beeps().size(), 1u);
  EXPECT_EQ(ui_.beeps()[0].hz, 440u);
  EXPECT_EQ(ui_.beeps()[0].ms, 100u);
}

// A panel document whose plots are gone or refused says so once, when it is opened: each file
// once however many rows name it, a row without a file not at all, and a redraw never.
TEST_F(DocumentCommands, APanelDocumentReportsItsPlotsOnceWhenOpened) {
  panel::TMainFormState doc;
  panel::StringGrid_Neu(doc);
  const std::string gone = (folder() / "weg.plt").string();
  const std::string withoutIn = (folder() / "ohne-in.plt").string();
  const std::string good = (folder() / "gut.plt").string();
  std::ofstream(withoutIn) << "PU0,0;PD400,0;";
  std::ofstream(good) << "IN;PU0,0;PD400,0;";
  for (const std::string& plot : {gone, withoutIn, gone, good, std::string()}) {
    panel::appendObjectRow(doc, "HPGL/PLT", {{1, "0.00"}, {2, "0.00"}, {3, "-1.00"}, {4, "p.plt"}, {5, plot}});
  }
  const auto path = folder() / "mit-plots.tvx";
  ASSERT_TRUE(panel::DokumentSpeichern(doc, path, ui_));
  ui_.clear();
  form().ZuletztGeoeffneteDateiOeffnen(path.string());
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Panel);
  form().AnsichtNeuZeichnen();
  const auto boxes = ui_.messageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text.rfind(gone + "\n", 0), 0u);
  EXPECT_EQ(boxes[0].caption, "F E H L E R");
  EXPECT_EQ(boxes[1].text, "Der Befehl 'IN' fehlt in der Plot-Datei!");
}

struct ForeignCase {
  const char* name;
  bool development;
  int errorBeeps;
  friend std::ostream& operator<<(std::ostream& os, const ForeignCase& c) { return os << c.name << c.development; }
};

class ForeignFiles : public DocumentCommands, public ::testing::WithParamInterface<ForeignCase> {};

// Outside development mode programs, drawings and command files are loaded into the text view
// and opened as nothing, silently; a file type that is not handled at all beeps.
TEST_P(ForeignFiles, AreOnlyShownAsTextOutsideDevelopmentMode) {
  form().bEntwicklungsmodus = GetParam().development;
  const auto path = folder() / GetParam().name;
  std::ofstream(path) << "IN;PU0,0;\n";
  chooseFile(path);
  form().MenuOeffnenOnClick();
  EXPECT_EQ(beepsOf(440), GetParam().errorBeeps);
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Panel);
  EXPECT_EQ(form().DatenRichEdit, std::vector<std::string>{"IN;PU0,0;"});
}

INSTANTIATE_TEST_SUITE_P(Kinds, ForeignFiles,
                         ::testing::Values(ForeignCase{"zeichnung.dxf", false, 0}, ForeignCase{"prog.nc", false, 0},
                                           ForeignCase{"befehle.kdf", false, 0}, ForeignCase{"text.txt", false, 2},
                                           ForeignCase{"text.txt", true, 2}));

struct DevelopmentCase {
  const char* name;
  const char* text;
  panel::DocumentKind kind;
  std::size_t elements;  // of the module that read it
  friend std::ostream& operator<<(std::ostream& os, const DevelopmentCase& c) { return os << c.name; }
};

class DevelopmentFiles : public DocumentCommands, public ::testing::WithParamInterface<DevelopmentCase> {};

// In development mode they open as their kind: read by their module, drawn, recorded.
TEST_P(DevelopmentFiles, OpenAsTheirKind) {
  form().bEntwicklungsmodus = true;
  const auto path = folder() / GetParam().name;
  std::ofstream(path) << GetParam().text;
  const int repaints = view_->repaints;
  chooseFile(path);
  form().MenuOeffnenOnClick();
  EXPECT_EQ(form().Dokumenttyp, GetParam().kind);
  EXPECT_EQ(form().Dokumentpfad, path.string());
  EXPECT_EQ(form().File_1, path.string());
  EXPECT_FALSE(form().DatenRichEdit.empty());
  EXPECT_GT(view_->repaints, repaints);
  EXPECT_TRUE(ui_.messageBoxes().empty());
  const std::size_t elements = GetParam().kind == panel::DocumentKind::DinIso
                                   ? form().DINISODatenmodul.elements().size()
                               : GetParam().kind == panel::DocumentKind::Dxf ? form().DXFDatenmodul.elements().size()
                                                                             : 0u;
  EXPECT_EQ(elements, GetParam().elements);
  // An opened foreign file is no panel document to save over.
  EXPECT_FALSE(form().MenuSpeichernOnClick());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DevelopmentFiles,
    ::testing::Values(DevelopmentCase{"prog.NC", "%\r\nG00 X10 Y5\r\nG01 X20\r\n", panel::DocumentKind::DinIso, 2},
                      DevelopmentCase{"zeichnung.dxf",
                                      "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n 10\r\n1\r\n 11\r\n"
                                      "5\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n",
                                      panel::DocumentKind::Dxf, 2},
                      DevelopmentCase{"befehle.kdf", "' Kommentar\r\n#S200\r\n", panel::DocumentKind::CommandFile, 0}));

// A program that fails to read says why and leaves the open document as it was; one that stops
// at a word outside the dialect opens with the path read before it.
TEST_F(DocumentCommands, AFailedProgramLeavesTheOpenDocumentAndAHintKeepsThePath) {
  form().bEntwicklungsmodus = true;
  const auto good = folder() / "gut.nc";
  std::ofstream(good) << "%\nG01 X10\nG20\nG01 X30\n";
  form().ZuletztGeoeffneteDateiOeffnen(good.string());
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::DinIso);
  EXPECT_EQ(form().DINISODatenmodul.elements().size(), 1u);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].caption, "H I N W E I S");
  ui_.clear();

  const auto bad = folder() / "schlecht.nc";
  std::ofstream(bad) << "%\nG01 X10\n;Kommentar\n";
  form().ZuletztGeoeffneteDateiOeffnen(bad.string());
  EXPECT_EQ(form().Dokumentpfad, good.string());
  EXPECT_EQ(form().DINISODatenmodul.elements().size(), 1u);
  EXPECT_EQ(form().DatenRichEdit, (std::vector<std::string>{"%", "G01 X10", "G20", "G01 X30"}));
  ASSERT_EQ(ui_.messageBoxes().size(), 2u);
  EXPECT_EQ(ui_.messageBoxes()[1].text, "Fehler beim Parsen\nZeile 3");
}

// A drawing that ends without its "EOF" opens with what it holds and says so.
TEST_F(DocumentCommands, ATruncatedDrawingOpensWithWhatItHolds) {
  form().bEntwicklungsmodus = true;
  const auto path = folder() / "kurz.dxf";
  std::ofstream(path) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n11\n5\n0\nLINE\n11\n";
  form().ZuletztGeoeffneteDateiOeffnen(path.string());
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Dxf);
  EXPECT_EQ(form().DXFDatenmodul.elements().size(), 2u);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].text, "Die Zeichnung endet vor ihrem Abschluss \"EOF\".\nZeile 11");
}

// New and Open (even when cancelled) bring the document table's page of the grids into sight. A
// command file has no drawing: its page is hidden and the text is in sight until a file with a
// drawing opens.
TEST_F(DocumentCommands, NewAndOpenShowTheDataPageAndACommandFileHidesTheDrawing) {
  form().bEntwicklungsmodus = true;
  form().SGPageControlSeite = app::SGPage::HPGL;
  form().MenuNeuOnClick();
  EXPECT_EQ(form().SGPageControlSeite, app::SGPage::Daten);
  form().SGPageControlSeite = app::SGPage::DXF;
  form().MenuOeffnenOnClick();
  EXPECT_EQ(form().SGPageControlSeite, app::SGPage::Daten);

  const auto kdf = folder() / "befehle.kdf";
  std::ofstream(kdf) << "#S200\n";
  form().SGPageControlSeite = app::SGPage::DINISO;
  chooseFile(kdf);
  form().MenuOeffnenOnClick();
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::CommandFile);
  EXPECT_EQ(form().SGPageControlSeite, app::SGPage::Daten);
  EXPECT_FALSE(form().GrafischTabSheet.Visible);
  EXPECT_EQ(form().DrawPageControlSeite, app::DrawPage::Textuell);

  const auto nc = folder() / "prog.nc";
  std::ofstream(nc) << "%\nG01 X10\n";
  chooseFile(nc);
  form().MenuOeffnenOnClick();
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::DinIso);
  EXPECT_TRUE(form().GrafischTabSheet.Visible);
  EXPECT_EQ(form().DrawPageControlSeite, app::DrawPage::Grafisch);
}

TEST_F(DocumentCommands, ImportAppendsRowsAndMarksTheDocumentChanged) {
  const auto other = savedDocument("teil.tvx", 999.0);
  panel::appendObjectRow(form(), "PUNKT", {});
  form().bGeaendert = false;
  chooseFile(other);
  form().MenuImportierenOnClick();
  EXPECT_EQ(form().DatenStringGrid.RowCount(), 3);
  EXPECT_DOUBLE_EQ(form().Abmessungen.Plattenbreite, 50.0);
  EXPECT_TRUE(form().bGeaendert);
  EXPECT_EQ(form().Dokumentpfad, "neu.tvx");
}

TEST_F(DocumentCommands, ANewDocumentIsSavedThroughTheSaveAsDialog) {
  form().MenuNeuOnClick();
  EXPECT_TRUE(form().bGeaendert);
  chooseFile(folder() / "erste.tvx");
  EXPECT_TRUE(form().MenuSpeichernOnClick());
  const auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, UiCall::Kind::SaveDialog);
  EXPECT_EQ(calls[0].dialog.filter, "Tessaly (*.tvx)|*.tvx|alle Dateien (*.*)|*.*");
  EXPECT_EQ(panel::DateiVersion(folder() / "erste.tvx"), 20);
  EXPECT_FALSE(std::filesystem::exists("neu.tvx"));
  EXPECT_FALSE(form().bGeaendert);
  EXPECT_EQ(form().Dokumentpfad, (folder() / "erste.tvx").string());
  EXPECT_EQ(form().Caption, form().Fenstertitel + (folder() / "erste.tvx").string());
}

TEST_F(DocumentCommands, AFailedSaveKeepsTheChangesAndIsNotRecorded) {
  const auto path = savedDocument("doc.tvx");
  form().ZuletztGeoeffneteDateiOeffnen(path.string());
  const std::string recent = form().File_1;
  form().bGeaendert = true;
  std::filesystem::create_directories(folder() / "ordner.tvx" / "x");
  chooseFile(folder() / "ordner.tvx");
  EXPECT_FALSE(form().MenuSpeichernUnterOnClick());
  EXPECT_TRUE(form().bGeaendert);
  EXPECT_EQ(form().File_1, recent);
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].caption, "Tessaly");
}

TEST_F(DocumentCommands, AnOpenedForeignFileIsNeverOverwrittenByASave) {
  form().Dokumenttyp = panel::DocumentKind::Hpgl;
  form().Dokumentpfad = (folder() / "plot.plt").string();
  form().bDokumentBenannt = true;
  EXPECT_FALSE(form().MenuSpeichernOnClick());
  EXPECT_FALSE(form().MenuSpeichernUnterOnClick());
  form().MenuSpeichernUndSchliessenOnClick();
  EXPECT_FALSE(std::filesystem::exists(folder() / "plot.plt"));
  EXPECT_EQ(beepsOf(440), 6);
  EXPECT_EQ(form().Dokumenttyp, panel::DocumentKind::Hpgl);
}

struct CloseCase {
  bool changed;
  std::vector<MsgResult> answers;
  bool saveDialogAnswered;
  bool closed;
  int questions;
  friend std::ostream& operator<<(std::ostream& os, const CloseCase& c) {
    return os << c.changed << "/" << c.answers.size() << "/" << c.saveDialogAnswered;
  }
};

class CloseFlows : public DocumentCommands, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseFlows, AskOnlyForChangesAndNeverLoseThemToACancelledSave) {
  const CloseCase& c = GetParam();
  form().bGeaendert = c.changed;
  for (auto a : c.answers) ui_.pushAnswer(a);
  if (c.saveDialogAnswered) chooseFile(folder() / "gesichert.tvx");
  EXPECT_EQ(form().MenuSchliessenOnClick(), c.closed);
  EXPECT_EQ(static_cast<int>(ui_.messageBoxes().size()), c.questions);
  EXPECT_EQ(form().Dokumenttyp == panel::DocumentKind::None, c.closed);
  if (c.closed) {
    EXPECT_FALSE(form().bGeaendert);
    EXPECT_TRUE(form().MenuOeffnen.Enabled);
    EXPECT_FALSE(form().MenuSpeichern.Enabled);
  } else {
    EXPECT_TRUE(form().bGeaendert);
  }
  EXPECT_EQ(std::filesystem::exists(folder() / "gesichert.tvx"), c.saveDialogAnswered && c.closed);
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseFlows,
                         ::testing::Values(CloseCase{false, {}, false, true, 0},
                                           CloseCase{true, {MsgResult::No}, false, true, 1},
                                           CloseCase{true, {MsgResult::Yes}, true, true, 1},
                                           CloseCase{true, {MsgResult::Yes}, false, false, 1}));

TEST_F(DocumentCommands, ExitWithAChangedDocumentAsksToSaveFirst) {
  form().bGeaendert = true;
  ui_.pushAnswer(MsgResult::Yes);  // save?
  chooseFile(folder() / "beim-beenden.tvx");
  ui_.pushAnswer(MsgResult::Yes);  // quit?
  EXPECT_TRUE(form().OnCloseQuery());
  EXPECT_TRUE(std::filesystem::exists(folder() / "beim-beenden.tvx"));

  form().bGeaendert = true;
  ui_.pushAnswer(MsgResult::Yes);  // save? - and then the dialog is cancelled
  EXPECT_FALSE(form().OnCloseQuery());
  EXPECT_TRUE(form().bGeaendert);
}

TEST_F(DocumentCommands, ALongPathShowsOnlyItsFileNameInTheTitle) {
  const std::string forty(36, 'a');
  form().Dokumentpfad = "/" + forty + ".tv";  // 40 characters
  form().MenuGestaltung(false);
  EXPECT_EQ(form().Caption, form().Fenstertitel + form().Dokumentpfad);
  form().Dokumentpfad = "/" + forty + ".tvx";  // 41 characters
  form().MenuGestaltung(false);
  EXPECT_EQ(form().Caption, form().Fenstertitel + forty + ".tvx");
}

}  // namespace
