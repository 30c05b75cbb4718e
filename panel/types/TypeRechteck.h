// RECHTECK1, RECHTECK2 and RECHTECK3 rows and the rectangle core they share: an axis-parallel
// rectangle with rounded corners, given by two corners, by centre and size or by lower-left
// corner and size, milled as a compensated contour in either direction, with holding tabs, as a
// pocket, with or without lead-in.
//
// Thread context: new rows, drawing, hit and property roles on the GUI thread; Rechteck_Fraesen
// on the thread that runs the job, where it blocks while the machine moves and lets failure
// codes through. The parsed record, the lead-in included, is a value owned by the caller.
#pragma once

#include <optional>
#include <string>

#include "panel/DrawContext.h"
#include "panel/Extent.h"
#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"
#include "panel/types/LeadIn.h"

namespace panel {

struct RechteckRecord : RowBasis {
  MmPoint P1, P2, P3, P4;      // nominal corners from lower left counter-clockwise, shifted
  double w = 0.0;              // P2.x - P1.x
  double h = 0.0;              // P4.y - P1.y
  MmPoint C;                   // centre
  double tiefe = 0.0;          // cut depth, positive into the material
  double Eckradius = 0.0;      // as typed
  double o = 0.0;              // compensation: -R inside, +R outside, 0 on the contour
  double r = 0.0;              // corner radius of the compensated contour
  MmPoint P1c, P2c, P3c, P4c;  // compensated corners
  double wc = 0.0;
  double hc = 0.0;
  MmPoint S;             // start of the contour: middle of the compensated left edge
  bool gueltig = false;  // whether the rectangle can be milled
  bool stege = false;    // holding tabs ("aussen-steg")
  bool Eintauchen = false;
  std::string Fraesrichtung;
  std::string Radiuskorrektur;
  LeadIn eintauchen;                                       // lead-in at S; only meaningful with Eintauchen
  platform::Point pP1, pP2, pP3, pP4, pC, pP1c, pP4c, pS;  // pixels
};

int Rechteck1_Neu(TMainFormState& form);
int Rechteck2_Neu(TMainFormState& form);
int Rechteck3_Neu(TMainFormState& form);

std::optional<RechteckRecord> Rechteck1_Lesen(const TMainFormState& form, const StringGrid& grid, int row);
std::optional<RechteckRecord> Rechteck2_Lesen(const TMainFormState& form, const StringGrid& grid, int row);
std::optional<RechteckRecord> Rechteck3_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Rechteck1_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Rechteck2_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Rechteck3_EigenschaftenAnzeigen(TMainFormState& form, int row);

// From the unshifted corners and the option cells already in the record: the shifts, the
// compensated contour, the validity, the lead-in and the pixels.
void Rechteck_Berechnen(const TMainFormState& form, RechteckRecord& rechteck);

void Rechteck_ZeichneLeerfahrt(DrawContext& context, const RechteckRecord& rechteck);
void Rechteck_ZeichneKontur(DrawContext& context, const RechteckRecord& rechteck);
void Rechteck_ZeichneNummer(DrawContext& context, const RechteckRecord& rechteck, int row);
void Rechteck_ZeichneFraesweg(DrawContext& context, const RechteckRecord& rechteck);
void Rechteck_AusdehnungErweitern(Extent& extent, const RechteckRecord& rechteck);

void Rechteck_Fraesen(MillContext& context, const RechteckRecord& rechteck);

bool Rechteck_Selektieren(const TMainFormState& form, const RechteckRecord& rechteck, int x, int y);
void Rechteck_GriffTesten(TMainFormState& form, const RechteckRecord& rechteck, int x, int y);

void Rechteck_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
