// Filling the tool-table grid and taking it back.
#include "ToolTableDialog.h"

#include "machine/TextConvert.h"
#include "platform/NumberFormat.h"

namespace app {

namespace {

struct Column {
  const char* caption;
  ToolValues ToolTable::*member;
};

// Columns 1 to 4.
const Column kColumns[] = {
    {"Startfreq", &ToolTable::TStartfreq},
    {"Arbeitsfreq", &ToolTable::TArbeitsfreq},
    {"Eilfreq", &ToolTable::TEilfreq},
    {"Rampenlänge", &ToolTable::TRampenlaenge},
};

// The grid is stored whatever button closed the dialog; the user's typing is never discarded.
void takeOver(const panel::StringGrid& grid, ToolTable& tools) {
  for (int n = 0; n < kToolCount; ++n) {
    int col = 1;
    for (const auto& c : kColumns) {
      (tools.*c.member)[n] = machine::Text_in_Ganzzahl(grid.Cells(col, n + 1));
      ++col;
    }
  }
}

}  // namespace

void TToolDefForm::OnActivate(const ToolTable& tools) {
  toolStringGrid.setCells(0, 0, "");
  int col = 1;
  for (const auto& c : kColumns) {
    toolStringGrid.setCells(col, 0, c.caption);
    for (int n = 0; n < kToolCount; ++n) toolStringGrid.setCells(col, n + 1, platform::formatInt((tools.*c.member)[n]));
    ++col;
  }
  for (int n = 0; n < kToolCount; ++n) toolStringGrid.setCells(0, n + 1, "Tool " + platform::formatInt(n + 1));
}

void TToolDefForm::OKBitBtnClick(ToolTable& tools) const { takeOver(toolStringGrid, tools); }

void TToolDefForm::OnClose(ToolTable& tools) const { takeOver(toolStringGrid, tools); }

}  // namespace app
