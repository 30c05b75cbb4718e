// LINIE1 rows and the line core: a straight cut between two points in either direction,
// optionally entered on a ramp that starts at the line's midpoint.
//
// Thread context: Linie1_Neu, drawing, hit and property roles on the GUI thread; Linie_Fraesen on
// the thread that runs the job, where it blocks while the machine moves and lets failure codes
// through. The parsed record is a value owned by the caller.
#pragma once

#include <optional>
#include <string>

#include "panel/DrawContext.h"
#include "panel/Extent.h"
#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"

namespace panel {

struct LinieRecord : RowBasis {
  MmPoint start;  // shifted
  MmPoint ende;   // shifted
  MmPoint mitte;
  double tiefe = 0.0;  // cut depth, positive into the material
  bool Eintauchen = false;
  std::string Fraesrichtung;
  std::string Radiuskorrektur;  // kept and shown; a line ignores it
  platform::Point pStart, pEnde, pMitte;
};

int Linie1_Neu(TMainFormState& form);
std::optional<LinieRecord> Linie1_Lesen(const TMainFormState& form, const StringGrid& grid, int row);
void Linie1_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Linie1_EigenschaftenUebernehmen(TMainFormState& form, int row);

// Shifts the end points read from the cells and derives the midpoint and the pixels.
void Linie_Berechnen(const TMainFormState& form, LinieRecord& linie);

void Linie_ZeichneLeerfahrt(DrawContext& context, const LinieRecord& linie);
void Linie_ZeichneKontur(DrawContext& context, const LinieRecord& linie);
void Linie_ZeichneNummer(DrawContext& context, const LinieRecord& linie, int row);
void Linie_ZeichneFraesweg(DrawContext& context, const LinieRecord& linie);
void Linie_AusdehnungErweitern(Extent& extent, const LinieRecord& linie);

void Linie_Fraesen(MillContext& context, const LinieRecord& linie);

bool Linie_Selektieren(const TMainFormState& form, const LinieRecord& linie, int x, int y);
void Linie_GriffTesten(TMainFormState& form, const LinieRecord& linie, int x, int y);

}  // namespace panel
