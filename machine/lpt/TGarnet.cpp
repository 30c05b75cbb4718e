// The phase-pattern back-end: its limits, step mode, homing and moves in phase form, the holding
// current after a move and the relay on the z channel.
#include "TGarnet.h"

namespace machine {

namespace {

constexpr int kFrequencyLimit = 5000;
constexpr int kPulseDivisor = 10000;
constexpr int kAxes = 3;
constexpr bool kPhasePatterns = false;
constexpr std::int64_t kHoldingDelayNanos = 500'000'000;  // the timer's 500 ms

}  // namespace

TGarnet::TGarnet(std::unique_ptr<platform::PortIo> io, platform::Clock& clock, platform::UiServices& ui,
                 platform::GuiDispatcher& gui)
    : LptBackend(std::move(io), clock, ui, gui, kFrequencyLimit, kAxes) {
  OnCreate();
}

TGarnet::~TGarnet() {
  // The planned holding output refers to this object: it goes before the object does.
  timerStop();
  unit_.Lpt_schliessen();
}

void TGarnet::OnCreate() {
  unit_.Lpt_oeffnen();
  unit_.PerformanceCounter_pruefen();
  Schrittbetrieb_einstellen(0, 0);
}

bool TGarnet::Steuerung_verbinden(const std::string& portText) {
  const bool claimed = unit_.LptAdresse_setzen(portText);
  unit_.Endschalter_konfigurieren(false, true, true);
  unit_.Frequenzgrenzen_setzen(kFrequencyLimit, kPulseDivisor);
  zAsAxis_ = true;
  resetPositions();
  return claimed;
}

std::string TGarnet::Version_abfragen() {
  version_ = "Garnet/Jasper";
  return version_;
}

void TGarnet::Schrittbetrieb_einstellen(int schrittbetrieb, int ruhestrom) {
  schrittbetrieb_ = schrittbetrieb;
  unit_.Phasentabelle_setzen(schrittbetrieb, ruhestrom);
}

void TGarnet::Endgeschwindigkeit_einstellen(int speedIndex, int hz) {
  if (speedIndex < 0 || speedIndex >= kSpeedSlots) {
    ui_.warning("unzulässiger Wert für index", "Endgeschwindigkeit_einstellen()");
    return;
  }
  speeds_[static_cast<std::size_t>(speedIndex)] =
      limitedFrequency(hz, "unzulässiger Wert für Arbeitsfreq", "Endgeschwindigkeit_einstellen()");
}

void TGarnet::Referenzgeschwindigkeit_einstellen(int hz) {
  referenceSpeed_ = limitedFrequency(hz, "unzulässiger Wert für RefFreq", "Referenzgeschwindigkeit_einstellen()");
}

MoveOutcome TGarnet::Referenzfahrt_ausfuehren(const std::string& axes) { return homeFirstAxis(kPhasePatterns, axes); }

MoveOutcome TGarnet::Vektorfahrt_ausfuehren(int /*mode*/, int speedIndex, int x, int y, int z) {
  if (speedIndex < 0 || speedIndex >= kSpeedSlots) return MoveOutcome::Done;
  timerStop();
  const MoveOutcome outcome = moveAt(kPhasePatterns, speedIndex, x, y, z);
  timerStart();
  return outcome;
}

void TGarnet::Ausgangssignal_setzen(int number, int value) {
  switch (number) {
    case 1:
    case 15:
      zAsAxis_ = true;
      unit_.LptAusgang_setzen(14, value != 0);
      break;
    case 11:
      zAsAxis_ = false;
      unit_.Relais_setzen(value != 0);
      break;
    default:
      ui_.warning("Ausgangssignal_setzen()", kLptFehlerTitel);
      break;
  }
}

void TGarnet::TimerOnTimer() {
  timerStop();
  unit_.Haltestrom_ausgeben(zAsAxis_);
}

void TGarnet::timerStart() {
  unit_.scheduleIdleTask(unit_.clock().nowNanos() + kHoldingDelayNanos, [this] { TimerOnTimer(); });
}

void TGarnet::timerStop() { unit_.cancelIdleTask(); }

}  // namespace machine
