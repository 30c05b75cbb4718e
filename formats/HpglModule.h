// The HPGL module `THPGLDataModule`: reads a plot file into its element list and world window,
// draws the plot and mills it with the pen lifted to one height and lowered to another. It serves
// an opened plot file and, through hpglPlotReader, the HPGL/PLT rows of a panel document.
//
// Thread context: HPGL_Parser and HPGL_Paint on the GUI thread (a row's plot is also read on the
// thread that mills it, into a module of its own); HPGL_Ausfuehren on the thread that runs the
// job, on a copy of the module taken when the run was posted. HPGL_Parser blocks on file I/O and
// on the message boxes it shows; HPGL_Ausfuehren blocks while the machine moves and lets failure
// codes through.
#pragma once

#include <filesystem>

#include "formats/FormatModule.h"
#include "formats/HpglReader.h"
#include "panel/EmbeddedPlot.h"
#include "platform/UiServices.h"

namespace formats {

class THPGLDataModule : public TFormatDataModule<HpglLayout> {
 public:
  THPGLDataModule();

  // The state of a new module, pen heights 0 included.
  void OnCreate();

  // Reads the plot at `path`, every point shifted by the view record's x and y shift, into the
  // list and the world window (the plot's extent, the origin (0, 0) included). A file that cannot
  // be read, has no "IN" or fails to read leaves an empty list and the world window at the shift.
  // With `report` the reading's message boxes and its beep go there (GUI thread); without, it is
  // silent. Returns the milliseconds it took, 0 when the file could not be read or had no "IN".
  int HPGL_Parser(const std::filesystem::path& path, platform::UiServices* report = nullptr);

  // Draws the plot: with its own view the layout, background and rulers of its world window
  // first (an opened plot file); without, in the main window's view record as it stands (a plot
  // inside a panel document). Only "MOVETO" and "LINETO" draw.
  void HPGL_Paint(panel::DrawContext& context, bool ownView);

  // The run, pen up at the start: "UP" and "DOWN" lift and lower the pen (live runs), "MOVETO"
  // travels (live runs), "LINETO" cuts at the pen-down depth, or at the pen-up height while the
  // pen is up. A simulation moves nothing: it draws each step and waits the pace after each cut.
  void HPGL_Ausfuehren(panel::MillContext& context) const;

  // The last read gave a plot.
  bool readOk() const { return readOk_; }

  // Pen-up height and pen-down depth in mm below the surface, set before a run.
  double penUpHeight = 0.0;
  double penDownDepth = 0.0;

 private:
  bool readOk_ = false;
};

// The plot reader of the HPGL/PLT rows: each call reads into a module of its own, so a row never
// draws or mills another row's plot, and a run never sees a list that the GUI thread replaces.
panel::PlotReader hpglPlotReader();

// The elements of a plot that hpglPlotReader read, for as long as the plot lives; null for a
// plot read otherwise.
const HpglElementList* hpglPlotElements(const panel::EmbeddedPlot& plot);

}  // namespace formats
