// Milling walk: copies outer in x, inner in y; per copy every object row in table order.
#include "KonturenFraesen.h"

#include <string>

#include "machine/TraceLog.h"
#include "panel/Keywords.h"

namespace panel {

namespace {

void millRow(MillContext& context, int row) {
  const StringGrid& grid = context.form.DatenStringGrid;
  const std::string keyword = trimBlanks(grid.Cells(0, row));
  machine::Protokoll_schreiben("");
  machine::Protokoll_schreiben("[" + std::to_string(row) + "] " + keyword);

  // Unknown and lower-case keywords are skipped without a message; a note is never milled.
  const int typ = keywordTypeNumber(keyword);
  if (typ >= 0 && typ != static_cast<int>(KonturTyp::Hinweis)) {
    const MillRole& role = context.objectTypes[static_cast<KonturTyp>(typ)].millRow;
    if (role) role(context, grid, row);
  }

  context.form.FortschrittsanzeigeProgressBar.Position = row;
  if (context.onRowDone) context.onRowDone();
}

}  // namespace

void KonturenFraesen(MillContext& context) {
  TMainFormState& form = context.form;
  TNutzenfertigung& copies = form.Nutzenfertigung;
  if (!form.MenuNutzenfertigung.Checked) {
    copies.xNFAnzahl = 1;
    copies.yNFAnzahl = 1;
  }
  // Counts that did not come through the reader are held in range here too; the document itself
  // is left as it is.
  const int xCount = NutzenAnzahlBegrenzen(copies.xNFAnzahl);
  const int yCount = NutzenAnzahlBegrenzen(copies.yNFAnzahl);

  for (int i = 0; i < xCount; ++i) {
    for (int j = 0; j < yCount; ++j) {
      // A layout without rows moves nothing, so no move would find a stop request: each copy
      // looks for it itself.
      context.motion.checkStopRequest();
      form.Nutzenversatz = Shift{i * copies.xNFAbstand, j * copies.yNFAbstand};
      for (int row = 1; row < form.DatenStringGrid.RowCount(); ++row) millRow(context, row);
    }
  }
  machine::Protokoll_schreiben("");
}

}  // namespace panel
