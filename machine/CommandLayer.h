// The controller command layer: one operation per controller function, each writing its trace
// line and dispatching on the controller type `Modul` to the back-end that serves it; the
// connection step; the millimetre/step conversions; the homing order; and the sending of all
// machine parameters.
//
// Thread context: a CommandLayer is a light view bound to one parameter record (a run's
// snapshot, or the GUI thread's copy for the connection step), the process's back-ends and the
// stop request; make one where it is needed. Operations block while the back-end works and throw
// integer failure codes (2000 when a stop request is found before or after a move or homing run,
// or when a stop cut a parallel-port move short; a stop request that stands already ends the move
// or homing run before anything is sent, on every controller type; MOVE_REFUSED and LIMIT_SWITCH_STOP
// when the step generator refused a move or a limit switch ended it). Only the stop operations may
// be called from another thread while a move runs. The connection step binds the layer's stop
// request to the parallel-port back-end it makes, so that request must outlive the back-ends.
#pragma once

#include <atomic>
#include <string>

#include "machine/ControllerBackends.h"
#include "machine/MachineParameters.h"
#include "machine/MoveOutcome.h"
#include "platform/UiServices.h"

namespace machine {

class CommandLayer {
 public:
  // Longest command-file line the protocol driver takes (its command limit less the CR).
  static constexpr std::size_t kMaxBefehlszeile = 126;

  CommandLayer(Maschinenparameter& params, ControllerBackends& backends, std::atomic<bool>& bAbbruch);

  void Reset_durchfuehren();
  // Fills `Verbindungstext` of the record.
  void Version_abfragen();
  int Position_abfragen(char axis);
  double Position_mm_abfragen(char axis);
  void Ansteuersignale_einstellen();
  void Schrittbetrieb_einstellen();
  void Z_Achse_einstellen();
  void U_Achse_einstellen();
  void Startgeschwindigkeit_einstellen(int hz);
  void Endgeschwindigkeit_einstellen(int speedIndex, int hz);
  void Rampenlaenge_einstellen(int ms);
  void Referenzgeschwindigkeit_einstellen(int hz);
  void Referenzoffset_einstellen(char axis, double mm);
  void Referenzfahrt_ausfuehren(const std::string& axes);
  // mode 1 relative (a move of all zeros is dropped), 0 absolute (99999: axis not moved). A count
  // or target beyond kMaxSchritte (StepRange.h) throws STEP_RANGE_ERROR before anything is sent.
  void Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z, int execute);
  // Decelerated stop with the stop request, whatever the controller type; the request is set
  // first, so that it stands even when the stop itself fails.
  void Achsen_anhalten();
  // The decelerated stop alone: a failed live run halts the axes on its way out.
  void haltAxes();
  // False when the serial protocol link has been closed since it was opened (the controller fell
  // silent after a stop); the other controller types always count as open.
  bool Verbindung_offen() const;
  // Immediate stop. For the parallel-port types the stop request is set first, so that the homing
  // sequence it cuts short ends with USER_ABORT instead of going on with the next axis.
  void Achsen_sofort_stoppen();
  void Ausgangssignal_setzen(int number, int value);
  // Spindle, coolant pump and extraction (outputs 1-3) off, each executed. Every output is tried;
  // the first failure is thrown after the last.
  void allOutputsOff();
  void Programmdurchlaeufe_hinterlegen(int count);
  void Befehle_ausfuehren();
  // One line of a command file, sent as it stands with CR to a protocol controller of type 5 or 6
  // and answered within 64 ms; a NAK (a motion started) is followed by a wait of up to 60 s for
  // its final answer. An error answer "E<n>" BEL throws its code 1020+n. Every other controller
  // type sends nothing and gives false. A line longer than kMaxBefehlszeile throws OUT_OF_RANGE
  // before anything is sent.
  bool Befehlszeile_senden(const std::string& line);
  void Warten_bis_bereit();
  bool Eingang_abfragen(int pin);

  // Steps of an axis ('x', 'y', 'z', 'u', either case), truncated toward zero; 0 when the gear
  // ratio is 0 or the letter is no axis.
  int mm_in_Schritte(char axis, double mm) const;
  double Schritte_in_mm(char axis, int steps) const;

  // Homes the selected axes in the order of their reference numbers.
  void Referenzfahrt_Reihenfolge(int x, int y, int z, int u);
  // The order text Referenzfahrt_Reihenfolge homes in ("zxy" with the defaults).
  std::string Referenzfahrt_Reihenfolge_Text(int x, int y, int z, int u) const;

  // Connection step: closes any open link, (re)creates the back-end of the configured type and
  // returns its display name; writes the port texts; opens and identifies the link. A
  // parallel-port back-end made again for the type and port address it was connected with goes on
  // from the positions the one it replaces had counted; with another type or address it starts
  // from 0.
  void Steuerung_trennen();
  std::string Steuerung_erzeugen(BackendFactory& factory);
  void Schnittstelle_anzeigen();
  bool Steuerung_verbinden(const std::string& portText);

  // Sends every machine parameter to the controller.
  void InitializeSteuerung(bool herstellermodus);

  // Shows a failure code for the protocol controller types only (the others show their own), and
  // a move refused for its step range for every type.
  void Steuerungsfehler_melden(platform::UiServices& ui, int code, const std::string& caption) const;

  Maschinenparameter& params() { return params_; }

 private:
  void stopCheck();
  // The stop check after a parallel-port move or homing run, and the failure code of a run that
  // was refused or ended by a limit switch (MOVE_REFUSED, LIMIT_SWITCH_STOP).
  void parallelOutcome(MoveOutcome outcome);

  Maschinenparameter& params_;
  ControllerBackends& backends_;
  std::atomic<bool>& bAbbruch_;
};

// Display name of a controller type ("Cobalt-Kyro" for 5); empty for 8, 9 and unknown types.
std::string Steuerungsname(int modul);

// True for the protocol types 5, 6 and 10-13.
bool istProtokollTyp(int modul);

}  // namespace machine
