// Lead-in and lead-out moves of closed contours: a quarter arc of 2 mm that meets the contour
// tangentially at its start point (compensated contours), the ramp of a rectangle along its left
// edge and the ramp of a circle along its own path (uncompensated contours).
//
// Thread context: EintauchenBerechnen is pure (any thread); the drawing operations draw on the
// given canvas (GUI thread for a redraw); the milling operations run on the thread that runs the
// job, block while the machine moves and let failure codes through. The geometry is a value
// that belongs to the parsed object.
#pragma once

#include <string_view>

#include "panel/Geometry.h"
#include "panel/Motion.h"
#include "panel/PanelView.h"
#include "platform/Canvas.h"

namespace panel {

inline constexpr double kEintauchRadius = 2.0;  // mm
// Each quarter arc is milled in this many segments of 4.5 degrees; the last one starts on the
// arc's end angle, so the cut runs 4.5 degrees past the quarter.
inline constexpr int kEintauchSegmente = 21;
inline constexpr double kEintauchSchritt = 4.5;  // degrees

struct LeadIn {
  MmPoint P;  // where the contour begins, on a vertical tangent
  MmPoint C;  // centre of the entry and exit arcs
  MmPoint A;  // where the tool plunges
  MmPoint E;  // where the lead-out ends
  platform::Point pP, pC, pA, pE;
};

// The arcs beside the contour start P: to its right for the inside compensations, to its left
// for the outside ones. For "mitte" (and every word that means it) there is no arc: C, A and E
// are P itself.
LeadIn EintauchenBerechnen(const PanelAnsicht& view, MmPoint P, std::string_view radiuskorrektur,
                           std::string_view fraesrichtung);

// Entry arc from A (the pen first moves there) and exit arc, dotted in the canvas's current pen
// colour, each with a direction arrow; nothing for "mitte".
void EintauchenZeichnen(platform::Canvas& canvas, const PanelAnsicht& view, const LeadIn& leadIn,
                        std::string_view fraesrichtung, std::string_view radiuskorrektur);
void AusfahrenZeichnen(platform::Canvas& canvas, const PanelAnsicht& view, const LeadIn& leadIn,
                       std::string_view fraesrichtung, std::string_view radiuskorrektur);

// Travel to A, coolant on, plunge, then the entry arc at the depth; nothing for "mitte".
void EintauchenFraesen(MotionPrimitives& motion, const LeadIn& leadIn, std::string_view fraesrichtung,
                       std::string_view radiuskorrektur, double tiefe);
// The exit arc at the depth; the tool stays down. Nothing for "mitte".
void AusfahrenFraesen(MotionPrimitives& motion, const LeadIn& leadIn, std::string_view fraesrichtung,
                      std::string_view radiuskorrektur, double tiefe);

// The left edge of a rectangle's compensated contour, for its ramp entry.
struct LeftEdge {
  double x = 0.0;
  double yUnten = 0.0;     // lower-left corner
  double yOben = 0.0;      // upper-left corner
  double yMitte = 0.0;     // the edge's midpoint, where the contour starts
  double Eckradius = 0.0;  // as typed
};

// Only for "mitte": travel to the end of the edge's straight part from which the contour runs
// towards the midpoint, coolant on, and a ramp at plunge speed down to the midpoint at the depth.
void EckeEintauchenFraesen(MotionPrimitives& motion, const LeftEdge& kante, std::string_view fraesrichtung,
                           std::string_view radiuskorrektur, double tiefe);

// Only for "mitte": a circle (centre, radius) entered on a ramp along its own path, 21 segments
// from the surface down to the depth, ending 4.5 degrees past its leftmost point.
void RampeEintauchenFraesen(MotionPrimitives& motion, MmPoint mitte, double radius, std::string_view fraesrichtung,
                            std::string_view radiuskorrektur, double tiefe);

}  // namespace panel
