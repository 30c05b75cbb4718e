// The square box of a circle on the bitmap and the handles that circles, arcs and polygons share:
// eight handle squares 15 px outside the box, and the grab zones of the centre and the four
// radius handles (left, right, top, bottom).
//
// Thread context: pure pixel arithmetic and drawing on the given canvas (the GUI thread for a
// redraw). Nothing blocks.
#pragma once

#include <optional>

#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/PanelView.h"
#include "platform/Canvas.h"

namespace panel {

struct CircleBox {
  platform::Point c;  // centre
  int radius = 0;     // radius in pixels, truncated
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

// The box of the circle of `radius` mm round `centre` in the view.
CircleBox circleBoxOf(const PanelAnsicht& view, MmPoint centre, double radius);

// Hit inside the box, edges included.
bool circleBoxHit(const CircleBox& box, int x, int y);

// The handle under (x, y) as an offset from the centre's code: 0 centre, 1 left, 2 right, 3 top,
// 4 bottom; none outside the zones. All bounds are strict.
std::optional<int> circleHandleAt(const CircleBox& box, int x, int y);

// For a selected object: `Griffpunkt` becomes the code of the handle under (x, y), from the
// centre's code `mitteCode`; left alone when no handle is there.
void circleGriffTesten(TMainFormState& form, const CircleBox& box, bool selektiert, int mitteCode, int x, int y);

// The eight handle squares of a selected object and, when `griffpunkt` is one of its five codes
// (centre code `mitteCode` and the four after it), the red square of the grabbed handle.
void drawCircleHandles(platform::Canvas& canvas, const CircleBox& box, int griffpunkt, int mitteCode);

}  // namespace panel
