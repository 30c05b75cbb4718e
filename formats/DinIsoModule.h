// The DIN/ISO module `TDINISODataModule`: reads a program into its element list and world
// window, draws the path and mills it with linear moves.
//
// Thread context: DINISO_Parser and DINISO_Paint on the GUI thread; DINISO_Ausfuehren on the
// thread that runs the job, on a copy of the module taken when the run was posted.
// DINISO_Parser blocks on file I/O and on the message boxes it shows; DINISO_Ausfuehren blocks
// while the machine moves and lets failure codes through.
#pragma once

#include <filesystem>

#include "formats/DinIsoReader.h"
#include "formats/FormatModule.h"
#include "platform/UiServices.h"

namespace formats {

class TDINISODataModule : public TFormatDataModule<DinIsoLayout> {
 public:
  // Reads the program at `path`, every point shifted by the view record's shift, into the list
  // and the world window. A word the reader does not handle ends the path there (a hint); a
  // program that fails leaves an empty list and the world window at the origin. A file that
  // cannot be read changes nothing. With `report` the reading's boxes go there (GUI thread).
  // Returns the milliseconds it took, 0 when the file could not be read.
  int DINISO_Parser(const std::filesystem::path& path, platform::UiServices* report = nullptr);

  // The module's own view (layout, background, rulers) and the path: "GOO" as travel, "GO1" as
  // cuts; the canvas pen is put back where it was.
  void DINISO_Paint(panel::DrawContext& context);

  // The run: "GOO" a linear move at the rapid speed, "GO1" at the working speed, each to the
  // element's x, y and z as the program gives them (z is the depth below the surface, positive
  // into the material). A simulation moves nothing and paces its cuts.
  void DINISO_Ausfuehren(panel::MillContext& context) const;

  // The last read did not fail (a hint still gives a path).
  bool readOk() const { return readOk_; }

 private:
  bool readOk_ = false;
};

}  // namespace formats
