// The dispatch table of every object type, for the application and the tests to share: TOOL,
// PLAN, PUNKT, LINIE1, RECHTECK1-3, VIELECK, KREIS, KBOGEN, TEXT, HPGL/PLT, BIBLIOTHEK and "---".
//
// Thread context: builds a fresh table on the calling thread (the GUI thread at start); the
// table is a value that owns its role functions. Nothing blocks.
#pragma once

#include "panel/ObjectTypeTable.h"

namespace panel {

ObjectTypeTable standardObjectTypes();

}  // namespace panel
