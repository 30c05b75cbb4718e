// What the command layer asks of a synchronous serial interface module: Beryl (controller type
// 2) and Kyro (type 3), 19200 baud, settings ending in CR, busy/idle signalled by ETX/STX.
//
// Thread context: the thread that runs a job or the connection step; the stop operations may
// come from the GUI thread. Calls block until the module has answered. Failures are shown by
// the module itself (message boxes) or thrown as integer codes.
#pragma once

#include <atomic>
#include <optional>
#include <string>

namespace machine {

class SyncSerialBackend {
 public:
  virtual ~SyncSerialBackend() = default;

  // Closes the port; the object stays usable for a later connection.
  virtual void OnDestroy() = 0;
  virtual bool Verbinden(const std::string& portText) = 0;
  virtual void Trennen() = 0;

  virtual void Reset_durchfuehren() = 0;
  // The module's version text; nullopt when the unit does not identify itself as the model.
  virtual std::optional<std::string> Version_abfragen() = 0;
  // Throws a failure code when the position cannot be read; it is never taken for 0.
  virtual int Wert_abfragen(char axis) = 0;
  virtual void Ansteuersignale_einstellen(int kind) = 0;
  virtual void Schrittbetrieb_einstellen(int mode) = 0;
  virtual void Z_Achse_einstellen(int mode) = 0;
  virtual void U_Achse_einstellen(int mode) = 0;
  virtual void Startgeschwindigkeit_einstellen(int hz) = 0;
  virtual void Endgeschwindigkeit_einstellen(int speedIndex, int hz) = 0;
  virtual void Rampenlaenge_einstellen(int ms) = 0;
  // Kyro's homing speed.
  virtual void Referenzgeschwindigkeit_einstellen(int hz) = 0;
  // Beryl's homing speed and its per-axis homing setting.
  virtual void ReferenzGeschwindigkeit_einstellen(int hz) = 0;
  virtual void Referenzachse_einstellen(char axis, int value) = 0;
  virtual void Referenzoffset_einstellen(char axis, int steps) = 0;
  virtual void Referenzfahrt_ausfuehren(const std::string& axes) = 0;
  // `terminator` is the byte that ends the command: 1 executes, 13 only stores.
  virtual void Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z, int terminator) = 0;
  virtual void Achsen_anhalten() = 0;
  virtual void Achsen_sofort_stoppen() = 0;
  // The stop request an executed move or homing run is checked against right before it is
  // written, under the lock the stop's own write takes: a stop that came after the caller's last
  // check and before the write ends the command with USER_ABORT (clearing the request) instead of
  // following the stop onto the line. Bound by the connection step; it must outlive the driver.
  virtual void bindStopRequest(std::atomic<bool>& bAbbruch) { (void)bAbbruch; }
  virtual void Ausgangssignal_setzen(int number, int value) = 0;
  virtual void Befehl_senden(const std::string& text, int terminator) = 0;
  virtual std::string Antwort_lesen() = 0;
  // Waits until the module reports idle.
  virtual void Warten_bis_bereit() = 0;
};

}  // namespace machine
