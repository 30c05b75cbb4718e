// The Kyro microcontroller unit (controller type 3): the shared synchronous transfer with a
// speed table of eleven slots, a homing speed kept for the homing run, the u axis mode and four
// outputs. It has no drive-signal, step-mode, z-mode, homing-axis or reference-offset settings.
//
// Thread context: as SyncSerialModule.
#pragma once

#include "machine/sync/SyncSerialModule.h"

namespace machine {

class TKyro final : public SyncSerialModule {
 public:
  static constexpr SyncModuleTraits kTraits{"Vorudoz", "Kyro Mikrocontroller-Unit", 10, 256};

  TKyro(platform::UiServices& ui, platform::GuiDispatcher& gui, platform::Clock& clock)
      : SyncSerialModule(kTraits, ui, gui, clock) {}

  void Ansteuersignale_einstellen(int) override {}
  void Schrittbetrieb_einstellen(int) override {}
  void Z_Achse_einstellen(int) override {}
  void U_Achse_einstellen(int mode) override;
  // Only kept: the homing run sends it.
  void Referenzgeschwindigkeit_einstellen(int hz) override;
  void ReferenzGeschwindigkeit_einstellen(int hz) override { Referenzgeschwindigkeit_einstellen(hz); }
  void Referenzachse_einstellen(char, int) override {}
  void Referenzoffset_einstellen(char, int) override {}
  // Outputs 1-4 ("A1," ... "A4,", 12 and 13 as 1 and 2) followed by "1" or "0".
  void Ausgangssignal_setzen(int number, int value) override;

  int uBetrieb() const { return uBetrieb_; }

 private:
  int uBetrieb_ = 0;
};

}  // namespace machine
