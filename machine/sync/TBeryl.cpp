// Beryl's own settings and its output command.
#include "TBeryl.h"

#include "platform/NumberFormat.h"

namespace machine {

namespace {

std::string num(int value) { return platform::formatInt(value); }

}  // namespace

void TBeryl::Ansteuersignale_einstellen(int kind) {
  ansteuersignal_ = kind;
  einstellen("T" + num(kind));
}

void TBeryl::Schrittbetrieb_einstellen(int mode) {
  schrittbetrieb_ = mode;
  einstellen("F" + num(mode));
}

void TBeryl::Z_Achse_einstellen(int mode) {
  zBetrieb_ = mode;
  einstellen("Z" + num(mode));
}

void TBeryl::ReferenzGeschwindigkeit_einstellen(int hz) {
  Warten_bis_bereit();
  if (hz > kMaxFrequenz) {
    warnung("unzulässiger Wert für RefFreq", "ReferenzGeschwindigkeit_einstellen()");
    hz = kMaxFrequenz;
  }
  setReferenzgeschwindigkeit(hz);
  Befehl_senden("#E9," + num(hz), kSyncCr);
  Antwort_lesen();
}

void TBeryl::Referenzachse_einstellen(char axis, int value) {
  referenzachse_ = value;
  einstellen(std::string("#D") + axis + "," + num(value) + ",9,9,9");
}

void TBeryl::Referenzoffset_einstellen(char axis, int steps) {
  // The module expects the blank after the comma.
  einstellen(std::string("#O") + axis + ", " + num(steps));
}

void TBeryl::Ausgangssignal_setzen(int number, int value) {
  Warten_bis_bereit();
  std::string text;
  if (number == 1 || number == 15) {
    text = value != 0 ? "A1" : "A0";
  } else if (number == 17) {
    text = value == 1 ? "A0" : "A1";
  } else {
    warnung("Ausgangssignal_setzen()", "F E H L E R");
  }
  // A refused number still sends the empty command, which the module answers like any other.
  Befehl_senden(text, kSyncCr);
  Antwort_lesen();
}

}  // namespace machine
