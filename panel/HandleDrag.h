// Dragging the grabbed handle of an object: the mouse point, in millimetres, rewrites the cells
// of the object's row by the handle's rule, then the panel and the properties grid are refreshed.
//
// Thread context: GUI thread, on the main window's state; draws on the context's canvas. Blocks
// only on the trace log's file I/O and on files a row names.
#pragma once

#include "panel/DrawContext.h"

namespace panel {

// Moves handle `Griffpunkt` of row `iTrefferZeile` (by the kind `esgTyp`) to the bitmap point
// (x, y), then redraws and refills the properties grid. Nothing happens without a hit row; a
// handle that does not belong to the kind, a row of another kind or a move that would give a
// negative size or radius or turn a two-corner rectangle inside out changes no cell. True when a
// cell of the row changed.
bool esgDragDrop(DrawContext& context, int x, int y);

}  // namespace panel
