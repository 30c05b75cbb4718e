// The phase-pattern back-end `TGarnet` for the stepper card "Garnet/Jasper" on the parallel port
// (controller type 0): three axes driven by coil patterns that are clocked into the card per
// channel, speeds up to 5000 steps per second, half or full step, and a holding current that the
// motors are switched to 500 ms after the last move. The z channel can serve as a relay instead.
//
// Thread context and ownership: as LptBackend. The holding current is put out by the generator
// thread itself, so that it never falls between the pattern bytes of a move. Creating the object
// opens the port access and sets half step.
#pragma once

#include <atomic>

#include "machine/lpt/LptBackend.h"

namespace machine {

class TGarnet final : public LptBackend {
 public:
  TGarnet(std::unique_ptr<platform::PortIo> io, platform::Clock& clock, platform::UiServices& ui,
          platform::GuiDispatcher& gui);
  ~TGarnet() override;

  void OnCreate();
  // Claims the port; pin 11 alone, active high, as limit input; 5000 steps per second.
  bool Steuerung_verbinden(const std::string& portText) override;
  std::string Version_abfragen() override;
  void Schrittbetrieb_einstellen(int schrittbetrieb, int ruhestrom) override;
  void Endgeschwindigkeit_einstellen(int speedIndex, int hz) override;
  void Referenzgeschwindigkeit_einstellen(int hz) override;
  // Homes x, y or z (the first letter); other letters nothing.
  MoveOutcome Referenzfahrt_ausfuehren(const std::string& axes) override;
  // A relative move; the holding current follows 500 ms after it unless another move comes first.
  MoveOutcome Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z) override;
  // 1 or 15: z is an axis again, pin 14; 11: the z channel's relay; other numbers a box.
  void Ausgangssignal_setzen(int number, int value) override;

  // The holding-current timer: runs once, 500 ms after it was started.
  void TimerOnTimer();

 private:
  void timerStart();
  void timerStop();

  std::string version_;
  int schrittbetrieb_ = 0;
  std::atomic<bool> zAsAxis_{true};
};

}  // namespace machine
