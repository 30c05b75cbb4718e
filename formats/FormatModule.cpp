// The shared parts of the format modules.
#include "FormatModule.h"

#include "panel/PanelDrawing.h"

namespace formats {

panel::PanelAnsicht neueAnsicht() {
  panel::PanelAnsicht ansicht;
  ansicht.xMin = 0.0;
  ansicht.yMin = 0.0;
  ansicht.xMax = -0.0;
  ansicht.yMax = -0.0;
  ansicht.liveDrawing = false;
  return ansicht;
}

void eigeneAnsichtZeichnen(panel::DrawContext& context, panel::PanelAnsicht& ansicht) {
  platform::Canvas& canvas = context.canvas;
  panel::PanelLayoutBerechnen(ansicht, canvas);
  panel::PanelHintergrundZeichnen(canvas, ansicht.x0, ansicht.y0, ansicht.width, ansicht.height);
  panel::LinealeZeichnen(canvas, ansicht.x0, ansicht.y0, ansicht.width, ansicht.height, ansicht.dMassstab, ansicht.xMin,
                         ansicht.yMin, ansicht.xMax, ansicht.yMax);
}

}  // namespace formats
