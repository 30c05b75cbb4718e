// Motion primitives: drawing, simulation pacing, and the machine moves in steps.
#include "CncMotion.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <utility>

#include "machine/FailureCodes.h"
#include "machine/StepRange.h"
#include "machine/TraceLog.h"
#include "panel/PanelView.h"
#include "platform/NumberFormat.h"

namespace panel {

using machine::checkedSteps;

namespace {

constexpr int kAbsolut = 0;
constexpr int kRelativ = 1;
constexpr int kNichtBewegen = 99999;
constexpr int kEilgang = 2;
constexpr std::int64_t kAusgangWartezeitMs = 2000;

std::string f2(double v) { return platform::formatFixed(v, 2); }

// printf's "%4d": right-aligned in at least four places.
std::string d4(int v) {
  std::string s = std::to_string(v);
  if (s.size() < 4) s.insert(0, 4 - s.size(), ' ');
  return s;
}

}  // namespace

double arcStepDegrees(double radius) {
  for (int step = 10; step >= 2; step -= 2) {
    if (radius * (step * std::numbers::pi / 180.0) < 3.0) return step;
  }
  return 2.0;
}

CncMotion::CncMotion(const TMainFormState& form, MotionEnvironment environment)
    : form_(form), env_(std::move(environment)) {}

void CncMotion::setStiftHoehen(double penUp, double penDown) {
  penUp_ = penUp;
  penDown_ = penDown;
}

bool CncMotion::simulating() const { return form_.SimulationslaufCheckBox.Checked; }

bool CncMotion::recording() const { return env_.bAusgabeInFestwertspeicher.load(); }

void CncMotion::checkStopRequest() {
  if (env_.bAbbruch.exchange(false)) throw machine::USER_ABORT;
}

void CncMotion::simulationPause() {
  if (env_.copyToScreen) env_.copyToScreen();
  env_.clock.sleepMillis(env_.Simulationspause.load());
}

void CncMotion::simulatedMoveDone() {
  checkStopRequest();
  env_.clock.sleepMillis(env_.Simulationspause.load());
}

void CncMotion::send(std::initializer_list<Move> moves) {
  for (const Move& m : moves) env_.steuerung.Vektorfahrt_ausfuehren(m.mode, m.speedIndex, m.x, m.y, m.z, 1);
}

void CncMotion::traceTargets(const char* label, int x, int y, int z) {
  machine::Protokoll_schreiben(std::string("      ") + label + " " + d4(x) + " " + d4(y) + " " + d4(z));
}

void CncMotion::cncMoveTo(double x, double y) {
  machine::CommandLayer& st = env_.steuerung;
  const machine::Maschinenparameter& p = st.params();
  const int s = st.mm_in_Schritte('z', form_.Abmessungen.Sicherheitsebene);
  machine::Protokoll_schreiben("    cncMoveTo(" + f2(x) + ", " + f2(y) + ")");
  env_.canvas.moveTo(mm2PixelX(form_.Ansicht, x), mm2PixelY(form_.Ansicht, y));
  if (simulating()) {
    simulatedMoveDone();
    return;
  }
  const int tx = st.mm_in_Schritte('x', p.xWerkstücknullpunkt + x);
  const int ty = st.mm_in_Schritte('y', p.yWerkstücknullpunkt + y);
  const int tz = st.mm_in_Schritte('z', p.zWerkstücknullpunkt - p.zWZLdelta);
  traceTargets("SOLL:Absolut", tx, ty, tz);
  // Every target, count and height on the way is checked before the first of the five moves.
  const int sx = checkedSteps(tx);
  const int sy = checkedSteps(ty);
  const int sz = checkedSteps(tz);
  const int hoch = checkedSteps(s);
  checkedSteps(std::int64_t{sz} - hoch);
  if (recording()) {
    send({{kAbsolut, 1, kNichtBewegen, kNichtBewegen, sz},
          {kRelativ, kEilgang, 0, 0, -hoch},
          {kAbsolut, kEilgang, sx, kNichtBewegen, kNichtBewegen},
          {kAbsolut, kEilgang, kNichtBewegen, sy, kNichtBewegen},
          {kRelativ, kEilgang, 0, 0, hoch}});
    return;
  }
  const int cx = st.Position_abfragen('x');
  const int cy = st.Position_abfragen('y');
  const int cz = st.Position_abfragen('z');
  traceTargets("IST:AktPos", cx, cy, cz);
  const int dx = checkedSteps(std::int64_t{sx} - cx);
  const int dy = checkedSteps(std::int64_t{sy} - cy);
  if (dx == 0 && dy == 0) return;
  const int dz = checkedSteps(std::int64_t{sz} - cz);
  // Down to the surface, up to the safety height, x, then y (never together), down again.
  send({{kRelativ, 1, 0, 0, dz},
        {kRelativ, kEilgang, 0, 0, -hoch},
        {kRelativ, kEilgang, dx, 0, 0},
        {kRelativ, kEilgang, 0, dy, 0},
        {kRelativ, kEilgang, 0, 0, hoch}});
}

void CncMotion::cncLineTo(int speedIndex, double x, double y, double z) {
  machine::Protokoll_schreiben("    cncLineTo(" + std::to_string(speedIndex) + ", " + f2(x) + ", " + f2(y) + ", " +
                               f2(z) + ")");
  const platform::Pen saved = env_.canvas.pen();
  platform::Pen cut = saved;
  cut.width = 2;
  cut.colour = form_.Farben.FarbeSchnitt;
  env_.canvas.setPen(cut);
  env_.canvas.lineTo(mm2PixelX(form_.Ansicht, x), mm2PixelY(form_.Ansicht, y));
  env_.canvas.setPen(saved);
  if (env_.copyToScreen) env_.copyToScreen();

  if (simulating()) {
    simulatedMoveDone();
    return;
  }
  machine::CommandLayer& st = env_.steuerung;
  const machine::Maschinenparameter& p = st.params();
  const int tx = st.mm_in_Schritte('x', p.xWerkstücknullpunkt + x);
  const int ty = st.mm_in_Schritte('y', p.yWerkstücknullpunkt + y);
  const int tz = st.mm_in_Schritte('z', p.zWerkstücknullpunkt + z - p.zWZLdelta);
  traceTargets("SOLL:Absolut", tx, ty, tz);
  const int sx = checkedSteps(tx);
  const int sy = checkedSteps(ty);
  const int sz = checkedSteps(tz);
  if (recording()) {
    send({{kAbsolut, speedIndex, sx, sy, sz}});
    return;
  }
  const int cx = st.Position_abfragen('x');
  const int cy = st.Position_abfragen('y');
  const int cz = st.Position_abfragen('z');
  traceTargets("IST:AktPos", cx, cy, cz);
  send({{kRelativ, speedIndex, checkedSteps(std::int64_t{sx} - cx), checkedSteps(std::int64_t{sy} - cy),
         checkedSteps(std::int64_t{sz} - cz)}});
}

void CncMotion::cncKreisLineTo(int direction, double cx, double cy, double radius, double startAngle, double endAngle,
                               double z) {
  machine::Protokoll_schreiben("    cncKreisLineTo(" + std::to_string(direction) + "," + f2(cx) + "," + f2(cy) + "," +
                               f2(radius) + "," + f2(startAngle) + "," + f2(endAngle) + "," + f2(z) + ")");
  if (!(radius > 0.0)) return;
  const bool clockwise = direction == 1;
  double start = startAngle;
  double end = endAngle;
  if (clockwise) {
    if (!(startAngle > endAngle)) start = startAngle + 360.0;
  } else if (!(startAngle < endAngle)) {
    end = endAngle + 360.0;
  }
  const double sweep = std::fabs(end - start);
  const double step = arcStepDegrees(radius);
  // Angles are counted from the start with an integer segment number rather than accumulated,
  // so the last point lands exactly on the end angle however the steps fall.
  for (long k = 1;; ++k) {
    const double advanced = static_cast<double>(k) * step;
    const bool last = advanced >= sweep;
    const double angle = last ? end : (clockwise ? start - advanced : start + advanced);
    const double a = angle * std::numbers::pi / 180.0;
    cncLineTo(1, cx + radius * std::cos(a), cy + radius * std::sin(a), z);
    if (last) break;
  }
}

void CncMotion::switchOutput(const char* name, int number, bool enabled, int on, bool waitAfterOn) {
  machine::Protokoll_schreiben(std::string(name) + "(" + std::to_string(on) + ")");
  if (simulating() || !enabled) return;
  env_.steuerung.Ausgangssignal_setzen(number, on);
  env_.steuerung.Befehle_ausfuehren();
  if (on != 0 && waitAfterOn) env_.clock.sleepMillis(kAusgangWartezeitMs);
}

void CncMotion::cncBohrspindel(int on) {
  switchOutput("cncBohrspindel", 1, form_.SpindelmotorCheckBox.Checked, on, true);
}

void CncMotion::cncKuehlmittelpumpe(int on) {
  switchOutput("cncKuehlmittelpumpe", 2, form_.KuehlmittelpumpeCheckBox.Checked, on, false);
}

void CncMotion::cncAbsaugung(int on) { switchOutput("cncAbsaugung", 3, form_.AbsaugungCheckBox.Checked, on, true); }

void CncMotion::allOutputsOff() {
  machine::Protokoll_schreiben("allOutputsOff()");
  if (!simulating()) env_.steuerung.allOutputsOff();
}

void CncMotion::cncStiftHebenSenken(int raise) {
  if (simulating()) return;
  machine::CommandLayer& st = env_.steuerung;
  const machine::Maschinenparameter& p = st.params();
  const double height = raise != 0 ? penUp_ : penDown_;
  const int tz = checkedSteps(st.mm_in_Schritte('z', p.zWerkstücknullpunkt + height - p.zWZLdelta));
  const int cz = recording() ? 0 : st.Position_abfragen('z');
  const int dz = checkedSteps(std::int64_t{tz} - cz);
  cncKuehlmittelpumpe(raise != 0 ? 0 : 1);
  if (recording()) {
    send({{kAbsolut, 1, kNichtBewegen, kNichtBewegen, tz}});
  } else {
    send({{kRelativ, 1, 0, 0, dz}});
  }
}

void CncMotion::travelTo(int targetX, int targetY, int targetZ) {
  machine::CommandLayer& st = env_.steuerung;
  const int tx = checkedSteps(targetX);
  const int ty = checkedSteps(targetY);
  const int tz = checkedSteps(targetZ);
  if (recording()) {
    send({{kAbsolut, kEilgang, kNichtBewegen, kNichtBewegen, 0},
          {kAbsolut, kEilgang, tx, kNichtBewegen, kNichtBewegen},
          {kAbsolut, kEilgang, kNichtBewegen, ty, kNichtBewegen},
          {kAbsolut, kEilgang, kNichtBewegen, kNichtBewegen, tz}});
    return;
  }
  const int cx = st.Position_abfragen('x');
  const int cy = st.Position_abfragen('y');
  const int cz = st.Position_abfragen('z');
  if (tx != cx || ty != cy) {
    // Up to machine z 0, the travel height, before any sideways move.
    send({{kRelativ, kEilgang, 0, 0, checkedSteps(-std::int64_t{cz})},
          {kRelativ, kEilgang, checkedSteps(std::int64_t{tx} - cx), 0, 0},
          {kRelativ, kEilgang, 0, checkedSteps(std::int64_t{ty} - cy), 0},
          {kRelativ, kEilgang, 0, 0, tz}});
  } else {
    send({{kRelativ, kEilgang, 0, 0, checkedSteps(std::int64_t{tz} - cz)}});
  }
}

void CncMotion::cncGotoWSNullpunkt() {
  machine::Protokoll_schreiben("cncGotoWSNullpunkt()");
  if (!simulating()) {
    machine::CommandLayer& st = env_.steuerung;
    const machine::Maschinenparameter& p = st.params();
    travelTo(st.mm_in_Schritte('x', p.xWerkstücknullpunkt), st.mm_in_Schritte('y', p.yWerkstücknullpunkt),
             st.mm_in_Schritte('z', p.zWerkstücknullpunkt - p.zWZLdelta));
  }
  machine::Protokoll_schreiben("cncGotoWSNullpunkt() :: Fertig");
}

void CncMotion::cncGotoParkposition() {
  machine::Protokoll_schreiben("cncGotoParkposition()");
  if (!simulating()) {
    machine::CommandLayer& st = env_.steuerung;
    const machine::Maschinenparameter& p = st.params();
    // The park position's z is taken as stored, without the tool-length difference.
    travelTo(st.mm_in_Schritte('x', p.xParkposition), st.mm_in_Schritte('y', p.yParkposition),
             st.mm_in_Schritte('z', p.zParkposition));
  }
  machine::Protokoll_schreiben("cncGotoParkposition() :: Fertig");
}

}  // namespace panel
