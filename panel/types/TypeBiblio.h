// BIBLIOTHEK rows: another stored panel document inserted as a sub-drawing, its lower-left panel
// corner at the row's origin. The document's rows are drawn and milled through their own types,
// shifted by the origin (the insertion shift); sub-drawings do not nest.
//
// The document is read again at every parse; a row whose file is gone is neither drawn, hit nor
// milled, and one that is no readable panel document has no contents.
//
// Thread context: Biblio_Neu, drawing, hit and property roles on the GUI thread; Biblio_Fraesen
// on the thread that runs the job, where it blocks while the machine moves and lets failure
// codes through (the insertion shift is reset on every way out). Parsing blocks on file I/O. The
// parsed record, the document's rows included, is a value owned by the caller.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "panel/DrawContext.h"
#include "panel/Extent.h"
#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"

namespace panel {

struct BiblioRecord : RowBasis {
  MmPoint ursprung;    // as typed: neither the insertion nor the copy shift is added
  double tiefe = 0.0;  // kept and shown, not used: each content object mills at its own depth
  std::string Pfad;
  // The library document's rows, row 0 its header; only the header when it could not be read.
  std::shared_ptr<const StringGrid> inhalt;
  // Panel size of the library document (`BiblioAbmessungen`), mm; 0 when it could not be read.
  double breite = 0.0;
  double hoehe = 0.0;
  platform::Point o;  // the origin on the bitmap
  int breitePx = 0;
  int hoehePx = 0;
};

// Adds a row at the origin (0, 0) with the default depth for the document at `path`.
int Biblio_Neu(TMainFormState& form, const std::string& path);
std::optional<BiblioRecord> Biblio_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Biblio_ZeichneLeerfahrt(DrawContext& context, const BiblioRecord& biblio);
// The contents in the row's mode, then the handles; the window's library grid shows the contents.
void Biblio_ZeichneKontur(DrawContext& context, const BiblioRecord& biblio);
void Biblio_ZeichneNummer(DrawContext& context, const BiblioRecord& biblio, int row);
// The library document's panel from the panel's zero; the contents have grown the extent by
// their own while they were drawn.
void Biblio_AusdehnungErweitern(Extent& extent, const BiblioRecord& biblio);
// Every content row but sub-drawings and notes, in the row's mode, unselected, without numbers.
void Biblio_InhaltZeichnen(DrawContext& context, const BiblioRecord& biblio);

// Only in mode "ja": travel to the origin, then the contents by their own modes.
void Biblio_Fraesen(MillContext& context, const BiblioRecord& biblio);
void Biblio_InhaltFraesen(MillContext& context, const BiblioRecord& biblio);

bool Biblio_Selektieren(const TMainFormState& form, const BiblioRecord& biblio, int x, int y);
void Biblio_GriffTesten(TMainFormState& form, const BiblioRecord& biblio, int x, int y);

void Biblio_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Biblio_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
