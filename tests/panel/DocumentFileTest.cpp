// Panel document files: writing version 2, reading both versions, import, library loading, the
// row splitting from the end, files that cannot be read or written or are no document, and the
// bounds on what is read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <utility>

#include "TraceLogFolder.h"
#include "panel/DocumentFile.h"
#include "panel/NewDocument.h"
#include "panel/PropertyRows.h"
#include "platform/TextFile.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"

namespace {

using Strings = std::vector<std::string>;
using panel::TMainFormState;

class DocumentFile : public paneltest::TraceLogFolder {
 protected:
  void SetUp() override {
    TraceLogFolder::SetUp();
    dir_ = platform::programFolder();
  }

  std::filesystem::path write(const std::string& name, const std::string& bytes) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::string bytesOf(const std::filesystem::path& p) {
    std::string bytes;
    platform::readFileBytes(p, bytes);
    return bytes;
  }

  static TMainFormState newDocument() {
    TMainFormState form;
    panel::StringGrid_Neu(form);
    return form;
  }

  std::filesystem::path dir_;
  testsupport::ScriptedUi ui_;
};

TEST_F(DocumentFile, ANewDocumentIsSavedAsExactlyTenLines) {
  const TMainFormState form = newDocument();
  const auto path = dir_ / "neu.tvx";
  ASSERT_TRUE(panel::DokumentSpeichern(form, path, ui_));
  EXPECT_EQ(bytesOf(path),
            "[Version 2.0]\r\n"
            "Abmessungen: 50.00 50.00 -6.00 3.00 0.00\r\n"
            "Nutzenfertigung: 10.00 10.00 1 1\r\n"
            "Bearbeitung: 0 0 1 1 0 0 0\r\n"
            "...;\r\n...;\r\n...;\r\n...;\r\n...;\r\n"
            "[Konturen]\r\n");
}

TEST_F(DocumentFile, ASavedDocumentOpensToTheSameCellsAndValues) {
  TMainFormState form = newDocument();
  form.Abmessungen.Plattenbreite = 120.5;
  form.Abmessungen.Standardtiefe = -2.25;
  form.Abmessungen.setFraeserdurchmesser(2.0);
  form.Nutzenfertigung = {15.0, 20.0, 3, 2};
  form.KuehlmittelpumpeCheckBox.Checked = true;
  form.WSNullpunktCheckBox.Checked = false;
  form.nachBearbeitungRadioGroup.ItemIndex = 2;
  panel::appendObjectRow(form, "KREIS", {{1, "5.00"}, {2, "6.00"}, {3, "7.00"}, {4, "-1.00"}, {10, "innen"}});
  panel::appendObjectRow(form, "TEXT", {{4, "Kühlung ÄÖÜ"}, {11, "nur zeichnen"}});
  panel::appendObjectRow(form, "---", {});
  const auto path = dir_ / "doc.tvx";
  ASSERT_TRUE(panel::DokumentSpeichern(form, path, ui_));
  EXPECT_NE(bytesOf(path).find("K\xFChlung \xC4\xD6\xDC"), std::string::npos);  // Windows-1252 on disk

  TMainFormState back = newDocument();
  ASSERT_TRUE(panel::DokumentOeffnen(back, path, ui_));
  EXPECT_EQ(back.DatenStringGrid.RowCount(), 4);
  for (int row = 1; row < 4; ++row)
    for (int col = 0; col < 13; ++col)
      EXPECT_EQ(back.DatenStringGrid.Cells(col, row), form.DatenStringGrid.Cells(col, row)) << row << "/" << col;
  EXPECT_DOUBLE_EQ(back.Abmessungen.Plattenbreite, 120.5);
  EXPECT_DOUBLE_EQ(back.Abmessungen.Standardtiefe, -2.25);
  EXPECT_DOUBLE_EQ(back.Abmessungen.Fraeserradius, 1.0);
  EXPECT_EQ(back.Nutzenfertigung.xNFAnzahl, 3);
  EXPECT_EQ(back.Nutzenfertigung.yNFAnzahl, 2);
  EXPECT_TRUE(back.KuehlmittelpumpeCheckBox.Checked);
  EXPECT_FALSE(back.WSNullpunktCheckBox.Checked);
  EXPECT_EQ(back.nachBearbeitungRadioGroup.ItemIndex, 2);
  EXPECT_TRUE(ui_.calls().empty());
}

struct VersionCase {
  const char* firstLine;
  int version;
  friend std::ostream& operator<<(std::ostream& os, const VersionCase& c) { return os << c.firstLine; }
};

class Version : public DocumentFile, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(Version, IsTakenFromTheFirstLine) {
  EXPECT_EQ(panel::DateiVersion(write("v.tvx", std::string(GetParam().firstLine) + "\r\nrest\r\n")),
            GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(Lines, Version,
                         ::testing::Values(VersionCase{"[Version 2.0]", 20}, VersionCase{"[Version 2.7]", 20},
                                           VersionCase{"Frontplatte 100 50 2 3 0", 10}, VersionCase{"Version 2.0", -1},
                                           VersionCase{"", -1}, VersionCase{"frontplatte", -1}));

TEST_F(DocumentFile, AMissingFileHasNoVersion) { EXPECT_EQ(panel::DateiVersion(dir_ / "none.tvx"), -1); }

TEST_F(DocumentFile, AVersionOneDocumentNegatesItsDepths) {
  const auto path = write("alt.tvx",
                          "Frontplatte 100.0 80.0 3.0 2.0 1.0\n"
                          "ignored\n"
                          "Typ;a;b;c;d;e;f;g;h;i;j;k;l\n"
                          "KREIS;5.00;5.00;4.00;2.00;;;;nein;Uhrzeigersinn;innen;ja;false\n"
                          "PUNKT;1.00;1.00;-0.50;;;;;;;;ja;false\n");
  TMainFormState form = newDocument();
  form.Nutzenfertigung.xNFAnzahl = 4;
  ASSERT_TRUE(panel::DokumentOeffnen(form, path, ui_));
  const panel::StringGrid& grid = form.DatenStringGrid;
  ASSERT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.Cells(0, 0), "Typ");
  EXPECT_EQ(grid.Cells(4, 1), "-2.00");
  EXPECT_EQ(grid.Cells(3, 1), "4.00");
  EXPECT_EQ(grid.Cells(3, 2), "-0.50");  // already negative: no "--0.50"
  EXPECT_DOUBLE_EQ(form.Abmessungen.Standardtiefe, -3.0);
  EXPECT_DOUBLE_EQ(form.Abmessungen.Plattenhoehe, 80.0);
  EXPECT_EQ(form.Nutzenfertigung.xNFAnzahl, 4);  // a version 1 file holds no copies
}

TEST_F(DocumentFile, UnreadableFilesBeepAndChangeNothing) {
  const Strings bad{"", "[Version 2.0]\r\nAbmessungen: 1 2 3 4 5\r\n", "Kopf\r\n",
                    "[Version 2.0]\r\nx\r\ny\r\nz\r\n...;\r\n...;\r\n...;\r\n...;\r\n...;\r\n[Konturen]\r\n",
                    "Frontplatte 1 2 3 4 5\r\n"};
  for (const auto& bytes : bad) {
    TMainFormState form = newDocument();
    panel::appendObjectRow(form, "KREIS", {});
    ui_.clear();
    EXPECT_FALSE(panel::DokumentOeffnen(form, write("bad.tvx", bytes), ui_));
    ASSERT_EQ(ui_.beeps().size(), 1u);
    EXPECT_EQ(ui_.beeps()[0].hz, 880u);
    EXPECT_EQ(ui_.beeps()[0].ms, 100u);
    EXPECT_EQ(form.DatenStringGrid.RowCount(), 2);
    EXPECT_DOUBLE_EQ(form.Abmessungen.Plattenbreite, 50.0);
  }
}

TEST_F(DocumentFile, TenLinesOpenAsTheHeaderRowAloneAndOutOfRangeHeadersAreClamped) {
  const auto path = write("kopf.tvx",
                          "[Version 2.0]\nAbmessungen: 10 20 -1 2 0\nNutzenfertigung: 5 5 0 -3\n"
                          "Bearbeitung: 1 0 1 1 0 0 7\n...;\n...;\n...;\n...;\n...;\n[Konturen]\n");
  TMainFormState form = newDocument();
  panel::appendObjectRow(form, "KREIS", {});
  ASSERT_TRUE(panel::DokumentOeffnen(form, path, ui_));
  EXPECT_EQ(form.DatenStringGrid.RowCount(), 1);
  EXPECT_EQ(form.Nutzenfertigung.xNFAnzahl, 1);
  EXPECT_EQ(form.Nutzenfertigung.yNFAnzahl, 1);
  EXPECT_EQ(form.nachBearbeitungRadioGroup.ItemIndex, 0);
  EXPECT_TRUE(form.ReferenzfahrtCheckBox.Checked);
}

TEST_F(DocumentFile, ImportAppendsRowsAndKeepsTheDocumentValues) {
  TMainFormState other = newDocument();
  other.Abmessungen.Plattenbreite = 999.0;
  for (const char* kw : {"PUNKT", "LINIE1", "KREIS"}) panel::appendObjectRow(other, kw, {});
  const auto path = dir_ / "other.tvx";
  ASSERT_TRUE(panel::DokumentSpeichern(other, path, ui_));

  TMainFormState form = newDocument();
  for (int i = 0; i < 5; ++i) panel::appendObjectRow(form, "PLAN", {});
  ASSERT_TRUE(panel::DokumentImportieren(form, path));
  EXPECT_EQ(form.DatenStringGrid.RowCount(), 9);
  EXPECT_EQ(form.DatenStringGrid.Cells(0, 5), "PLAN");
  EXPECT_EQ(form.DatenStringGrid.Cells(0, 6), "PUNKT");
  EXPECT_EQ(form.DatenStringGrid.Cells(0, 8), "KREIS");
  EXPECT_DOUBLE_EQ(form.Abmessungen.Plattenbreite, 50.0);

  EXPECT_FALSE(panel::DokumentImportieren(form, write("junk.tvx", "junk\r\n")));
  EXPECT_EQ(form.DatenStringGrid.RowCount(), 9);
}

TEST_F(DocumentFile, ALibraryDocumentFillsItsOwnGrid) {
  TMainFormState lib = newDocument();
  lib.Abmessungen.Plattenbreite = 30.0;
  lib.Abmessungen.Plattenhoehe = 40.0;
  panel::appendObjectRow(lib, "KREIS", {});
  const auto path = dir_ / "lib.tvx";
  ASSERT_TRUE(panel::DokumentSpeichern(lib, path, ui_));
  panel::StringGrid biblio(13, 4);
  biblio.setCells(0, 3, "old");
  double width = 0.0;
  double height = 0.0;
  ASSERT_TRUE(panel::BibliothekLaden(biblio, width, height, path));
  EXPECT_EQ(biblio.RowCount(), 2);
  EXPECT_EQ(biblio.Cells(0, 1), "KREIS");
  EXPECT_DOUBLE_EQ(width, 30.0);
  EXPECT_DOUBLE_EQ(height, 40.0);
  EXPECT_FALSE(panel::BibliothekLaden(biblio, width, height, dir_ / "none.tvx"));
  EXPECT_EQ(biblio.RowCount(), 1);
}

// Import and library loading take a version 1 file's object rows without its header row, with
// their depths negated, and the library its panel size from the first line.
TEST_F(DocumentFile, VersionOneRowsAreImportedAndLoadedWithoutTheirHeaderRow) {
  const auto path = write("alt-lib.tvx",
                          "Frontplatte 70.0 35.0 3.0 2.0 1.0\r\n"
                          "ignored\r\n"
                          "Typ;a;b;c;d;e;f;g;h;i;j;k;l\r\n"
                          "KREIS;5.00;5.00;4.00;2.00;;;;nein;Uhrzeigersinn;innen;ja;false\r\n"
                          "TOOL;200;400;600;100;;;;;;;ja;false\r\n");
  TMainFormState form = newDocument();
  panel::appendObjectRow(form, "PLAN", {});
  ASSERT_TRUE(panel::DokumentImportieren(form, path));
  const panel::StringGrid& grid = form.DatenStringGrid;
  ASSERT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.Cells(0, 1), "PLAN");
  EXPECT_EQ(grid.Cells(0, 2), "KREIS");
  EXPECT_EQ(grid.Cells(4, 2), "-2.00");
  EXPECT_EQ(grid.Cells(1, 3), "200");  // TOOL has no depth
  EXPECT_DOUBLE_EQ(form.Abmessungen.Plattenbreite, 50.0);

  panel::StringGrid biblio(13, 1);
  double width = 0.0;
  double height = 0.0;
  ASSERT_TRUE(panel::BibliothekLaden(biblio, width, height, path));
  ASSERT_EQ(biblio.RowCount(), 3);
  EXPECT_EQ(biblio.Cells(0, 1), "KREIS");
  EXPECT_EQ(biblio.Cells(4, 1), "-2.00");
  EXPECT_EQ(biblio.Cells(0, 2), "TOOL");
  EXPECT_DOUBLE_EQ(width, 70.0);
  EXPECT_DOUBLE_EQ(height, 35.0);
}

TEST_F(DocumentFile, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  const auto path = dir_ / "keep.tvx";
  TMainFormState form = newDocument();
  ASSERT_TRUE(panel::DokumentSpeichern(form, path, ui_));
  const std::string old = bytesOf(path);
  std::filesystem::create_directories(dir_ / "dir.tvx" / "inner");
  EXPECT_FALSE(panel::DokumentSpeichern(form, dir_ / "dir.tvx", ui_));
  ASSERT_EQ(ui_.messageBoxes().size(), 1u);
  EXPECT_EQ(ui_.messageBoxes()[0].caption, "Tessaly");
  EXPECT_EQ(ui_.messageBoxes()[0].icon, platform::MsgIcon::Warning);
  EXPECT_EQ(bytesOf(path), old);
}

// Copy counts far beyond any job are held at a thousand each way where they are read, and the
// next save writes them so.
TEST_F(DocumentFile, CopyCountsAreHeldToAThousand) {
  TMainFormState form = newDocument();
  ASSERT_TRUE(panel::DokumentOeffnen(form, testsupport::fixture("nutzen-absurd.tvx"), ui_));
  EXPECT_EQ(form.Nutzenfertigung.xNFAnzahl, panel::kMaxNutzenAnzahl);
  EXPECT_EQ(form.Nutzenfertigung.yNFAnzahl, panel::kMaxNutzenAnzahl);
  form.Nutzenfertigung.yNFAnzahl = 5000;  // as if it came from elsewhere
  EXPECT_EQ(panel::DateiSchreiben(form)[2], "Nutzenfertigung: 10.00 10.00 1000 1000");
}

// A width of 31 nines was saved as 35 characters, which the number reader refuses: the document
// reopened 0 mm wide. Held at 1e9 where it is read, the value now survives any number of saves.
TEST_F(DocumentFile, AHugeValueReadsBackAsItself) {
  TMainFormState form = newDocument();
  ASSERT_TRUE(panel::DokumentOeffnen(form, testsupport::fixture("breite-31-neunen.tvx"), ui_));
  EXPECT_DOUBLE_EQ(form.Abmessungen.Plattenbreite, 1e9);
  form.Abmessungen.Plattenhoehe = -4e28;  // a value set by other means is bounded when written
  const auto path = dir_ / "wieder.tvx";
  ASSERT_TRUE(panel::DokumentSpeichern(form, path, ui_));
  EXPECT_EQ(panel::DateiSchreiben(form)[1], "Abmessungen: 1000000000.00 -1000000000.00 -6.00 3.00 0.00");
  TMainFormState again = newDocument();
  ASSERT_TRUE(panel::DokumentOeffnen(again, path, ui_));
  EXPECT_DOUBLE_EQ(again.Abmessungen.Plattenbreite, 1e9);
  EXPECT_DOUBLE_EQ(again.Abmessungen.Plattenhoehe, -1e9);
}

struct RefusalCase {
  const char* fixture;
  const char* reason;
  friend std::ostream& operator<<(std::ostream& os, const RefusalCase& c) { return os << c.fixture; }
};

class RefusedDocument : public DocumentFile, public ::testing::WithParamInterface<RefusalCase> {};

// A file that is no panel document is refused by all three readers with the reason; nothing of
// it reaches the document, the table or the library grid.
TEST_P(RefusedDocument, IsRefusedByEveryReaderWithItsReason) {
  const auto path = testsupport::fixture(GetParam().fixture);
  TMainFormState form = newDocument();
  panel::appendObjectRow(form, "KREIS", {});
  std::string reason;
  EXPECT_FALSE(panel::DokumentOeffnen(form, path, ui_, &reason));
  EXPECT_EQ(reason, GetParam().reason);
  ASSERT_EQ(ui_.beeps().size(), 1u);
  EXPECT_EQ(ui_.beeps()[0].hz, 880u);

  reason.clear();
  EXPECT_FALSE(panel::DokumentImportieren(form, path, &reason));
  EXPECT_EQ(reason, GetParam().reason);
  EXPECT_EQ(form.DatenStringGrid.RowCount(), 2);

  panel::StringGrid biblio(13, 3);
  double width = 0.0;
  double height = 0.0;
  reason.clear();
  EXPECT_FALSE(panel::BibliothekLaden(biblio, width, height, path, &reason));
  EXPECT_EQ(reason, GetParam().reason);
  EXPECT_EQ(biblio.RowCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RefusedDocument,
    ::testing::Values(RefusalCase{"leer.tvx", "Die Datei ist leer."},
                      RefusalCase{"ohne-kopf.tvx", "Die Datei ist kein Tessaly-Dokument (unbekannte Version)."},
                      RefusalCase{"version-3.tvx", "Die Datei ist kein Tessaly-Dokument (unbekannte Version)."},
                      RefusalCase{"binaer.tvx", "Die Datei ist kein Tessaly-Dokument (unbekannte Version)."},
                      RefusalCase{"kopf-fehlt.tvx", "Die Kopfzeilen des Dokuments fehlen oder sind unvollständig."}));

// What cannot be read at all is refused with the system's text: a folder, a FIFO (which must not
// block the reader), a missing file.
TEST_F(DocumentFile, WhatCannotBeReadIsRefusedWithTheSystemsText) {
  std::filesystem::create_directories(dir_ / "ordner.tvx");
  ASSERT_EQ(::mkfifo((dir_ / "fifo.tvx").c_str(), 0600), 0);
  const std::pair<const char*, std::string> cases[] = {{"ordner.tvx", std::strerror(EISDIR)},
                                                       {"fifo.tvx", "keine gewöhnliche Datei"},
                                                       {"fehlt.tvx", std::strerror(ENOENT)}};
  for (const auto& [name, text] : cases) {
    TMainFormState form = newDocument();
    std::string reason;
    EXPECT_FALSE(panel::DokumentOeffnen(form, dir_ / name, ui_, &reason)) << name;
    EXPECT_EQ(reason, text) << name;
  }
}

struct SplitCase {
  const char* line;
  Strings cells;
  friend std::ostream& operator<<(std::ostream& os, const SplitCase& c) { return os << c.line; }
};

class RowSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(RowSplit, TakesTheCellsFromTheEnd) {
  const auto cells = panel::zeileZerlegen(GetParam().line);
  EXPECT_EQ(Strings(cells.begin(), cells.end()), GetParam().cells);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RowSplit,
    ::testing::Values(SplitCase{"K;1;2;3;4;5;6;7;8;9;10;ja;true",
                                {"K", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "ja", "true"}},
                      SplitCase{"X;K;1;2;3;4;5;6;7;8;9;10;ja;true",
                                {"K", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "ja", "true"}},
                      SplitCase{"K;ja;true", {"K", "K", "K", "K", "K", "K", "K", "K", "K", "K", "K", "ja", "true"}},
                      SplitCase{";;;;;;;;;;;;", {"", "", "", "", "", "", "", "", "", "", "", "", ""}}));

}  // namespace
