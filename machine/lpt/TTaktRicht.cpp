// The step/direction back-end: its limits, its homing and moves in step/direction form, and the
// output numbers on the control pins.
#include "TTaktRicht.h"

namespace machine {

namespace {

constexpr int kFrequencyLimit = 16000;
constexpr int kAxes = 4;
constexpr bool kStepDirection = true;

}  // namespace

TTaktRicht::TTaktRicht(std::unique_ptr<platform::PortIo> io, platform::Clock& clock, platform::UiServices& ui,
                       platform::GuiDispatcher& gui)
    : LptBackend(std::move(io), clock, ui, gui, kFrequencyLimit, kAxes) {
  OnCreate();
}

void TTaktRicht::OnCreate() {
  unit_.Lpt_oeffnen();
  unit_.PerformanceCounter_pruefen();
}

bool TTaktRicht::Steuerung_verbinden(const std::string& portText) {
  const bool claimed = unit_.LptAdresse_setzen(portText);
  resetPositions();
  return claimed;
}

std::string TTaktRicht::Version_abfragen() {
  version_ = "Takt/Richtung";
  return version_;
}

void TTaktRicht::Endgeschwindigkeit_einstellen(int speedIndex, int hz) {
  if (speedIndex < 0 || speedIndex >= kSpeedSlots) return;
  speeds_[static_cast<std::size_t>(speedIndex)] =
      limitedFrequency(hz, "unzulässiger Wert für Arbeitsfreq", "Endgeschwindigkeit_einstellen()");
}

void TTaktRicht::Referenzgeschwindigkeit_einstellen(int hz) {
  referenceSpeed_ = limitedFrequency(hz, "unzulässiger Wert für RefFreq", "ReferenzGeschwindigkeit_einstellen()");
}

MoveOutcome TTaktRicht::Referenzfahrt_ausfuehren(const std::string& axes) {
  return homeFirstAxis(kStepDirection, axes);
}

MoveOutcome TTaktRicht::Vektorfahrt_ausfuehren(int /*mode*/, int speedIndex, int x, int y, int z) {
  return moveAt(kStepDirection, speedIndex, x, y, z);
}

void TTaktRicht::Ausgangssignal_setzen(int number, int value) {
  int pin = 0;
  switch (number) {
    case 1:
    case 14:
      pin = 1;
      break;
    case 2:
    case 15:
      pin = 14;
      break;
    case 3:
    case 16:
      pin = 16;
      break;
    case 4:
      pin = 17;
      break;
    default:
      ui_.warning("Ausgangssignal_setzen()", kLptFehlerTitel);
      return;
  }
  unit_.LptAusgang_setzen(pin, value != 0);
}

}  // namespace machine
