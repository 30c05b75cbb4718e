// The machine parameter record, its defaults and its file beside the program.
//
// Thread context: the record is a plain value; the functions work on the record they are given
// and keep no state. Parameter_Laden and Parameter_Speichern block on file I/O; Parameter_Speichern
// reports a failure through UiServices and so runs on the GUI thread. The process-wide record
// and the stop request live in SharedParameters.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/UiServices.h"

namespace machine {

struct Maschinenparameter {
  // Persisted fields; each field's name is its key in the parameter file.
  std::int32_t Modul = 0;  // controller type (Steuerungstyp) 0-13, see familyOf
  std::int32_t LPTAdresse = 0;
  std::int32_t ComPort = 0;  // 1 = COM1
  std::int32_t Baudrate = 0;
  std::int32_t Startfreq = 0;  // steps per second
  std::int32_t Arbeitsfreq = 0;
  std::int32_t Eilfreq = 0;
  std::int32_t Rampenlaenge = 0;  // ms
  double xUebersetz = 0.0;        // mm of travel per motor revolution
  double yUebersetz = 0.0;
  double zUebersetz = 0.0;
  double uUebersetz = 0.0;
  std::int32_t xMotStep = 0;  // motor steps per revolution
  std::int32_t yMotStep = 0;
  std::int32_t zMotStep = 0;
  std::int32_t uMotStep = 0;
  std::int32_t Steuersignal = 0;    // 0 "Korund-Signal", 1 "Takt/Richtung"
  std::int32_t Schrittbetrieb = 0;  // 0 "Halbschritt", 1 "Vollschritt"
  std::int32_t Ruhestrom = 0;       // 0 " 0 %", 1 " 20 %", 2 " 60 %"
  std::int32_t ZBetrieb = 0;        // 1 "3-Achssystem", 2 "Plotterbetrieb"
  std::int32_t UBetrieb = 0;        // 0 "Ausgang", 1 "Drehachse"
  double xRefOffset = 0.0;          // mm moved off the reference switch after homing
  double yRefOffset = 0.0;
  double zRefOffset = 0.0;
  double uRefOffset = 0.0;
  std::int32_t RefFreq = 0;  // homing, steps per second
  std::int32_t xRefNr = 0;   // homing order, smallest first
  std::int32_t yRefNr = 0;
  std::int32_t zRefNr = 0;
  std::int32_t uRefNr = 0;
  std::array<std::int32_t, 4> RefAktiv{};  // x, y, z, u selected for homing (0/1)
  double xWerkstücknullpunkt = 0.0;        // machine mm
  double yWerkstücknullpunkt = 0.0;
  double zWerkstücknullpunkt = 0.0;
  double uWerkstücknullpunkt = 0.0;
  double xParkposition = 0.0;
  double yParkposition = 0.0;
  double zParkposition = 0.0;
  double uParkposition = 0.0;
  double xWZLMessposition = 0.0;
  double yWZLMessposition = 0.0;
  double zWZLMessposition = 0.0;
  double zWZLdelta = 0.0;  // measured tool-length difference, mm
  double xWZWechselposition = 0.0;
  double yWZWechselposition = 0.0;
  double zWZWechselposition = 0.0;
  double uWZWechselposition = 0.0;

  // Runtime fields, never stored.
  std::string Parameterdatei;      // full path of the parameter file
  std::string Verbindungstext;     // controller name or version; set through setVerbindungstext
  std::string Schnittstellentext;  // "0x378", "COM1"
  std::string Baudratentext;       // baud rate or empty
  // Where the parameter file that could not be read is kept before a save replaces it; empty
  // when it was read (or missing). Set by Parameter_Laden.
  std::string unreadableFileBackup;
};

// Longest Verbindungstext, in bytes.
inline constexpr std::size_t kMaxVerbindungstextBytes = 41;

// Sets Verbindungstext without trailing control bytes (such as the ACK that ends a controller's
// answer), cut to kMaxVerbindungstextBytes on a UTF-8 character boundary.
void setVerbindungstext(Maschinenparameter& p, std::string text);

// Sets every persisted field to its default; the runtime fields are left as they are.
void Parameter_Vorbelegen(Maschinenparameter& p);

// Name of the parameter file for a program file name (no folder): the name in lower case without
// its extension, followed by "_param.dat" ("Veltris.exe" gives "veltris_param.dat").
std::string ParamDateiname(const std::string& programFileName);
// The same with "_konfig.dat".
std::string KonfigDateiname(const std::string& programFileName);

// Reads the file named by p.Parameterdatei into the persisted fields. A missing file gives the
// defaults and true; a key missing from the file gives 0 for its field (then the range checks
// apply). A file that exists but cannot be read (see platform::readFileBytes), or in which not
// one line names a parameter, gives the defaults too, but false, the reason in `error` when
// given, and in unreadableFileBackup the free name "<file>.unlesbar" (or "...-2" and on) that
// the file is kept under before it is replaced. The file itself is not touched.
bool Parameter_Laden(Maschinenparameter& p, std::string* error = nullptr);

// Replaces the file named by p.Parameterdatei with the persisted fields. A file that could not be
// read at start is first renamed to unreadableFileBackup (once: a later save finds that name
// taken). On failure the old file stays as it was, a warning box captioned "Tessaly" shows the
// system's error text, and the result is false.
bool Parameter_Speichern(const Maschinenparameter& p, platform::UiServices& ui);

}  // namespace machine
