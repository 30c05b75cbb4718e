// The settings, positions, stops and inputs shared by the parallel-port back-ends.
#include "LptBackend.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "AxisSlot.h"

namespace machine {

namespace {

int saturatingAdd(int a, int b) {
  const std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<int>(
      std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

LptBackend::LptBackend(std::unique_ptr<platform::PortIo> io, platform::Clock& clock, platform::UiServices& ui,
                       platform::GuiDispatcher& gui, int frequencyLimit, int axes)
    : ui_(ui, gui), unit_(std::move(io), clock, ui_), frequencyLimit_(frequencyLimit), axes_(axes) {}

LptBackend::~LptBackend() = default;

void LptBackend::OnDestroy() { unit_.Lpt_schliessen(); }

void LptBackend::Endschalter_konfigurieren(int fourInputs, int singleInput, int activeHigh) {
  unit_.Endschalter_konfigurieren(fourInputs != 0, singleInput != 0, activeHigh != 0);
}

void LptBackend::Frequenzgrenzen_setzen(int maxFrequency, int pulseDivisor) {
  unit_.Frequenzgrenzen_setzen(maxFrequency, pulseDivisor);
}

void LptBackend::Reset_durchfuehren() {
  unit_.Lpt_sofort_stoppen();
  resetPositions();
}

int LptBackend::slotOf(char axis) const {
  const int slot = axisSlot(axis);
  return slot < axes_ ? slot : -1;
}

int LptBackend::Position_abfragen(char axis) {
  const int slot = slotOf(axis);
  return slot < 0 ? 0 : positions_[static_cast<std::size_t>(slot)].load();
}

void LptBackend::carryOverPositions(const std::array<int, 4>& steps) {
  for (int slot = 0; slot < axes_; ++slot)
    positions_[static_cast<std::size_t>(slot)] = steps[static_cast<std::size_t>(slot)];
}

int LptBackend::limitedFrequency(int hz, const char* text, const char* caption) {
  if (hz <= frequencyLimit_) return hz;
  ui_.warning(text, caption);
  return frequencyLimit_;
}

void LptBackend::Startgeschwindigkeit_einstellen(int hz) {
  startFrequency_ = limitedFrequency(hz, "unzulässiger Wert für Startfreq", "Startgeschwindigkeit_einstellen()");
}

void LptBackend::Rampenlaenge_einstellen(int ms) {
  // The step generator refuses ramps beyond its limit when it moves.
  rampMs_ = ms;
}

void LptBackend::Referenzoffset_einstellen(char axis, int steps) {
  const int slot = slotOf(axis);
  if (slot >= 0) referenceOffset_[static_cast<std::size_t>(slot)] = steps;
}

void LptBackend::bindStopRequest(const std::atomic<bool>& bAbbruch) { unit_.bindStopRequest(&bAbbruch); }

void LptBackend::Achsen_anhalten() { unit_.Lpt_anhalten(); }

void LptBackend::Achsen_sofort_stoppen() { unit_.Lpt_sofort_stoppen(); }

bool LptBackend::Eingang_abfragen(int pin) { return unit_.LptEingang_lesen(pin); }

MoveOutcome LptBackend::homeFirstAxis(bool stepDirection, const std::string& axes) {
  if (axes.empty()) return MoveOutcome::Done;
  const int slot = slotOf(axes[0]);
  if (slot < 0) return MoveOutcome::Done;
  const char letter = "xyzu"[slot];
  const MoveOutcome outcome =
      unit_.Lpt_Referenzfahrt(stepDirection, letter, referenceOffset_[static_cast<std::size_t>(slot)], startFrequency_,
                              referenceSpeed_, rampMs_);
  // Only a run that reached the reference point knows where the axis stands; after any other the
  // axis stands where the steps it made took it, and the next moves must start from there.
  takeSteps(unit_.lastHomingReferenced() ? slot : -1);
  return outcome;
}

MoveOutcome LptBackend::moveAt(bool stepDirection, int speedIndex, int x, int y, int z) {
  if (speedIndex < 0 || speedIndex >= kSpeedSlots) return MoveOutcome::Done;
  const MoveOutcome outcome = unit_.Lpt_Vektorfahrt(stepDirection, x, y, z, startFrequency_,
                                                    speeds_[static_cast<std::size_t>(speedIndex)], rampMs_);
  takeSteps(-1);
  return outcome;
}

void LptBackend::takeSteps(int homedSlot) {
  // A homing run moves the other axes too when it starts on a switch; those steps count.
  std::array<int, 4> steps{};
  unit_.LptPosition_lesen(steps[0], steps[1], steps[2], steps[3]);
  for (int slot = 0; slot < axes_; ++slot) {
    auto& position = positions_[static_cast<std::size_t>(slot)];
    position = slot == homedSlot ? 0 : saturatingAdd(position.load(), steps[static_cast<std::size_t>(slot)]);
  }
}

void LptBackend::resetPositions() {
  for (auto& position : positions_) position = 0;
}

}  // namespace machine
