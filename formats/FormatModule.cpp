// The shared parts of the format modules.
#include "FormatModule.h"

#include "panel/PanelDrawing.h"

namespace formats {

panel::PanelAnsicht newView() {
  panel::PanelAnsicht view;
  view.xMin = 0.0;
  view.yMin = 0.0;
  view.xMax = -0.0;
  view.yMax = -0.0;
  view.liveDrawing = false;
  return view;
}

void drawOwnView(panel::DrawContext& context, panel::PanelAnsicht& view) {
  platform::Canvas& canvas = context.canvas;
  panel::PanelLayoutBerechnen(view, canvas);
  panel::PanelHintergrundZeichnen(canvas, view.x0, view.y0, view.width, view.height);
  panel::LinealeZeichnen(canvas, view.x0, view.y0, view.width, view.height, view.dMassstab, view.xMin, view.yMin,
                         view.xMax, view.yMax);
}

}  // namespace formats
