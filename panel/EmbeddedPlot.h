// The plot of an HPGL/PLT row as the main window's HPGL module reads it: the panel model reaches
// the plot reader only through this interface, which the format modules implement.
//
// Thread context: a read plot is an immutable value; it is drawn on the GUI thread and milled on
// the thread that runs the job, and may be shared between them. Reading blocks on file I/O.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "panel/Extent.h"
#include "panel/Shift.h"

namespace platform {
class UiServices;
}

namespace panel {

struct DrawContext;
struct MillContext;

class EmbeddedPlot {
 public:
  virtual ~EmbeddedPlot() = default;

  // Whether the file was read as a plot. A file that cannot be read, or one the reader refused,
  // gives an empty plot whose world window is its origin alone.
  virtual bool readOk() const = 0;
  // The module's world window after the read: the plot's extent on the panel in mm, the origin
  // included.
  virtual Extent world() const = 0;
  // Draws the plot's steps into the main window's view, without a background or rulers of its own.
  virtual void draw(DrawContext& context) const = 0;
  // Cuts the plot: the pen lifted to the surface, lowered to `depth` mm below it. Blocks while the
  // machine moves; failure codes (2000 on a stop) pass through.
  virtual void mill(MillContext& context, double depth) const = 0;
};

// Reads the plot file at `path` with every point shifted by `origin` (mm). With `report`, the
// reader's messages are shown there (GUI thread only); without, it reads silently. Never null.
using PlotReader = std::function<std::shared_ptr<const EmbeddedPlot>(const std::string& path, Shift origin,
                                                                     platform::UiServices* report)>;

}  // namespace panel
