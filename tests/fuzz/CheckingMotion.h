// Motion primitives for the fuzz targets that only check what they are given: finite targets and
// pen words of 0 or 1; an arc primitive is never called by the format runs. Also the paint and
// simulated run of what a format module read, checked the same way for every module.
//
// Thread context: the fuzzer's one thread.
#pragma once

#include <cmath>

#include "FuzzFile.h"
#include "panel/DrawContext.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/Motion.h"
#include "panel/ObjectTypeTable.h"
#include "panel/PanelView.h"
#include "support/RecordingCanvas.h"

namespace fuzz {

inline bool finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

class CheckingMotion final : public panel::MotionPrimitives {
 public:
  void cncMoveTo(double x, double y) override { check(finite(x, y)); }
  void cncLineTo(int, double x, double y, double z) override { check(finite(x, y) && std::isfinite(z)); }
  void cncKreisLineTo(int, double, double, double, double, double, double) override { check(false); }
  void cncBohrspindel(int) override {}
  void cncKuehlmittelpumpe(int) override {}
  void cncAbsaugung(int) override {}
  void cncStiftHebenSenken(int raise) override { check(raise == 0 || raise == 1); }
  void setStiftHoehen(double, double) override {}
  void cncGotoWSNullpunkt() override {}
  void cncGotoParkposition() override {}
  void checkStopRequest() override {}
  void simulationPause() override {}
};

// Paints a module's paths with `paint(context, form)` into a recording canvas, checks that every
// pixel handed to it lies near the bitmap, then runs them as a simulation with `run(mill)`.
template <typename Paint, typename Run>
void checkPaintAndRun(bool leerfahrten, Paint paint, Run run) {
  panel::TMainFormState form;
  form.DrawLeerfahrten = leerfahrten;
  panel::ObjectTypeTable types;
  testsupport::RecordingCanvas canvas({640, 480});
  panel::DrawContext context{form, canvas, types};
  paint(context, form);
  for (const testsupport::CanvasOp& op : canvas.ops()) {
    for (int v : op.args) check(v >= -2 * panel::kPixelLimit && v <= 2 * panel::kPixelLimit);
  }
  form.SimulationslaufCheckBox.Checked = true;
  CheckingMotion motion;
  panel::MillContext mill{form, types, motion};
  mill.canvas = &canvas;
  run(mill);
}

}  // namespace fuzz
