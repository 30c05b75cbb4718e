// The drawing colours of the main window (0xBBGGRR, as the canvas takes them).
//
// Thread context: plain value held in the main window's state; any thread may read a copy.
#pragma once

#include "platform/Canvas.h"

namespace panel {

struct Palette {
  platform::Colour FarbeGummiRect = 0x008000;    // rubber band
  platform::Colour FarbeJa = 0x000000;           // outline of an object milled "ja"
  platform::Colour FarbeNein = 0xDFDFDF;         // outline of an object not milled
  platform::Colour FarbeNurZeichnen = 0x70C0FF;  // outline of an object only drawn
  platform::Colour FarbeUngueltig = 0x0000FF;    // an object that cannot be milled
  platform::Colour FarbeLeerfahrt = 0x20FF20;    // travel moves
  platform::Colour FarbeEintauchen = 0xFF00FF;   // lead-in parts of a tool path
  platform::Colour FarbeFraesweg = 0xFF0000;     // tool paths and row numbers
  platform::Colour FarbeSchnitt = 0xFF0000;      // cuts
};

// Fixed colours of the panel drawing.
inline constexpr platform::Colour kHintergrundFarbe = 0x808080;
inline constexpr platform::Colour kPlattenFarbe = 0xFFFFFF;
inline constexpr platform::Colour kNullpunktFarbe = 0x0000FF;
inline constexpr platform::Colour kGriffFarbe = 0x000000;
inline constexpr platform::Colour kAktivGriffFarbe = 0x0000FF;
inline constexpr platform::Colour kAusdehnungSchraffur = 0xD0D0D0;

}  // namespace panel
