// A new document: every default of the document-wide values and job options, the emptied
// table, and what StringGrid_Neu leaves alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TraceLogFolder.h"
#include "panel/NewDocument.h"

namespace {

using panel::TMainFormState;

// A state in which every value StringGrid_Neu sets differs from its default.
TMainFormState usedDocument() {
  TMainFormState form;
  form.Abmessungen = {120.0, 80.0, -2.5, 6.0, 3.0, 7.0};
  form.Nutzenfertigung = {55.0, 44.0, 3, 4};
  form.ReferenzfahrtCheckBox.Checked = true;
  form.WZLCheckBox.Checked = true;
  form.WSNullpunktCheckBox.Checked = false;
  form.SpindelmotorCheckBox.Checked = false;
  form.KuehlmittelpumpeCheckBox.Checked = true;
  form.AbsaugungCheckBox.Checked = true;
  form.nachBearbeitungRadioGroup.ItemIndex = 2;
  form.SimulationslaufCheckBox.Checked = true;
  form.SimulationslaufTrackBar.Position = 25;
  form.Dokumenttyp = panel::DocumentKind::Dxf;
  form.Dokumentpfad = "/home/user/front.tvx";
  form.iAktZeile = 4;

  panel::StringGrid& grid = form.DatenStringGrid;
  grid.setColCount(15);
  grid.setRowCount(5);
  for (int row = 0; row < 5; ++row) {
    for (int col = 0; col < 15; ++col) grid.setCells(col, row, "alt");
  }
  return form;
}

class NewDocument : public paneltest::TraceLogFolder {};

TEST_F(NewDocument, SetsEveryDefault) {
  TMainFormState form = usedDocument();
  panel::StringGrid_Neu(form);

  struct Number {
    const char* name;
    double actual;
    double expected;
  };
  const Number numbers[] = {
      {"Plattenbreite", form.Abmessungen.Plattenbreite, 50.0},
      {"Plattenhoehe", form.Abmessungen.Plattenhoehe, 50.0},
      {"Standardtiefe", form.Abmessungen.Standardtiefe, -6.0},
      {"Fraeserdurchmesser", form.Abmessungen.Fraeserdurchmesser, 3.0},
      {"Fraeserradius", form.Abmessungen.Fraeserradius, 1.5},
      {"Sicherheitsebene", form.Abmessungen.Sicherheitsebene, 0.0},
      {"xNFAbstand", form.Nutzenfertigung.xNFAbstand, 10.0},
      {"yNFAbstand", form.Nutzenfertigung.yNFAbstand, 10.0},
  };
  for (const Number& n : numbers) EXPECT_EQ(n.actual, n.expected) << n.name;

  struct Integer {
    const char* name;
    int actual;
    int expected;
  };
  const Integer integers[] = {
      {"xNFAnzahl", form.Nutzenfertigung.xNFAnzahl, 1},
      {"yNFAnzahl", form.Nutzenfertigung.yNFAnzahl, 1},
      {"nachBearbeitungRadioGroup", form.nachBearbeitungRadioGroup.ItemIndex, 0},
      {"SimulationslaufTrackBar", form.SimulationslaufTrackBar.Position, 10},
      {"iAktZeile", form.iAktZeile, 1},
  };
  for (const Integer& n : integers) EXPECT_EQ(n.actual, n.expected) << n.name;

  struct Box {
    const char* name;
    bool checked;
    bool expected;
  };
  const Box boxes[] = {
      {"Referenzfahrt", form.ReferenzfahrtCheckBox.Checked, false},
      {"WZL", form.WZLCheckBox.Checked, false},
      {"WSNullpunkt", form.WSNullpunktCheckBox.Checked, true},
      {"Spindelmotor", form.SpindelmotorCheckBox.Checked, true},
      {"Kuehlmittelpumpe", form.KuehlmittelpumpeCheckBox.Checked, false},
      {"Absaugung", form.AbsaugungCheckBox.Checked, false},
      {"Simulationslauf", form.SimulationslaufCheckBox.Checked, false},
  };
  for (const Box& b : boxes) EXPECT_EQ(b.checked, b.expected) << b.name;

  EXPECT_EQ(form.Dokumentpfad, "neu.tvx");
}

TEST_F(NewDocument, EmptiesTheTableToTheHeaderRowAndKeepsTheDocumentKind) {
  TMainFormState form = usedDocument();
  panel::StringGrid_Neu(form);

  panel::StringGrid& grid = form.DatenStringGrid;
  EXPECT_EQ(grid.ColCount(), 13);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(form.Dokumenttyp, panel::DocumentKind::Dxf);

  // No text of the old document may come back when rows and columns are added again.
  grid.setColCount(15);
  grid.setRowCount(5);
  for (int row = 0; row < 5; ++row) {
    for (int col = 0; col < 15; ++col) EXPECT_EQ(grid.Cells(col, row), "") << col << "," << row;
  }
}

TEST_F(NewDocument, WritesEntryAndEndTraceLines) {
  TMainFormState form = usedDocument();
  panel::StringGrid_Neu(form);
  EXPECT_EQ(traceLines(), (std::vector<std::string>{"StringGrid_Neu()", "StringGrid_Neu() :: End"}));
}

}  // namespace
