// VIELECK rows: a regular polygon of 3 to 16 corners given by centre, circumradius, corner count
// and rotation, cut as one closed chain through the corners of the compensated polygon, entered
// straight down or on a ramp along the edge that ends at the first corner.
//
// Thread context: Vieleck_Neu, drawing, hit and property roles on the GUI thread; Vieleck_Fraesen
// on the thread that runs the job, where it blocks while the machine moves and lets failure codes
// through. The parsed record is a value owned by the caller.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "panel/DrawContext.h"
#include "panel/Extent.h"
#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"
#include "panel/types/CircleBox.h"

namespace panel {

inline constexpr int kVieleckMinEcken = 3;
inline constexpr int kVieleckMaxEcken = 16;

struct VieleckRecord : RowBasis {
  MmPoint M;                 // centre, shifted
  double radius = 0.0;       // circumradius, as typed
  int n = kVieleckMinEcken;  // corner count, truncated and held to 3..16
  double Drehwinkel = 0.0;   // degrees; corner 0 lies at this polar angle
  double tiefe = 0.0;        // cut depth, positive into the material
  bool Eintauchen = false;
  std::string Fraesrichtung;
  std::string Radiuskorrektur;
  // The compensation scales the circumradius: the compensated polygon is the nominal one scaled
  // about the centre.
  double wirkRadius = 0.0;
  std::vector<MmPoint> ecken;   // nominal corners 0..n-1
  std::vector<MmPoint> eckenK;  // compensated corners 0..n, the last equal to the first
  MmPoint rampenStart;          // compensated corner next to corner 0 the ramp starts from
  bool gueltig = false;         // false for a negative radius or a cutter too big for an inside polygon
  CircleBox box;                // of the nominal circumcircle
  std::vector<platform::Point> pEcken, pEckenK;
  platform::Point pRampenStart;
};

int Vieleck_Neu(TMainFormState& form);
std::optional<VieleckRecord> Vieleck_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Vieleck_ZeichneLeerfahrt(DrawContext& context, const VieleckRecord& vieleck);
void Vieleck_ZeichneKontur(DrawContext& context, const VieleckRecord& vieleck);
void Vieleck_ZeichneNummer(DrawContext& context, const VieleckRecord& vieleck, int row);
void Vieleck_ZeichneFraesweg(DrawContext& context, const VieleckRecord& vieleck);
void Vieleck_AusdehnungErweitern(Extent& extent, const VieleckRecord& vieleck);

void Vieleck_Fraesen(MillContext& context, const VieleckRecord& vieleck);

bool Vieleck_Selektieren(const TMainFormState& form, const VieleckRecord& vieleck, int x, int y);
void Vieleck_GriffTesten(TMainFormState& form, const VieleckRecord& vieleck, int x, int y);

void Vieleck_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Vieleck_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
