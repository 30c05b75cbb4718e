// The colours of the program's string grids, fixed as the class library's grids show them on a
// standard desktop: cells white with black text, fixed rows and columns in the button face with
// black text, the selection in the highlight colour with white text; a disabled grid keeps them.
// They do not follow the desktop's theme, since the grids' own row colours are light and their
// texts black: on a dark theme they would read light on light, or black on dark.
//
// Thread context: GUI thread.
#pragma once

#include <QAbstractItemView>
#include <QColor>

namespace platform {

// The system colours of the class library, as RGB.
inline const QColor kGridWindow{255, 255, 255};
inline const QColor kGridWindowText{0, 0, 0};
inline const QColor kGridButtonFace{240, 240, 240};
inline const QColor kGridHighlight{0, 120, 215};
inline const QColor kGridHighlightText{255, 255, 255};

// Gives `grid`, its header, its viewport and the editors it opens these colours. `cells` is the
// colour of the area behind the cells: the window colour, or the button face for a grid whose
// background is the button face.
void setGridColours(QAbstractItemView* grid, const QColor& cells = kGridWindow);

}  // namespace platform
