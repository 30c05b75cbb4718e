// The parallel-port unit that both parallel-port back-ends share: it opens the port access, keeps
// the port addresses, the output bit assignment, the limit-switch layout and the frequency limits,
// reads inputs, sets outputs, and has the generator thread run moves and homing runs while the
// caller waits.
//
// Thread context: configuration, moves, homing runs, outputs and inputs come from the thread that
// runs a job or the connection step (one at a time); the stops (Lpt_anhalten, Lpt_sofort_stoppen)
// and input reads may come from the GUI thread while a move runs. A move or homing run blocks
// until done. Boxes shown here wait for the user, tones are posted (LptUi).
//
// Ownership: the unit owns its port access and its generator thread; the clock and the UI must
// outlive it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "machine/MoveOutcome.h"
#include "machine/lpt/LptConfig.h"
#include "machine/lpt/LptPort.h"
#include "machine/lpt/LptUi.h"
#include "machine/lpt/StepGenerator.h"
#include "machine/lpt/TlptThread.h"
#include "platform/Clock.h"
#include "platform/PortIo.h"

namespace machine {

class LptUnit {
 public:
  LptUnit(std::unique_ptr<platform::PortIo> io, platform::Clock& clock, LptUi& ui);
  ~LptUnit();
  LptUnit(const LptUnit&) = delete;
  LptUnit& operator=(const LptUnit&) = delete;

  // Opens the port access and starts the generator thread; a box and false when there is none.
  bool Lpt_oeffnen();
  // Stops a running move at once, ends the generator thread and waits for it, then closes the
  // port access.
  void Lpt_schliessen();
  // True when the thread runs and a port has been claimed: moves are possible.
  bool bereit() const;

  bool PerformanceCounter_pruefen();
  // Base address as hexadecimal text ("378" or "0x378"). Claims the port and sets the defaults
  // (bit assignment, three inputs active low, limit stop on, 12000 steps per second, 4
  // microsecond pulses), then writes 0 to the data register. An empty text only beeps; a text
  // that is no address, or a port that cannot be claimed, shows why in a box. True when the port
  // is claimed.
  bool LptAdresse_setzen(const std::string& hexText);
  void Bitzuordnung_setzen();
  void Endschalter_konfigurieren(bool fourInputs, bool singleInput, bool activeHigh);
  void Endschalterstopp_setzen(bool on);
  void Frequenzgrenzen_setzen(int maxFrequency, int pulseDivisor);
  // Phase and holding patterns for the step mode and holding current; a box for values that do
  // not exist.
  void Phasentabelle_setzen(int stepMode, int holdingCurrent);

  // The program's stop request: while it is set, no move or homing run starts (NotStarted). It
  // must outlive the unit; null (the default) starts every command.
  void bindStopRequest(const std::atomic<bool>* bAbbruch) { standingStop_ = bAbbruch; }

  // A relative move of x, y and z; the step counters start at 0. Throws HANDLE_COM_PORT_ERROR when
  // the unit is not ready.
  MoveOutcome Lpt_Vektorfahrt(bool stepDirection, int x, int y, int z, int f0, int f1, int rampMs);
  // A homing run of one axis; the counters then hold its steps, the homed axis 0 if it reached its
  // reference point. Throws as above.
  MoveOutcome Lpt_Referenzfahrt(bool stepDirection, char axis, int offset, int f0, int f1, int rampMs);
  // The steps of the last move or homing run.
  void LptPosition_lesen(int& x, int& y, int& z, int& u) const;
  // Whether the last homing run ended at its reference point: the switch found and left, the
  // offset travelled. False after one that was stopped, refused, did not start, or never found
  // or left its switch.
  bool lastHomingReferenced() const;

  // Decelerated and immediate stop of the move in flight, each with its tone.
  void Lpt_anhalten();
  void Lpt_sofort_stoppen();

  // Holding patterns of x, y and, `withZ`, z. Generator thread only: the planned idle task.
  void Haltestrom_ausgeben(bool withZ);
  // The relay on the phase-pattern card's z channel: byte 167 (on) or 188 (off).
  void Relais_setzen(bool on);
  void LptAusgang_setzen(int pin, bool on);
  bool LptEingang_lesen(int pin);

  // The idle task of the generator thread (TlptThread::scheduleIdleTask); nothing without thread.
  void scheduleIdleTask(std::int64_t atNanos, std::function<void()> task);
  void cancelIdleTask();

  platform::Clock& clock() { return clock_; }
  LptConfig config() const;

 private:
  GeneratorResult post(const GeneratorCommand& command);

  std::unique_ptr<platform::PortIo> io_;
  platform::Clock& clock_;
  LptUi& ui_;
  LptPort port_;
  StopRequests stops_;
  StepGenerator generator_;

  mutable std::mutex configMutex_;
  LptConfig config_;
  std::array<int, kLptAxes> lastPositions_{};
  bool lastHomingReferenced_ = false;

  std::atomic<const std::atomic<bool>*> standingStop_{nullptr};
  std::atomic<bool> opened_{false};
  std::atomic<bool> claimed_{false};
  // Made once; it runs between Lpt_oeffnen and Lpt_schliessen.
  TlptThread thread_;
};

}  // namespace machine
