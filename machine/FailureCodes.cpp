// Texts of the failure codes and the warning box that reports them.
#include "FailureCodes.h"

namespace machine {

namespace {

// Communication failures are shown by their names; 1004 and 1005 have none and fall through to
// the controller texts, which give "### default ###" for them.
const char* communicationName(int code) {
  switch (code) {
    case COM_PORT_ERROR:
      return "COM_PORT_ERROR";
    case HANDLE_COM_PORT_ERROR:
      return "HANDLE_COM_PORT_ERROR";
    case SEND_REQ_ERROR:
      return "SEND_REQ_ERROR";
    case COMMUNICATION_ERROR:
      return "COMMUNICATION_ERROR";
    case OUT_OF_RANGE:
      return "OUT_OF_RANGE";
    case NAK_ERROR:
      return "NAK_ERROR";
    case ACK_ERROR:
      return "ACK_ERROR";
    case RS_ERROR:
      return "RS_ERROR";
    case WAIT_ABANDONED:
      return "WAIT_ABANDONED";
    case WAIT_TIMEOUT:
      return "WAIT_TIMEOUT";
    case WAIT_FAILED:
      return "WAIT_FAILED";
    case MOVE_REFUSED:
      return "MOVE_REFUSED";
    case LIMIT_SWITCH_STOP:
      return "LIMIT_SWITCH_STOP";
    default:
      return nullptr;
  }
}

}  // namespace

std::string Fehlertext_Steuerung(int code) {
  switch (code) {
    case 1021:
      return "### unbekannter Befehl ###";
    case 1022:
      return "### ungültige Programm-Nr. ###";
    case 1023:
      return "### ungültiger FAT-Eintrag ###";
    case 1024:
      return "### Speicherüberlauf ... ###";
    case 1025:
      return "### Programm-Nr. bereits vorhanden ###";
    case 1026:
      return "### ungültiger Parameter ###";
    case 1027:
      return "### Arbeitsbereich verlassen ###";
    case 1028:
      return "### max. ProgrammHeader/Befehls-Länge von 256 Bytes überschritten ###";
    case 1119:
      return "### Encoder-Positions-Fehler ###";
    case STEP_RANGE_ERROR:
      return "### Fahrweg außerhalb des Schrittbereichs der Steuerung ###";
    case PROBE_TRAVEL_LIMIT:
      return "### Messtaster innerhalb des Messwegs nicht geschaltet ###";
    default:
      return "### default ###";
  }
}

void Fehler_Meldung(platform::UiServices& ui, int code, const std::string& caption) {
  if (code == USER_ABORT) return;
  const char* name = communicationName(code);
  const std::string text = name != nullptr ? std::string(name) : Fehlertext_Steuerung(code);
  ui.messageBox(text, caption, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

}  // namespace machine
