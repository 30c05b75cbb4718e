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

// A plot is refused while there is no plot reader; the panel document stays open under its own
// path, so saving it cannot overwrite the plot.
TEST_F(DocumentCommands, ARefusedForeignFileLeavesThePathSoASaveCannotOverwriteIt) {
  const auto opened = savedDocument("offen.tvx");
  form().ZuletztGeoeffneteDateiOeffnen(opened.string());
  const auto plot = folder() / "plot.plt";
  std::ofstream(plot) << "IN;PU0,0;\n";
  chooseFile(plot);
  form().MenuOeffnenOnClick();
  EXPECT_EQ(form().Dokumentpfad, opened.string());
  EXPECT_TRUE(form().MenuSpeichernOnClick());
  std::ifstream in(plot);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "IN;PU0,0;");
}

struct ForeignCase {
  const char* name;
  bool development;
  int errorBeeps;
  friend std::ostream& operator<<(std::ostream& os, const ForeignCase& c) { return os << c.name << c.development; }
};

class ForeignFiles : public DocumentCommands, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(ForeignFiles, AreRefusedUntilTheirReadersExist) {
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
                         ::testing::Values(ForeignCase{"plot.PLT", false, 2}, ForeignCase{"plot.hpgl", false, 2},
                                           ForeignCase{"zeichnung.dxf", false, 0},
                                           ForeignCase{"zeichnung.dxf", true, 2}, ForeignCase{"prog.nc", true, 2},
                                           ForeignCase{"text.txt", false, 2}));

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
