// The step/direction back-end `TTaktRicht` for the controllers on the parallel port that take a
// step pulse and a direction level per axis (controller types 1 "Zircon", 4 "Takt/Richtung" and
// 7 "Onyx"): four axes, speeds up to 16000 steps per second (the step generator holds each type
// to its own limit), outputs on the control pins.
//
// Thread context and ownership: as LptBackend. Creating the object opens the port access.
#pragma once

#include "machine/lpt/LptBackend.h"

namespace machine {

class TTaktRicht final : public LptBackend {
 public:
  TTaktRicht(std::unique_ptr<platform::PortIo> io, platform::Clock& clock, platform::UiServices& ui,
             platform::GuiDispatcher& gui);

  void OnCreate();
  // Claims the port at the base address; the positions start at 0.
  bool Steuerung_verbinden(const std::string& portText) override;
  std::string Version_abfragen() override;
  // The step/direction controllers have no step mode.
  void Schrittbetrieb_einstellen(int, int) override {}
  void Endgeschwindigkeit_einstellen(int speedIndex, int hz) override;
  void Referenzgeschwindigkeit_einstellen(int hz) override;
  MoveOutcome Referenzfahrt_ausfuehren(const std::string& axes) override;
  MoveOutcome Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z) override;
  // Numbers 1 or 14: pin 1; 2 or 15: pin 14; 3 or 16: pin 16; 4: pin 17; others a box.
  void Ausgangssignal_setzen(int number, int value) override;

 private:
  std::string version_;
};

}  // namespace machine
