// HPGL/PLT rows: an HPGL plot file placed on the panel with its own origin at the row's origin
// and engraved at the row's depth. The plot is read, drawn and milled by the main window's HPGL
// module, reached through the form's plot reader; the row adds the box, the handles and the
// properties around it.
//
// The plot file is read again at every parse, silently; a file that cannot be read or that the
// reader refuses leaves an empty plot, drawn as its origin alone, that sounds the error signal
// when milled. The reader's messages are shown once, when a plot file is chosen or the document
// that names it is opened.
//
// Thread context: Hpgl_Neu, the reports, drawing, hit and property roles on the GUI thread;
// Hpgl_Fraesen on the thread that runs the job, where it blocks while the machine moves and lets
// failure codes through. Parsing blocks on file I/O. The parsed record, the plot included, is a
// value owned by the caller.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "panel/DrawContext.h"
#include "panel/EmbeddedPlot.h"
#include "panel/Extent.h"
#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"
#include "platform/UiServices.h"

namespace panel {

struct HpglRecord : RowBasis {
  // Origin with the copy shift added. The insertion shift is not: a plot inside a sub-drawing
  // stays at its own origin.
  MmPoint ursprung;
  double tiefe = 0.0;  // cut depth, positive into the material
  std::string Dateiname;
  std::string Pfad;
  // The plot as read for this parse; null when the form has no plot reader.
  std::shared_ptr<const EmbeddedPlot> plot;
  // The plot's extent on the panel in mm, the origin included.
  Extent welt;
  // The extent's box on the bitmap.
  int links = 0;
  int unten = 0;
  int rechts = 0;
  int oben = 0;
};

// Adds a row at the origin (0, 0) with the default depth for the plot file at `path`, chosen by
// the window's open dialog; an empty path (the dialog cancelled) leaves the file cells empty and
// still adds the row.
int Hpgl_Neu(TMainFormState& form, const std::string& path);
// Reads the plot file at `path` once with the reader's messages and beep, when the user has
// chosen it for a row; every later parse reads it silently.
void hpglReportFile(const TMainFormState& form, const std::string& path, platform::UiServices& ui);
// Reads the plot file of every HPGL/PLT row of the document table once with the reader's
// messages, each file once however many rows name it: a document whose plot is gone or refused
// says so when it is opened, rather than only drawing an empty box.
void hpglReportDocumentFiles(const TMainFormState& form, platform::UiServices& ui);

std::optional<HpglRecord> Hpgl_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Hpgl_ZeichneLeerfahrt(DrawContext& context, const HpglRecord& hpgl);
void Hpgl_ZeichneKontur(DrawContext& context, const HpglRecord& hpgl);
void Hpgl_ZeichneNummer(DrawContext& context, const HpglRecord& hpgl, int row);
void Hpgl_AusdehnungErweitern(Extent& extent, const HpglRecord& hpgl);
// No tool-path role (Hpgl_ZeichneFraesweg): the plot drawn as the outline is the path the pen
// takes.

// Travels to the origin and cuts the plot, the pen lifted to the surface and lowered to the depth.
void Hpgl_Fraesen(MillContext& context, const HpglRecord& hpgl);

bool Hpgl_Selektieren(const TMainFormState& form, const HpglRecord& hpgl, int x, int y);
void Hpgl_GriffTesten(TMainFormState& form, const HpglRecord& hpgl, int x, int y);

void Hpgl_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Hpgl_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
