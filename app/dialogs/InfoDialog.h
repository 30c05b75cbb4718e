// Model of the about dialog "Info": a picture it paints itself into its off-screen bitmap (the
// product line, the version line and the version date on a framed card with four marks), shown
// for two seconds at each showing.
//
// Thread context: GUI thread; a plain value owned by the main window's model and shown by its
// view, which owns the bitmap and the timer. The canvas is the caller's; nothing is kept of it.
// Nothing blocks.
#pragma once

#include <string>

#include "platform/Canvas.h"

namespace app {

// "Version " and the program's version number.
std::string Versionstext();

struct TInfoDlg {
  // Client area of the dialog, the size of its paint box and of its bitmap.
  static constexpr int kBreite = 342;
  static constexpr int kHoehe = 455;
  // How long the dialog stays after each showing.
  static constexpr int kAnzeigeMs = 2000;

  std::string Caption = "Info";
  std::string Produktzeile = "Tessaly";
  std::string Versionszeile = Versionstext();
  std::string Datumszeile = "22.01.13";

  // The timer that closes the dialog: running from each showing to its first tick.
  bool TimerEnabled = false;
  int TimerInterval = kAnzeigeMs;
  // The dialog has been told to close.
  bool Geschlossen = false;

  // Each showing: the picture painted anew into `bitmap` in `buttonFace` (the system's colour of
  // buttons and dialogs), the timer started.
  void OnActivate(platform::Canvas& bitmap, platform::Colour buttonFace);
  // The timer's tick: the timer stops and the dialog closes.
  void TimerOnTimer();

  void InfoZeichnen(platform::Canvas& bitmap, platform::Colour buttonFace) const;
  // One mark centred at (x, y): a white rounded rectangle 20 x 10 with a black outline; the
  // canvas keeps its brush colour.
  static void MarkeZeichnen(platform::Canvas& canvas, int x, int y);
};

}  // namespace app
