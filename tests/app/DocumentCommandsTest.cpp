// The document commands of the main window: open by extension, import, save and save as, close
// and exit with their questions, the recent file and the title.
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>

#include "MainFormFixture.h"
#include "panel/DocumentFile.h"
#include "panel/NewDocument.h"
#include "panel/PropertyRows.h"

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
