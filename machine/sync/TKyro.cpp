// Kyro's u axis mode, homing speed and outputs.
#include "TKyro.h"

namespace machine {

void TKyro::U_Achse_einstellen(int mode) {
  uBetrieb_ = mode;
  einstellen(mode != 0 ? "U1" : "U0");
}

void TKyro::Referenzgeschwindigkeit_einstellen(int hz) {
  if (hz > kMaxFrequenz) {
    warnung("unzulässiger Wert für RefFreq", "Referenzgeschwindigkeit_einstellen()");
    hz = kMaxFrequenz;
  }
  setReferenzgeschwindigkeit(hz);
}

void TKyro::Ausgangssignal_setzen(int number, int value) {
  Warten_bis_bereit();
  const char* output = nullptr;
  switch (number) {
    case 1:
    case 12:
      output = "A1,";
      break;
    case 2:
    case 13:
      output = "A2,";
      break;
    case 3:
      output = "A3,";
      break;
    case 4:
      output = "A4,";
      break;
    default:
      warnung("Ausgangssignal_setzen()", "F E H L E R");
      return;
  }
  Befehl_senden(std::string(output) + (value != 0 ? "1" : "0"), kSyncCr);
  Antwort_lesen();
}

}  // namespace machine
