// The DXF module `TDXFDataModule`: reads the lines of a drawing into its element list and world
// window, draws the paths and mills them at the workpiece surface.
//
// Thread context: DXF_Parser and DXF_Paint on the GUI thread; DXF_Ausfuehren on the thread that
// runs the job, on a copy of the module taken when the run was posted. DXF_Parser blocks on the
// message box it shows; DXF_Ausfuehren blocks while the machine moves and lets failure codes
// through.
#pragma once

#include <string>
#include <vector>

#include "formats/DxfReader.h"
#include "formats/FormatModule.h"
#include "platform/UiServices.h"

namespace formats {

class TDXFDataModule : public TFormatDataModule<DxfLayout> {
 public:
  // Reads the drawing from the lines of the file, as the text view holds them. A drawing that
  // cannot be read to its end keeps what was read before and shows why (through `report`, GUI
  // thread). Codes and entities that are not read are written to the standard error stream.
  // Returns the milliseconds it took and writes them to the trace log.
  int DXF_Parser(const std::vector<std::string>& lines, platform::UiServices* report = nullptr);

  // The module's own view and the paths: "MOVETO" as travel, "LINETO" as cuts.
  void DXF_Paint(panel::DrawContext& context);

  // The run: "MOVETO" travels, "LINETO" cuts at the surface (z 0) whatever z the drawing gives.
  // A simulation moves nothing and paces its cuts.
  void DXF_Ausfuehren(panel::MillContext& context) const;
};

}  // namespace formats
