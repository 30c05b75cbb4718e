// What the command layer asks of the serial protocol driver (controller types 5, 6 and 10-13):
// short text commands answered with ACK, NAK or an error text, and a priority channel for
// commands that begin with '@'.
//
// Thread context: the thread that runs a job or the connection step; Achsen_anhalten and
// Achsen_sofort_stoppen travel on the priority channel and may come from the GUI thread while
// another thread waits for a move's final answer. Calls block until answered; failures are
// thrown as integer codes.
#pragma once

#include <atomic>
#include <string>

namespace machine {

class ProtocolBackend {
 public:
  virtual ~ProtocolBackend() = default;

  // Subtype of the controller family: 2 Cobalt-Kyro, 3 USB-Beryl, 4 USB I/O module.
  virtual void Modell_setzen(int subtype) = 0;
  virtual void Init(int comPort, int baudrate) = 0;
  virtual void Connect() = 0;
  virtual void UnInit() = 0;

  virtual void Reset() = 0;
  // The controller's version text.
  virtual std::string Version_abfragen() = 0;
  virtual int Wert_lesen(char axis) = 0;
  virtual void Ansteuersignale_einstellen(int kind) = 0;
  virtual void Halb_Vollschrittbetrieb_einstellen(int schrittbetrieb, int ruhestrom) = 0;
  virtual void Startgeschwindigkeit_einstellen(int hz) = 0;
  virtual void Endgeschwindigkeit_einstellen(int speedIndex, int hz) = 0;
  virtual void Rampenlaenge_einstellen(int ms) = 0;
  virtual void Referenzgeschwindigkeit_einstellen(int hz) = 0;
  virtual void Referenzoffset_einstellen(char axis, int steps) = 0;
  virtual void Referenzfahrt_ausfuehren(const std::string& axes) = 0;
  // mode 1 relative, 0 absolute (99999: the axis does not move).
  virtual void Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z) = 0;
  virtual void Achsen_anhalten() = 0;
  virtual void Achsen_sofort_stoppen() = 0;
  // The stop request a move or homing run is checked against right before it is written, under
  // the lock the stop's own write takes: a stop that came after the caller's last check and before
  // the write ends the command with USER_ABORT (clearing the request) instead of following the
  // stop onto the line. Bound by the connection step; it must outlive the driver.
  virtual void bindStopRequest(std::atomic<bool>& bAbbruch) { (void)bAbbruch; }
  virtual void Ausgangssignal_setzen(int number, int value) = 0;
  virtual void Programmdurchlaeufe_hinterlegen(int count) = 0;
  // First byte of the last answer on the normal channel (NAK 0x15 when a motion has started); 0
  // when there was none. An '@' answer taken meanwhile does not change it.
  virtual char letzteAntwortBeginn() = 0;
  // Waits for the final answer of a started motion; timeoutMs -1 waits without limit (until a
  // stop bounds the wait).
  virtual void WaitResp(int timeoutMs) = 0;
  // Sends a raw command and waits up to answerMs for its answer, which it gives unexamined.
  virtual std::string SendenUndWarten(const std::string& command, int answerMs) = 0;
  // The answer most recently taken; empty when there was none.
  virtual std::string letzteAntwort() const { return {}; }
  // Program-store mode: while on, the controller records moves and homing runs into its program
  // memory and acknowledges each with ACK instead of starting it.
  virtual void Speichermodus_setzen(bool on) { (void)on; }
  // Whether the controller's input `input` ('1'-'8') is set.
  virtual bool Eingang_gesetzt(char input) {
    (void)input;
    return false;
  }
  // False once the link has been closed, by the program or because the controller fell silent
  // after a stop.
  virtual bool linkOpen() const { return true; }
};

}  // namespace machine
