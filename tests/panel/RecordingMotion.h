// Motion primitives double for tests: records each call as a line of text ("cncMoveTo 1.00
// 2.00"), so a test compares whole move sequences.
#pragma once

#include <string>
#include <vector>

#include "panel/Motion.h"
#include "platform/NumberFormat.h"

namespace paneltest {

class RecordingMotion final : public panel::MotionPrimitives {
 public:
  void cncMoveTo(double x, double y) override { add("cncMoveTo " + n(x) + " " + n(y)); }
  void cncLineTo(int speedIndex, double x, double y, double z) override {
    add("cncLineTo " + std::to_string(speedIndex) + " " + n(x) + " " + n(y) + " " + n(z));
  }
  void cncKreisLineTo(int direction, double cx, double cy, double radius, double startAngle, double endAngle,
                      double z) override {
    add("cncKreisLineTo " + std::to_string(direction) + " " + n(cx) + " " + n(cy) + " " + n(radius) + " " +
        n(startAngle) + " " + n(endAngle) + " " + n(z));
  }
  void cncBohrspindel(int on) override { add("cncBohrspindel " + std::to_string(on)); }
  void cncKuehlmittelpumpe(int on) override { add("cncKuehlmittelpumpe " + std::to_string(on)); }
  void cncAbsaugung(int on) override { add("cncAbsaugung " + std::to_string(on)); }
  void cncStiftHebenSenken(int raise) override { add("cncStiftHebenSenken " + std::to_string(raise)); }
  void setStiftHoehen(double penUp, double penDown) override { add("setStiftHoehen " + n(penUp) + " " + n(penDown)); }
  void cncGotoWSNullpunkt() override { add("cncGotoWSNullpunkt"); }
  void cncGotoParkposition() override { add("cncGotoParkposition"); }
  void simulationPause() override { add("simulationPause"); }
  // Not recorded as a call: counted, and a set `stopRequested` is taken like the stop button.
  void checkStopRequest() override {
    ++stopChecks;
    if (stopRequested) {
      stopRequested = false;
      throw 2000;
    }
  }

  std::vector<std::string> calls;
  int stopChecks = 0;
  bool stopRequested = false;

 private:
  static std::string n(double v) { return platform::formatFixed(v, 2); }
  void add(std::string line) { calls.push_back(std::move(line)); }
};

}  // namespace paneltest
