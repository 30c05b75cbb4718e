// The motion primitives of a run: they draw each move on the bitmap and either pace a
// simulation or convert millimetres to steps and move the machine through the command layer,
// with absolute moves while a job is recorded into the controller's program memory.
//
// Thread context: the thread that runs the job. Reads the run's snapshot of the main window and
// of the machine parameters (through the bound command layer); the stop request, the simulation
// pace and the program-memory flag are shared atomics read at every move. Moves block until done
// or until the simulation pause is over; failure codes pass through, 2000 on a stop request. A
// live move is checked against the controllers' step range (machine/StepRange.h) before any part
// of it is sent; one outside ends the run with STEP_RANGE_ERROR.
#pragma once

#include <atomic>
#include <functional>
#include <initializer_list>

#include "machine/CommandLayer.h"
#include "panel/MainFormState.h"
#include "panel/Motion.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"

namespace panel {

// What the primitives read besides the run's snapshot of the main window. References only: all
// of it must outlive the primitives.
struct MotionEnvironment {
  machine::CommandLayer& steuerung;
  std::atomic<bool>& bAbbruch;
  const std::atomic<int>& Simulationspause;             // ms after each simulated move
  const std::atomic<bool>& bAusgabeInFestwertspeicher;  // recording into the program memory
  platform::Canvas& canvas;
  platform::Clock& clock;
  // Copies the bitmap to the screen (routed to the GUI thread). May be empty.
  std::function<void()> copyToScreen{};
};

class CncMotion final : public MotionPrimitives {
 public:
  CncMotion(const TMainFormState& form, MotionEnvironment environment);

  void cncMoveTo(double x, double y) override;
  void cncLineTo(int speedIndex, double x, double y, double z) override;
  void cncKreisLineTo(int direction, double cx, double cy, double radius, double startAngle, double endAngle,
                      double z) override;
  void cncBohrspindel(int on) override;
  void cncKuehlmittelpumpe(int on) override;
  void cncAbsaugung(int on) override;
  void cncStiftHebenSenken(int raise) override;
  void cncGotoWSNullpunkt() override;
  void cncGotoParkposition() override;
  void allOutputsOff() override;
  void checkStopRequest() override;
  void simulationPause() override;

  void setStiftHoehen(double penUp, double penDown) override;

 private:
  bool simulating() const;
  bool recording() const;
  void simulatedMoveDone();
  // One vector move: mode 0 absolute, 1 relative; step counts already checked.
  struct Move {
    int mode;
    int speedIndex;
    int x;
    int y;
    int z;
  };
  // Sends the moves in order; every count has passed machine::checkedSteps before the first.
  void send(std::initializer_list<Move> moves);
  void traceTargets(const char* label, int x, int y, int z);
  void switchOutput(const char* name, int number, bool enabled, int on, bool waitAfterOn);
  void travelTo(int x, int y, int z);

  const TMainFormState& form_;
  MotionEnvironment env_;
  double penUp_ = 0.0;
  double penDown_ = 0.0;
};

// Step of the arc segments of a radius: the largest of 2 to 10 degrees (in steps of 2) whose arc
// is shorter than 3 mm; 2 degrees when none is, so that large arcs stay smooth.
double arcStepDegrees(double radius);

}  // namespace panel
