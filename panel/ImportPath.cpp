// Drawing of imported path steps.
#include "ImportPath.h"

namespace panel {

using platform::Pen;
using platform::PenStyle;

void ImportPfadZeichnen(DrawContext& context, const PanelAnsicht& view, std::string_view command, double x, double y) {
  platform::Canvas& canvas = context.canvas;
  const TMainFormState& form = context.form;
  // A path far off the panel is held near the bitmap like every other drawing.
  const int px = mm2PixelX(view, x);
  const int py = mm2PixelY(view, y);
  canvas.setBrush(platform::Brush{canvas.brush().colour, platform::BrushStyle::Clear});

  if (command == "MOVETO" || command == "GOO") {
    canvas.setPen(Pen{form.Farben.FarbeLeerfahrt, 1, PenStyle::Dot, platform::PenMode::Copy});
    if (form.DrawLeerfahrten) {
      canvas.lineTo(px, py);
    } else {
      canvas.moveTo(px, py);
    }
  } else if (command == "LINETO" || command == "GO1") {
    const bool cutColour = view.liveDrawing || form.DrawFraeswege;
    canvas.setPen(
        Pen{cutColour ? form.Farben.FarbeSchnitt : form.Farben.FarbeJa, 1, PenStyle::Solid, platform::PenMode::Copy});
    canvas.lineTo(px, py);
  }
  if (view.liveDrawing && context.copyToScreen) context.copyToScreen();
}

}  // namespace panel
