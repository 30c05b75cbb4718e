// Kind of the open document (`Dokumenttyp`), which selects the drawing and the run.
//
// Thread context: any thread; a plain enumeration.
#pragma once

namespace panel {

enum class DocumentKind : int {
  None = 0,
  Panel = 1,        // panel document (.tvx)
  Hpgl = 2,         // HPGL plot
  CommandFile = 3,  // controller command file (.kdf)
  DinIso = 4,       // DIN/ISO program
  Dxf = 5,          // DXF drawing
};

}  // namespace panel
