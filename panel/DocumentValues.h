// The document-wide values of a panel document: panel size and cutter (`Abmessungen`) and the
// grid of copies (`Nutzenfertigung`).
//
// Thread context: plain value records held in TMainFormState (GUI thread); no blocking. The
// member initialisers are the values of a new document.
#pragma once

#include <algorithm>

namespace panel {

// Most copies of the layout in x and in y. A count read from a file or entered above it is held
// at it, one below 1 becomes 1: a document must not ask for a job that never ends, nor for one
// that mills nothing while the run reports success.
inline constexpr int kMaxNutzenAnzahl = 1000;

inline int NutzenAnzahlBegrenzen(int anzahl) { return std::clamp(anzahl, 1, kMaxNutzenAnzahl); }

struct TAbmessungen {
  double Plattenbreite = 50.0;      // mm, > 0
  double Plattenhoehe = 50.0;       // mm, > 0
  double Standardtiefe = -6.0;      // mm, <= 0: depth of new objects
  double Fraeserdurchmesser = 3.0;  // mm, > 0
  double Sicherheitsebene = 0.0;    // mm, >= 0: travel height above the surface
  double Fraeserradius = 1.5;       // mm, always half the diameter

  // Sets the diameter and the radius that depends on it.
  void setFraeserdurchmesser(double durchmesser) {
    Fraeserdurchmesser = durchmesser;
    Fraeserradius = durchmesser * 0.5;
  }
};

struct TNutzenfertigung {
  double xNFAbstand = 10.0;  // mm between copies in x
  double yNFAbstand = 10.0;  // mm between copies in y
  int xNFAnzahl = 1;         // copies in x, 1 to kMaxNutzenAnzahl
  int yNFAnzahl = 1;         // copies in y, 1 to kMaxNutzenAnzahl
};

}  // namespace panel
