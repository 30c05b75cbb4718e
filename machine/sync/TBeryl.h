// The Beryl stepper-motor interface (controller type 2): the shared synchronous transfer with
// Beryl's own settings (drive signal, step mode, z mode, homing speed and axes, reference
// offsets) and its one output.
//
// Thread context: as SyncSerialModule.
#pragma once

#include "machine/sync/SyncSerialModule.h"

namespace machine {

class TBeryl final : public SyncSerialModule {
 public:
  static constexpr SyncModuleTraits kTraits{"Korund-Beryl", "Beryl Mikrocontroller-Unit", 100, 32};

  TBeryl(platform::UiServices& ui, platform::GuiDispatcher& gui, platform::Clock& clock)
      : SyncSerialModule(kTraits, ui, gui, clock) {}

  void Ansteuersignale_einstellen(int kind) override;
  void Schrittbetrieb_einstellen(int mode) override;
  void Z_Achse_einstellen(int mode) override;
  // Beryl has no u axis setting.
  void U_Achse_einstellen(int) override {}
  // Both spellings send the homing speed "#E9,n".
  void ReferenzGeschwindigkeit_einstellen(int hz) override;
  void Referenzgeschwindigkeit_einstellen(int hz) override { ReferenzGeschwindigkeit_einstellen(hz); }
  void Referenzachse_einstellen(char axis, int value) override;
  void Referenzoffset_einstellen(char axis, int steps) override;
  // Outputs 1 and 15 switch "A1"/"A0", output 17 the inverse; any other number is refused.
  void Ausgangssignal_setzen(int number, int value) override;

  int ansteuersignal() const { return ansteuersignal_; }
  int schrittbetrieb() const { return schrittbetrieb_; }
  int zBetrieb() const { return zBetrieb_; }
  int referenzachse() const { return referenzachse_; }

 private:
  int ansteuersignal_ = 0;
  int schrittbetrieb_ = 0;
  int zBetrieb_ = 0;
  int referenzachse_ = 0;
};

}  // namespace machine
