// Motion primitives for the fuzz targets that only check what they are given: finite targets and
// pen words of 0 or 1; an arc primitive is never called by the format runs.
//
// Thread context: the fuzzer's one thread.
#pragma once

#include <cmath>

#include "FuzzFile.h"
#include "panel/Motion.h"

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
};

}  // namespace fuzz
