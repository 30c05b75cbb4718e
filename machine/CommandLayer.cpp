// The controller operations: trace line first, then the dispatch on the controller type to the
// back-end that serves it; the millimetre/step conversions; the stop check after moves.
#include "CommandLayer.h"

#include <cmath>
#include <exception>
#include <initializer_list>
#include <optional>

#include "ControllerFamily.h"
#include "FailureCodes.h"
#include "StepRange.h"
#include "TraceFormat.h"
#include "TraceLog.h"
#include "platform/NumberFormat.h"

namespace machine {

namespace {

constexpr char kNak = 0x15;
constexpr int kExecuteFlag = 1;
constexpr int kStoreOnlyTerminator = 13;  // CR: the synchronous module stores without waiting
constexpr int kPenRelayOutput = 122;      // 'z': Beryl's pen relay in plotter mode
constexpr int kWaitWithoutLimit = -1;

std::string traceText(const char* name, std::initializer_list<std::string> args) {
  std::string text = std::string(name) + "(";
  bool first = true;
  for (const auto& arg : args) {
    if (!first) text += ',';
    text += arg;
    first = false;
  }
  return text + ")";
}

std::string num(int value) { return platform::formatInt(value); }

// The back-end of a parallel-port or synchronous serial type; the pairs share one interface.
ParallelPortBackend& parallelBackend(ControllerBackends& b, ControllerFamily f) {
  return f == ControllerFamily::Garnet ? requiredBackend(b.Garnet) : requiredBackend(b.TaktRicht);
}
SyncSerialBackend& syncBackend(ControllerBackends& b, ControllerFamily f) {
  return f == ControllerFamily::Beryl ? requiredBackend(b.Beryl) : requiredBackend(b.Kyro);
}
ParallelPortBackend* parallelOrNull(ControllerBackends& b, ControllerFamily f) {
  return f == ControllerFamily::Garnet ? b.Garnet.get() : b.TaktRicht.get();
}
SyncSerialBackend* syncOrNull(ControllerBackends& b, ControllerFamily f) {
  return f == ControllerFamily::Beryl ? b.Beryl.get() : b.Kyro.get();
}

// A NAK to a move or homing command means the motion has started and a final answer follows;
// in program-store mode the answer is ACK and there is nothing to wait for.
void awaitFinalAnswer(ProtocolBackend& protocol) {
  if (protocol.letzteAntwortBeginn() == kNak) protocol.WaitResp(kWaitWithoutLimit);
}

struct AxisGeometry {
  double uebersetz;  // mm per motor revolution
  double motStep;    // motor steps per revolution
};

std::optional<AxisGeometry> axisGeometry(const Maschinenparameter& p, char lowerAxis) {
  switch (lowerAxis) {
    case 'x':
      return AxisGeometry{p.xUebersetz, static_cast<double>(p.xMotStep)};
    case 'y':
      return AxisGeometry{p.yUebersetz, static_cast<double>(p.yMotStep)};
    case 'z':
      return AxisGeometry{p.zUebersetz, static_cast<double>(p.zMotStep)};
    case 'u':
      return AxisGeometry{p.uUebersetz, static_cast<double>(p.uMotStep)};
    default:
      return std::nullopt;
  }
}

char lowerAxisLetter(char axis) { return (axis >= 'A' && axis <= 'Z') ? static_cast<char>(axis - 'A' + 'a') : axis; }

// The reference offset is rounded up, not truncated, so that the axis always clears its switch;
// only the lower-case letters name an axis here.
int referenceOffsetSteps(const Maschinenparameter& p, char axis, double mm) {
  const auto g = axisGeometry(p, axis);
  if (!g || g->uebersetz == 0.0) return 0;
  return platform::saturatingTrunc(std::ceil(mm / g->uebersetz * g->motStep));
}

}  // namespace

CommandLayer::CommandLayer(Maschinenparameter& params, ControllerBackends& backends, std::atomic<bool>& bAbbruch)
    : params_(params), backends_(backends), bAbbruch_(bAbbruch) {}

void CommandLayer::stopCheck() {
  // exchange clears the request in the same step that reads it, so a stop is reported once.
  if (bAbbruch_.exchange(false)) throw USER_ABORT;
}

void CommandLayer::parallelOutcome(MoveOutcome outcome) {
  // A move that did not reach its target must not pass for done: the job would go on with its
  // cuts offset. The user's stop takes precedence, and a move cut short by a stop request ends
  // the job as that stop, whether or not the request reached the job itself.
  if (outcome == MoveOutcome::Stopped || outcome == MoveOutcome::NotStarted) bAbbruch_.store(true);
  stopCheck();
  // The back-end has beeped or shown its box; the failure helper adds nothing for these types.
  if (outcome == MoveOutcome::Refused) throw MOVE_REFUSED;
  if (outcome == MoveOutcome::LimitSwitch) throw LIMIT_SWITCH_STOP;
}

void CommandLayer::Reset_durchfuehren() {
  Protokoll_schreiben("Reset_durchfuehren()");
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      parallelBackend(backends_, f).Reset_durchfuehren();
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
      syncBackend(backends_, f).Reset_durchfuehren();
      break;
    case ControllerFamily::Protocol:
      requiredBackend(backends_.zelkoCOM).Reset();
      break;
    case ControllerFamily::None:
      break;
  }
}

void CommandLayer::Version_abfragen() {
  Protokoll_schreiben("Version_abfragen()");
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
      setVerbindungstext(params_, requiredBackend(backends_.Garnet).Version_abfragen());
      break;
    case ControllerFamily::TaktRicht: {
      // The step/direction controllers cannot identify themselves; the type names the model.
      requiredBackend(backends_.TaktRicht).Version_abfragen();
      const char* model = params_.Modul == 1 ? "Zircon" : params_.Modul == 4 ? "Takt/Richtung" : "Onyx";
      setVerbindungstext(params_, model);
      break;
    }
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro: {
      // A unit that does not name itself as the configured model is not taken for connected: the
      // connection step then stays unconnected, and the connection text as it was.
      const auto version = syncBackend(backends_, f).Version_abfragen();
      if (!version) throw COMMUNICATION_ERROR;
      setVerbindungstext(params_, *version);
      break;
    }
    case ControllerFamily::Protocol:
      setVerbindungstext(params_, requiredBackend(backends_.zelkoCOM).Version_abfragen());
      break;
    case ControllerFamily::None:
      break;
  }
}

int CommandLayer::Position_abfragen(char axis) {
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      if (auto* b = parallelOrNull(backends_, f)) return b->Position_abfragen(axis);
      return 0;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
      if (auto* b = syncOrNull(backends_, f)) return b->Wert_abfragen(axis);
      return 0;
    case ControllerFamily::Protocol:
      return backends_.zelkoCOM ? backends_.zelkoCOM->Wert_lesen(axis) : 0;
    case ControllerFamily::None:
      return 0;
  }
  return 0;
}

double CommandLayer::Position_mm_abfragen(char axis) { return Schritte_in_mm(axis, Position_abfragen(axis)); }

void CommandLayer::Ansteuersignale_einstellen() {
  Protokoll_schreiben("Ansteuersignale_einstellen()");
  switch (familyOf(params_.Modul)) {
    case ControllerFamily::Beryl:
      requiredBackend(backends_.Beryl).Ansteuersignale_einstellen(params_.Steuersignal);
      break;
    case ControllerFamily::Protocol: {
      // Only the USB-Beryl and the USB-IO-Garnet can switch their signal kind; the others are
      // always driven with step and direction.
      const bool selectable = params_.Modul == 6 || params_.Modul == 10;
      requiredBackend(backends_.zelkoCOM).Ansteuersignale_einstellen(selectable ? params_.Steuersignal : 1);
      break;
    }
    default:
      break;
  }
}

void CommandLayer::Schrittbetrieb_einstellen() {
  Protokoll_schreiben("Schrittbetrieb_einstellen()");
  switch (familyOf(params_.Modul)) {
    case ControllerFamily::Garnet:
      requiredBackend(backends_.Garnet).Schrittbetrieb_einstellen(params_.Schrittbetrieb, params_.Ruhestrom);
      break;
    case ControllerFamily::Beryl:
      requiredBackend(backends_.Beryl).Schrittbetrieb_einstellen(params_.Schrittbetrieb);
      break;
    case ControllerFamily::Protocol:
      // Half or full step applies only to the phase-signal drive of the USB-Beryl and USB-IO-Garnet.
      if ((params_.Modul == 6 || params_.Modul == 10) && params_.Steuersignal == 0)
        requiredBackend(backends_.zelkoCOM)
            .Halb_Vollschrittbetrieb_einstellen(params_.Schrittbetrieb, params_.Ruhestrom);
      break;
    default:
      break;
  }
}

void CommandLayer::Z_Achse_einstellen() {
  Protokoll_schreiben("Z_Achse_einstellen()");
  if (familyOf(params_.Modul) == ControllerFamily::Beryl)
    requiredBackend(backends_.Beryl).Z_Achse_einstellen(params_.ZBetrieb);
}

void CommandLayer::U_Achse_einstellen() {
  Protokoll_schreiben("U_Achse_einstellen()");
  if (familyOf(params_.Modul) == ControllerFamily::Kyro)
    requiredBackend(backends_.Kyro).U_Achse_einstellen(params_.UBetrieb);
}

void CommandLayer::Startgeschwindigkeit_einstellen(int hz) {
  Protokoll_schreiben(traceText("Startgeschwindigkeit_einstellen", {num(hz)}));
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      parallelBackend(backends_, f).Startgeschwindigkeit_einstellen(hz);
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
      syncBackend(backends_, f).Startgeschwindigkeit_einstellen(hz);
      break;
    case ControllerFamily::Protocol:
      requiredBackend(backends_.zelkoCOM).Startgeschwindigkeit_einstellen(hz);
      break;
    case ControllerFamily::None:
      break;
  }
}

void CommandLayer::Endgeschwindigkeit_einstellen(int speedIndex, int hz) {
  Protokoll_schreiben(traceText("Endgeschwindigkeit_einstellen", {num(speedIndex), num(hz)}));
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      parallelBackend(backends_, f).Endgeschwindigkeit_einstellen(speedIndex, hz);
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
      syncBackend(backends_, f).Endgeschwindigkeit_einstellen(speedIndex, hz);
      break;
    case ControllerFamily::Protocol:
      requiredBackend(backends_.zelkoCOM).Endgeschwindigkeit_einstellen(speedIndex, hz);
      break;
    case ControllerFamily::None:
      break;
  }
}

void CommandLayer::Rampenlaenge_einstellen(int ms) {
  Protokoll_schreiben(traceText("Rampenlaenge_einstellen", {num(ms)}));
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      parallelBackend(backends_, f).Rampenlaenge_einstellen(ms);
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
      syncBackend(backends_, f).Rampenlaenge_einstellen(ms);
      break;
    case ControllerFamily::Protocol:
      requiredBackend(backends_.zelkoCOM).Rampenlaenge_einstellen(ms);
      break;
    case ControllerFamily::None:
      break;
  }
}

void CommandLayer::Referenzgeschwindigkeit_einstellen(int hz) {
  Protokoll_schreiben(traceText("Referenzgeschwindigkeit_einstellen", {num(hz)}));
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      parallelBackend(backends_, f).Referenzgeschwindigkeit_einstellen(hz);
      break;
    case ControllerFamily::Beryl: {
      // Beryl takes the speed and then a homing setting per axis.
      auto& beryl = requiredBackend(backends_.Beryl);
      beryl.ReferenzGeschwindigkeit_einstellen(hz);
      beryl.Referenzachse_einstellen('x', 0);
      beryl.Referenzachse_einstellen('y', 0);
      beryl.Referenzachse_einstellen('z', 0);
      break;
    }
    case ControllerFamily::Kyro:
      requiredBackend(backends_.Kyro).Referenzgeschwindigkeit_einstellen(hz);
      break;
    case ControllerFamily::Protocol:
      requiredBackend(backends_.zelkoCOM).Referenzgeschwindigkeit_einstellen(hz);
      break;
    case ControllerFamily::None:
      break;
  }
}

void CommandLayer::Referenzoffset_einstellen(char axis, double mm) {
  Protokoll_schreiben(traceText("Referenzoffset_einstellen", {std::string(1, axis), generalNumberText(mm)}));
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      parallelBackend(backends_, f).Referenzoffset_einstellen(axis, referenceOffsetSteps(params_, axis, mm));
      break;
    case ControllerFamily::Beryl:
      requiredBackend(backends_.Beryl).Referenzoffset_einstellen(axis, referenceOffsetSteps(params_, axis, mm));
      break;
    case ControllerFamily::Protocol:
      requiredBackend(backends_.zelkoCOM).Referenzoffset_einstellen(axis, referenceOffsetSteps(params_, axis, mm));
      break;
    case ControllerFamily::Kyro:
    case ControllerFamily::None:
      break;
  }
}

void CommandLayer::Referenzfahrt_ausfuehren(const std::string& axes) {
  Protokoll_schreiben(traceText("Referenzfahrt_ausfuehren", {axes}));
  // A stop that stands already ends this homing run before it is sent: the step generator only
  // obeys stops made while it moves, and a serial controller that stands has nothing to halt.
  stopCheck();
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      parallelOutcome(parallelBackend(backends_, f).Referenzfahrt_ausfuehren(axes));
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
      syncBackend(backends_, f).Referenzfahrt_ausfuehren(axes);
      break;
    case ControllerFamily::Protocol: {
      auto& protocol = requiredBackend(backends_.zelkoCOM);
      protocol.Referenzfahrt_ausfuehren(axes);
      awaitFinalAnswer(protocol);
      break;
    }
    case ControllerFamily::None:
      break;
  }
  stopCheck();
}

void CommandLayer::Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z, int execute) {
  Protokoll_schreiben("Vektorfahrt_ausfuehren(" + num(mode) + "," + num(speedIndex) + "," + rightAligned(x, 5) + "," +
                      rightAligned(y, 5) + "," + rightAligned(z, 5) + "," + num(execute) + ")");
  // Whoever asks for it, no move leaves with a count or target the controllers cannot take.
  checkedSteps(x);
  checkedSteps(y);
  checkedSteps(z);
  // A relative move of nothing is not sent; an absolute one still names a target.
  const bool nothingToMove = mode != 0 && x == 0 && y == 0 && z == 0;
  // A stop pressed while the job stood between two moves (its halt reached a standing machine)
  // must end the job before this move is sent, on every controller type; otherwise the move
  // would run its whole length first.
  stopCheck();
  const auto f = nothingToMove ? ControllerFamily::None : familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      parallelOutcome(parallelBackend(backends_, f).Vektorfahrt_ausfuehren(mode, speedIndex, x, y, z));
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro: {
      auto& sync = syncBackend(backends_, f);
      sync.Vektorfahrt_ausfuehren(mode, speedIndex, x, y, z, execute);
      if (execute == kExecuteFlag) sync.Warten_bis_bereit();
      break;
    }
    case ControllerFamily::Protocol: {
      auto& protocol = requiredBackend(backends_.zelkoCOM);
      protocol.Vektorfahrt_ausfuehren(mode, speedIndex, x, y, z);
      awaitFinalAnswer(protocol);
      break;
    }
    case ControllerFamily::None:
      break;
  }
  stopCheck();
}

void CommandLayer::Achsen_anhalten() {
  // The stop request comes first: the move that the stop ends may deliver its final answer to the
  // running job before the controller's answer to the stop has been taken here, and the job must
  // find the request at the stop check right after that move. It also stands when the stop
  // itself fails.
  bAbbruch_.store(true);
  haltAxes();
}

void CommandLayer::haltAxes() {
  Protokoll_schreiben("Achsen_anhalten()");
  // A missing back-end has no motion to stop.
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      if (auto* b = parallelOrNull(backends_, f)) b->Achsen_anhalten();
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
      if (auto* b = syncOrNull(backends_, f)) b->Achsen_anhalten();
      break;
    case ControllerFamily::Protocol:
      if (backends_.zelkoCOM) backends_.zelkoCOM->Achsen_anhalten();
      break;
    case ControllerFamily::None:
      break;
  }
}

bool CommandLayer::Verbindung_offen() const {
  if (familyOf(params_.Modul) != ControllerFamily::Protocol) return true;
  return backends_.zelkoCOM && backends_.zelkoCOM->linkOpen();
}

void CommandLayer::Achsen_sofort_stoppen() {
  Protokoll_schreiben("Achsen_sofort_stoppen()");
  const auto f = familyOf(params_.Modul);
  switch (f) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      if (auto* b = parallelOrNull(backends_, f)) {
        // The parallel-port types home one axis per call. As with the decelerated stop, the
        // request comes first, so that the homing dialog's cancel ends the whole sequence at the
        // stop check of the run it cuts short, not just that axis.
        bAbbruch_.store(true);
        b->Achsen_sofort_stoppen();
      }
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
      if (auto* b = syncOrNull(backends_, f)) b->Achsen_sofort_stoppen();
      break;
    case ControllerFamily::Protocol:
      if (backends_.zelkoCOM) backends_.zelkoCOM->Achsen_sofort_stoppen();
      break;
    case ControllerFamily::None:
      break;
  }
}

void CommandLayer::Ausgangssignal_setzen(int number, int value) {
  Protokoll_schreiben(traceText("Ausgangssignal_setzen", {num(number), num(value)}));
  const bool firstTwoOutputs = number == 0 || number == 1;
  switch (familyOf(params_.Modul)) {
    case ControllerFamily::Garnet:
      if (firstTwoOutputs) requiredBackend(backends_.Garnet).Ausgangssignal_setzen(number, value);
      break;
    case ControllerFamily::TaktRicht:
      requiredBackend(backends_.TaktRicht).Ausgangssignal_setzen(number, value);
      break;
    case ControllerFamily::Beryl:
      if (number == 1) {
        requiredBackend(backends_.Beryl).Ausgangssignal_setzen(number, value);
      } else if (number == kPenRelayOutput) {
        // In plotter mode the pen hangs on the z drive: one step down or up, only stored; the
        // caller's Befehle_ausfuehren executes it.
        requiredBackend(backends_.Beryl).Vektorfahrt_ausfuehren(1, 0, 0, 0, value == 1 ? 1 : -1, kStoreOnlyTerminator);
      }
      break;
    case ControllerFamily::Kyro:
      if (firstTwoOutputs) requiredBackend(backends_.Kyro).Ausgangssignal_setzen(number, value);
      break;
    case ControllerFamily::Protocol:
      requiredBackend(backends_.zelkoCOM).Ausgangssignal_setzen(number, value);
      break;
    case ControllerFamily::None:
      break;
  }
}

void CommandLayer::allOutputsOff() {
  // One output that fails must not leave the others on.
  std::exception_ptr first;
  for (const int number : {1, 2, 3}) {
    try {
      Ausgangssignal_setzen(number, 0);
      Befehle_ausfuehren();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

void CommandLayer::Programmdurchlaeufe_hinterlegen(int count) {
  Protokoll_schreiben(traceText("Programmdurchlaeufe_hinterlegen", {num(count)}));
  // Only the controllers with a program memory keep a pass count.
  if (params_.Modul == 5 || params_.Modul == 6)
    requiredBackend(backends_.zelkoCOM).Programmdurchlaeufe_hinterlegen(count);
}

void CommandLayer::Befehle_ausfuehren() {
  const auto f = familyOf(params_.Modul);
  if (f != ControllerFamily::Beryl && f != ControllerFamily::Kyro) return;
  // The empty command ended by the execute byte runs what was stored before it.
  auto& sync = syncBackend(backends_, f);
  sync.Befehl_senden("", kExecuteFlag);
  sync.Antwort_lesen();
  sync.Warten_bis_bereit();
}

void CommandLayer::Warten_bis_bereit() {
  const auto f = familyOf(params_.Modul);
  if (f == ControllerFamily::Beryl || f == ControllerFamily::Kyro) syncBackend(backends_, f).Warten_bis_bereit();
}

bool CommandLayer::Eingang_abfragen(int pin) {
  const auto f = familyOf(params_.Modul);
  if (f != ControllerFamily::Garnet && f != ControllerFamily::TaktRicht) return false;
  auto* b = parallelOrNull(backends_, f);
  return b != nullptr && b->Eingang_abfragen(pin);
}

int CommandLayer::mm_in_Schritte(char axis, double mm) const {
  const auto g = axisGeometry(params_, lowerAxisLetter(axis));
  if (!g || g->uebersetz == 0.0) return 0;
  return platform::saturatingTrunc(g->motStep * mm / g->uebersetz);
}

double CommandLayer::Schritte_in_mm(char axis, int steps) const {
  const auto g = axisGeometry(params_, lowerAxisLetter(axis));
  if (!g || g->motStep == 0.0) return 0.0;
  return steps * g->uebersetz / g->motStep;
}

}  // namespace machine
