// What the command layer asks of a parallel-port back-end: the phase-pattern card (controller
// type 0) and the step/direction controllers (types 1, 4 and 7), both on the step generator.
//
// Thread context: the thread that runs a job or the connection step; Achsen_anhalten and
// Achsen_sofort_stoppen may come from the GUI thread while another thread waits in a move.
// Moves and homing block until done and tell how they ended; the command layer turns an ending
// other than Done into its failure code. Failures are thrown as integer codes or shown by the
// back-end itself.
#pragma once

#include <array>
#include <atomic>
#include <string>

#include "machine/MoveOutcome.h"

namespace machine {

class ParallelPortBackend {
 public:
  virtual ~ParallelPortBackend() = default;

  // Closes the port driver; the object stays usable for a later connection.
  virtual void OnDestroy() = 0;
  // Opens the port at the base address given as hexadecimal text ("0x378"); false when it cannot.
  virtual bool Steuerung_verbinden(const std::string& portText) = 0;
  // Step/direction only: the limit-switch inputs (four-input layout, single input, active high)
  // and the frequency limits.
  virtual void Endschalter_konfigurieren(int fourInputs, int singleInput, int activeHigh) = 0;
  virtual void Frequenzgrenzen_setzen(int maxFrequency, int pulseDivisor) = 0;

  virtual void Reset_durchfuehren() = 0;
  // The back-end's model text.
  virtual std::string Version_abfragen() = 0;
  virtual int Position_abfragen(char axis) = 0;
  // Goes on counting from these positions (steps of x, y, z, u; axes the back-end lacks are
  // ignored): the connection step hands over what the back-end it replaced had counted.
  virtual void carryOverPositions(const std::array<int, 4>& steps) = 0;
  // Phase patterns only: step mode and holding current.
  virtual void Schrittbetrieb_einstellen(int schrittbetrieb, int ruhestrom) = 0;
  virtual void Startgeschwindigkeit_einstellen(int hz) = 0;
  virtual void Endgeschwindigkeit_einstellen(int speedIndex, int hz) = 0;
  virtual void Rampenlaenge_einstellen(int ms) = 0;
  virtual void Referenzgeschwindigkeit_einstellen(int hz) = 0;
  virtual void Referenzoffset_einstellen(char axis, int steps) = 0;
  virtual MoveOutcome Referenzfahrt_ausfuehren(const std::string& axes) = 0;
  // Always relative; the step/direction back-end ignores the mode.
  virtual MoveOutcome Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z) = 0;
  // The program's stop request: while it is set, a move or homing run does not start and ends as
  // NotStarted. The connection step binds it when it makes the back-end; it must outlive the
  // back-end.
  virtual void bindStopRequest(const std::atomic<bool>& bAbbruch) = 0;
  virtual void Achsen_anhalten() = 0;
  virtual void Achsen_sofort_stoppen() = 0;
  virtual void Ausgangssignal_setzen(int number, int value) = 0;
  virtual bool Eingang_abfragen(int pin) = 0;
};

}  // namespace machine
