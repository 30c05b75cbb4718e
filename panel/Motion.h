// The motion primitives every tool path ends in: travel, straight and arc feed moves, the three
// outputs, the pen lift of plots and the travels to the workpiece zero and the park position.
//
// Thread context: called by the thread that runs a job (the run worker, or the GUI thread while a
// job is recorded into the controller's program memory). Calls block until the move is done (or
// the simulation pause is over) and throw an integer failure code, 2000 when the user stopped.
// Coordinates are millimetres of the document; z is the depth below the surface, positive into
// the material.
#pragma once

namespace panel {

class MotionPrimitives {
 public:
  virtual ~MotionPrimitives() = default;

  // Travel to (x, y) at the safety height; the tool ends at the surface.
  virtual void cncMoveTo(double x, double y) = 0;
  // Straight move; speed index 0 plunge (start frequency), 1 cut, 2 rapid.
  virtual void cncLineTo(int speedIndex, double x, double y, double z) = 0;
  // Arc as a chain of straight cuts; direction 1 clockwise, 0 counter-clockwise; angles in degrees.
  virtual void cncKreisLineTo(int direction, double cx, double cy, double radius, double startAngle, double endAngle,
                              double z) = 0;
  virtual void cncBohrspindel(int on) = 0;
  virtual void cncKuehlmittelpumpe(int on) = 0;
  virtual void cncAbsaugung(int on) = 0;
  // 1 raises a plot's pen, 0 lowers it.
  virtual void cncStiftHebenSenken(int raise) = 0;
  // Heights of a plot's pen in mm below the surface, set by the plot before it mills.
  virtual void setStiftHoehen(double penUp, double penDown) = 0;
  virtual void cncGotoWSNullpunkt() = 0;
  virtual void cncGotoParkposition() = 0;
  // Spindle, coolant pump and extraction off whatever their check boxes say: the end of a stopped
  // or failed job, which may have switched them on otherwise (a command file's own lines). Each
  // output is tried; the first failure is thrown after all three were tried. This default, for
  // primitives without a controller, switches them through the three primitives.
  virtual void allOutputsOff() {
    cncBohrspindel(0);
    cncKuehlmittelpumpe(0);
    cncAbsaugung(0);
  }

  // Throws 2000 when the user has asked to stop, clearing the request: for walks that may go on
  // for a long time without a single move.
  virtual void checkStopRequest() = 0;
  // In a simulation, after a cut that the caller has drawn itself (the format modules' runs):
  // shows the bitmap and waits the simulation pace. Moves nothing and writes no trace line.
  virtual void simulationPause() = 0;
};

}  // namespace panel
