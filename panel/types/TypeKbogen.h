// KBOGEN rows: an open circular arc given by centre, radius, start and end angle, cut in one pass
// along the compensated radius in either direction; no lead-in and no pocket.
//
// Thread context: Kbogen_Neu, drawing, hit and property roles on the GUI thread; Kbogen_Fraesen
// on the thread that runs the job, where it blocks while the machine moves and lets failure codes
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
#include "panel/types/CircleBox.h"

namespace panel {

// An arc that sweeps further than this (ten full turns) is taken for a typing error and not
// milled.
inline constexpr double kKbogenMaxSweep = 3600.0;

struct KbogenRecord : RowBasis {
  MmPoint M;                 // centre, shifted
  double radius = 0.0;       // nominal, as typed
  double Startwinkel = 0.0;  // degrees counter-clockwise from +x, as typed
  double Endwinkel = 0.0;
  double tiefe = 0.0;  // cut depth, positive into the material
  std::string Fraesrichtung;
  std::string Radiuskorrektur;
  double wirkRadius = 0.0;  // radius of the cutter centre's path: only "innen" and "aussen" move it
  MmPoint start;            // on the compensated radius at the start angle
  MmPoint ende;             // and at the end angle
  // False for a negative radius, a cutter too big for an inside arc or a sweep beyond
  // kKbogenMaxSweep.
  bool gueltig = false;
  CircleBox box;  // of the nominal full circle
  int wirkRadiusPx = 0;
  platform::Point pStart, pEnde;
};

int Kbogen_Neu(TMainFormState& form);
std::optional<KbogenRecord> Kbogen_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Kbogen_ZeichneLeerfahrt(DrawContext& context, const KbogenRecord& bogen);
void Kbogen_ZeichneKontur(DrawContext& context, const KbogenRecord& bogen);
void Kbogen_ZeichneNummer(DrawContext& context, const KbogenRecord& bogen, int row);
void Kbogen_ZeichneFraesweg(DrawContext& context, const KbogenRecord& bogen);
void Kbogen_AusdehnungErweitern(Extent& extent, const KbogenRecord& bogen);

void Kbogen_Fraesen(MillContext& context, const KbogenRecord& bogen);

bool Kbogen_Selektieren(const TMainFormState& form, const KbogenRecord& bogen, int x, int y);
void Kbogen_GriffTesten(TMainFormState& form, const KbogenRecord& bogen, int x, int y);

void Kbogen_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Kbogen_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
