// New-document defaults and the reset of the document table.
#include "NewDocument.h"

#include <string>

#include "machine/TraceLog.h"

namespace panel {

void DokumentDefaults(TMainFormState& form) {
  // The records' member initialisers are the new-document values, radius included.
  form.Abmessungen = TAbmessungen{};
  form.Nutzenfertigung = TNutzenfertigung{};

  form.ReferenzfahrtCheckBox.Checked = false;
  form.WZLCheckBox.Checked = false;
  form.WSNullpunktCheckBox.Checked = true;
  form.SpindelmotorCheckBox.Checked = true;
  form.KuehlmittelpumpeCheckBox.Checked = false;
  form.AbsaugungCheckBox.Checked = false;
  form.nachBearbeitungRadioGroup.ItemIndex = 0;
  form.SimulationslaufCheckBox.Checked = false;
  form.SimulationslaufTrackBar.Position = 10;
}

void StringGrid_Neu(TMainFormState& form) {
  machine::Protokoll_schreiben("StringGrid_Neu()");
  DokumentDefaults(form);

  // Emptying first also clears the header row, which survives the shrink to one row.
  StringGrid& grid = form.DatenStringGrid;
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int col = 0; col < kKonturSpalten; ++col) grid.setCells(col, row, std::string());
  }
  grid.setColCount(kKonturSpalten);
  grid.setRowCount(1);

  form.iAktZeile = 1;
  form.Dokumentpfad = "neu.tvx";
  machine::Protokoll_schreiben("StringGrid_Neu() :: End");
}

}  // namespace panel
