// What the two parallel-port back-ends share: the unit with its generator thread, the speed
// settings (start frequency, a table of ten working and rapid frequencies, ramp, homing speed),
// the homing offsets and the positions counted from the moves, and the operations that differ
// only in their limits.
//
// Thread context: as ParallelPortBackend. Positions may be read from any thread. Boxes wait for
// the user; tones are posted. The UI services, the dispatcher and the clock must outlive the
// object; it owns its port access.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "machine/ParallelPortBackend.h"
#include "machine/lpt/LptUi.h"
#include "machine/lpt/LptUnit.h"
#include "platform/Clock.h"
#include "platform/GuiDispatcher.h"
#include "platform/PortIo.h"
#include "platform/UiServices.h"

namespace machine {

class LptBackend : public ParallelPortBackend {
 public:
  ~LptBackend() override;
  LptBackend(const LptBackend&) = delete;
  LptBackend& operator=(const LptBackend&) = delete;

  void OnDestroy() override;
  void Endschalter_konfigurieren(int fourInputs, int singleInput, int activeHigh) override;
  void Frequenzgrenzen_setzen(int maxFrequency, int pulseDivisor) override;
  void Reset_durchfuehren() override;
  // The position of one of the back-end's axes (either case); 0 for other letters.
  int Position_abfragen(char axis) override;
  void carryOverPositions(const std::array<int, 4>& steps) override;
  void Startgeschwindigkeit_einstellen(int hz) override;
  void Rampenlaenge_einstellen(int ms) override;
  void Referenzoffset_einstellen(char axis, int steps) override;
  void bindStopRequest(const std::atomic<bool>& bAbbruch) override;
  void Achsen_anhalten() override;
  void Achsen_sofort_stoppen() override;
  bool Eingang_abfragen(int pin) override;

 protected:
  static constexpr int kSpeedSlots = 10;

  // `frequencyLimit`: the highest speed the settings take; `axes`: 3 (x, y, z) or 4 (with u).
  LptBackend(std::unique_ptr<platform::PortIo> io, platform::Clock& clock, platform::UiServices& ui,
             platform::GuiDispatcher& gui, int frequencyLimit, int axes);

  // `hz`, or the limit after a warning box with `text` and `caption`.
  int limitedFrequency(int hz, const char* text, const char* caption);
  // Slot of an axis letter of this back-end (either case); -1 for other letters.
  int slotOf(char axis) const;
  // The homing run of the first letter of `axes`, if it names an axis of this back-end.
  MoveOutcome homeFirstAxis(bool stepDirection, const std::string& axes);
  // A relative move at the speed of `speedIndex` (0-9; others move nothing).
  MoveOutcome moveAt(bool stepDirection, int speedIndex, int x, int y, int z);
  void resetPositions();

  LptUi ui_;
  LptUnit unit_;
  const int frequencyLimit_;
  const int axes_;
  int startFrequency_ = 0;
  std::array<int, kSpeedSlots> speeds_{};
  int rampMs_ = 0;
  int referenceSpeed_ = 0;
  std::array<int, 4> referenceOffset_{};

 private:
  // Adds the steps of the last move or homing run; the axis that reached its reference point
  // (slot, or -1) is zeroed.
  void takeSteps(int homedSlot);

  std::array<std::atomic<int>, 4> positions_{};
};

}  // namespace machine
