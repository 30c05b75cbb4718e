// The command-file module `TKDFDataModule`: streams the lines of a controller command file
// (".kdf") to a protocol controller, one after the other, each awaited. It has no path: its
// paint shows the empty panel of its view, the file itself is shown as text.
//
// Thread context: KDF_Parser and KDF_Paint on the GUI thread; KDF_Senden on the thread that runs
// the job. KDF_Senden blocks while the controller works and lets failure codes through.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "panel/DrawContext.h"
#include "panel/Motion.h"
#include "panel/PanelView.h"

namespace machine {
class CommandLayer;
}

namespace formats {

// What one stream works on.
struct KdfStream {
  // The lines of the file, as the text view holds them.
  const std::vector<std::string>& lines;
  // Sends a line (machine::CommandLayer::Befehlszeile_senden).
  machine::CommandLayer& steuerung;
  // For the stop request, tested before each line.
  panel::MotionPrimitives& motion;
  // Copies the bitmap to the screen after each line. May be empty.
  std::function<void()> copyToScreen{};
  // Shows a warning box on the GUI thread and waits for it to be closed. May be empty.
  std::function<void(const std::string&)> warn{};
  // A simulation: the lines are walked, nothing is sent.
  bool simulating = false;
};

class TKDFDataModule {
 public:
  TKDFDataModule() { OnCreate(); }

  void OnCreate();

  // The file is not read here (the text view holds it): the world window goes back to (0, 0) to
  // (-0, -0). Returns the milliseconds it took.
  int KDF_Parser();

  // The layout, background and rulers of the module's view; nothing of the file.
  void KDF_Paint(panel::DrawContext& context);

  // Sends every line that is not empty (trailing blanks removed) and not a comment ("'" or "/"
  // first) to a protocol controller of type 5 or 6; other controller types and a simulation send
  // nothing (a simulation that moved the machine would be none). A stop
  // request found before a line or after the last one ends the stream with 2000; a line the driver cannot take is
  // shown with its number and ends the stream with OUT_OF_RANGE; a failure of the driver or an
  // error answer of the controller ends it with its code.
  static void KDF_Senden(KdfStream& stream);

  panel::PanelAnsicht Ansicht;
};

}  // namespace formats
