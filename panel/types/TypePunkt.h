// PUNKT rows: one plunge of the cutter at a point, a drill hole or a mark.
//
// Thread context: Punkt_Neu, drawing, hit and property roles on the GUI thread; Punkt_Fraesen on
// the thread that runs the job, where it blocks while the machine moves and lets failure codes
// through. The parsed record is a value owned by the caller.
#pragma once

#include <optional>

#include "panel/DrawContext.h"
#include "panel/Extent.h"
#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"

namespace panel {

struct PunktRecord : RowBasis {
  MmPoint punkt;       // shifted
  double tiefe = 0.0;  // cut depth, positive into the material
  platform::Point p;   // the point in pixels
};

int Punkt_Neu(TMainFormState& form);
std::optional<PunktRecord> Punkt_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Punkt_ZeichneLeerfahrt(DrawContext& context, const PunktRecord& punkt);
void Punkt_ZeichneKontur(DrawContext& context, const PunktRecord& punkt);
void Punkt_ZeichneNummer(DrawContext& context, const PunktRecord& punkt, int row);
void Punkt_ZeichneFraesweg(DrawContext& context, const PunktRecord& punkt);
void Punkt_AusdehnungErweitern(Extent& extent, const PunktRecord& punkt);

void Punkt_Fraesen(MillContext& context, const PunktRecord& punkt);

bool Punkt_Selektieren(const TMainFormState& form, const PunktRecord& punkt, int x, int y);
void Punkt_GriffTesten(TMainFormState& form, const PunktRecord& punkt, int x, int y);

void Punkt_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Punkt_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
