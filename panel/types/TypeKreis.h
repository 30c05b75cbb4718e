// KREIS rows: a full circle given by centre and radius, milled as one closed circle on the
// compensated radius, as a pocket of concentric rings ("innen-tasche"), with a tangential
// lead-in and lead-out or a ramp down along its own path.
//
// Thread context: Kreis_Neu, drawing, hit and property roles on the GUI thread; Kreis_Fraesen on
// the thread that runs the job, where it blocks while the machine moves and lets failure codes
// through. The parsed record, the lead-in included, is a value owned by the caller.
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
#include "panel/types/LeadIn.h"

namespace panel {

// A pocket that needs more rings than this is taken for a typing error and not milled.
inline constexpr int kKreisTascheMaxRinge = 100000;

struct KreisRecord : RowBasis {
  MmPoint M;            // centre, shifted
  double radius = 0.0;  // nominal, as typed
  double tiefe = 0.0;   // cut depth, positive into the material
  bool Eintauchen = false;
  std::string Fraesrichtung;
  std::string Radiuskorrektur;
  double wirkRadius = 0.0;  // radius of the cutter centre's path
  // False when the circle cannot be milled: a negative radius, a cutter too big for an inside
  // circle or its lead-in, or a pocket whose rings would not end.
  bool gueltig = false;
  bool ringeBegrenzt = false;  // the pocket's ring series ends within kKreisTascheMaxRinge rings
  LeadIn eintauchen;           // at the leftmost point; only meaningful with Eintauchen
  CircleBox box;               // of the nominal circle
  int wirkRadiusPx = 0;
};

int Kreis_Neu(TMainFormState& form);
std::optional<KreisRecord> Kreis_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Kreis_ZeichneLeerfahrt(DrawContext& context, const KreisRecord& kreis);
void Kreis_ZeichneKontur(DrawContext& context, const KreisRecord& kreis);
void Kreis_ZeichneNummer(DrawContext& context, const KreisRecord& kreis, int row);
void Kreis_ZeichneFraesweg(DrawContext& context, const KreisRecord& kreis);
void Kreis_AusdehnungErweitern(Extent& extent, const KreisRecord& kreis);

// The pocket's rings from the compensated radius inward, each 0.7 cutter diameters inside the
// one before, at least one: milled at the depth (each entered by a straight cut from the ring
// before) or drawn dotted in the current pen colour. A pocket whose rings would not end draws
// its first ring only.
void Kreis_Tasche(MillContext& context, const KreisRecord& kreis);
void Kreis_Tasche(DrawContext& context, const KreisRecord& kreis);

void Kreis_Fraesen(MillContext& context, const KreisRecord& kreis);

bool Kreis_Selektieren(const TMainFormState& form, const KreisRecord& kreis, int x, int y);
void Kreis_GriffTesten(TMainFormState& form, const KreisRecord& kreis, int x, int y);

void Kreis_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Kreis_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
