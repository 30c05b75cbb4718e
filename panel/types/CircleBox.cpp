// Box, hit test and handles of the round object types.
#include "CircleBox.h"

#include "panel/DrawHelpers.h"
#include "panel/ObjectDrawing.h"

namespace panel {

namespace {

constexpr int kGriffAbstand = 15;  // px between the box and the handle squares

enum GriffVersatz { kMitte = 0, kLinks = 1, kRechts = 2, kOben = 3, kUnten = 4 };

}  // namespace

CircleBox circleBoxOf(const PanelAnsicht& view, MmPoint centre, double radius) {
  CircleBox box;
  box.c = toPixel(view, centre);
  box.radius = pixelLength(view, radius);
  box.left = box.c.x - box.radius;
  box.right = box.c.x + box.radius;
  box.top = box.c.y - box.radius;
  box.bottom = box.c.y + box.radius;
  return box;
}

bool circleBoxHit(const CircleBox& box, int x, int y) {
  return box.left <= x && x <= box.right && box.top <= y && y <= box.bottom;
}

std::optional<int> circleHandleAt(const CircleBox& box, int x, int y) {
  const int h = box.radius / 2;
  const int cx = box.c.x;
  const int cy = box.c.y;
  const int d = kGriffAbstand;
  if (cy - h < y && y < cy + h) {
    if (cx - h < x && x < cx + h) return kMitte;
    if (box.left - d < x && x < cx - h) return kLinks;
    if (cx + h < x && x < box.right + d) return kRechts;
    return std::nullopt;
  }
  if (box.left - d < x && x < box.right + d) {
    if (cy + h < y && y < box.bottom + d) return kUnten;
    if (box.top - d < y && y < cy - h) return kOben;
  }
  return std::nullopt;
}

void circleGriffTesten(TMainFormState& form, const CircleBox& box, bool selektiert, int mitteCode, int x, int y) {
  if (!selektiert) return;
  if (const std::optional<int> griff = circleHandleAt(box, x, y)) form.Griffpunkt = mitteCode + *griff;
}

void drawCircleHandles(platform::Canvas& canvas, const CircleBox& box, int griffpunkt, int mitteCode) {
  const int d = kGriffAbstand;
  const int cx = box.c.x;
  const int cy = box.c.y;
  drawHandles(canvas, {{box.left - d, box.bottom + d},
                       {box.right + d, box.bottom + d},
                       {box.right + d, box.top - d},
                       {box.left - d, box.top - d},
                       {cx, box.bottom + d},
                       {box.right + d, cy},
                       {cx, box.top - d},
                       {box.left - d, cy}});
  switch (griffpunkt - mitteCode) {
    case kMitte:
      AktivGriffZeichnen(canvas, cx, cy);
      break;
    case kLinks:
      AktivGriffZeichnen(canvas, box.left, cy);
      break;
    case kRechts:
      AktivGriffZeichnen(canvas, box.right, cy);
      break;
    case kOben:
      AktivGriffZeichnen(canvas, cx, box.top);
      break;
    case kUnten:
      AktivGriffZeichnen(canvas, cx, box.bottom);
      break;
    default:
      break;
  }
}

}  // namespace panel
