// Recording doubles of the parallel-port and synchronous serial back-ends and a factory that
// makes all five back-ends: every call becomes one line "<object> <operation> <arguments>" in a
// log shared by the objects of a test, so the order across objects and the calls of replaced
// objects stay visible. The protocol driver double forwards its calls into the same log.
//
// Thread context: one test thread; nothing blocks.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "machine/ControllerBackends.h"
#include "machine/lpt/AxisSlot.h"
#include "support/RecordingProtocolBackend.h"

namespace machinetest {

struct CallLog {
  std::vector<std::string> lines;
  // Runs after each recorded line; it may throw a failure code or request a stop.
  std::function<void(const std::string& line)> onCall;

  void add(const std::string& line) {
    lines.push_back(line);
    if (onCall) onCall(line);
  }
};

inline std::string argText(int v) { return std::to_string(v); }
inline std::string argText(char c) { return std::string(1, c); }
inline std::string argText(const std::string& s) { return s; }

template <class... Args>
std::string callLine(const std::string& object, const char* operation, const Args&... args) {
  std::string line = object + " " + operation;
  ((line += " " + argText(args)), ...);
  return line;
}

// Garnet or TaktRicht: moves are relative and add up; homing zeroes the named axes.
class RecordingParallelBackend final : public machine::ParallelPortBackend {
 public:
  RecordingParallelBackend(std::string name, CallLog& log) : name_(std::move(name)), log_(log) {}

  void OnDestroy() override { rec("OnDestroy"); }
  bool Steuerung_verbinden(const std::string& portText) override {
    rec("Steuerung_verbinden", portText);
    return connectResult;
  }
  void Endschalter_konfigurieren(int a, int b, int c) override { rec("Endschalter_konfigurieren", a, b, c); }
  void Frequenzgrenzen_setzen(int f, int d) override { rec("Frequenzgrenzen_setzen", f, d); }
  void Reset_durchfuehren() override { rec("Reset_durchfuehren"); }
  std::string Version_abfragen() override {
    rec("Version_abfragen");
    return version;
  }
  int Position_abfragen(char axis) override {
    rec("Position_abfragen", axis);
    const int i = machine::axisSlot(axis);
    return i < 0 ? 0 : positions[static_cast<std::size_t>(i)];
  }
  void carryOverPositions(const std::array<int, 4>& steps) override {
    positions = steps;
    rec("carryOverPositions", steps[0], steps[1], steps[2], steps[3]);
  }
  void Schrittbetrieb_einstellen(int mode, int current) override { rec("Schrittbetrieb_einstellen", mode, current); }
  void Startgeschwindigkeit_einstellen(int hz) override { rec("Startgeschwindigkeit_einstellen", hz); }
  void Endgeschwindigkeit_einstellen(int index, int hz) override { rec("Endgeschwindigkeit_einstellen", index, hz); }
  void Rampenlaenge_einstellen(int ms) override { rec("Rampenlaenge_einstellen", ms); }
  void Referenzgeschwindigkeit_einstellen(int hz) override { rec("Referenzgeschwindigkeit_einstellen", hz); }
  void Referenzoffset_einstellen(char axis, int steps) override { rec("Referenzoffset_einstellen", axis, steps); }
  machine::MoveOutcome Referenzfahrt_ausfuehren(const std::string& axes) override {
    for (char a : axes)
      if (machine::axisSlot(a) >= 0) positions[static_cast<std::size_t>(machine::axisSlot(a))] = 0;
    rec("Referenzfahrt_ausfuehren", axes);
    return outcome;
  }
  machine::MoveOutcome Vektorfahrt_ausfuehren(int mode, int index, int x, int y, int z) override {
    positions[0] += x;
    positions[1] += y;
    positions[2] += z;
    rec("Vektorfahrt_ausfuehren", mode, index, x, y, z);
    return outcome;
  }
  // The command layer's own test of the stop request is what these tests see.
  void bindStopRequest(const std::atomic<bool>&) override {}
  void Achsen_anhalten() override { rec("Achsen_anhalten"); }
  void Achsen_sofort_stoppen() override { rec("Achsen_sofort_stoppen"); }
  void Ausgangssignal_setzen(int number, int value) override { rec("Ausgangssignal_setzen", number, value); }
  bool Eingang_abfragen(int pin) override {
    rec("Eingang_abfragen", pin);
    return input;
  }

  std::array<int, 4> positions{};
  // How every move and homing run ends.
  machine::MoveOutcome outcome = machine::MoveOutcome::Done;
  std::string version = "Garnet-Karte";
  bool connectResult = true;
  bool input = true;

 private:
  template <class... Args>
  void rec(const char* op, const Args&... args) {
    log_.add(callLine(name_, op, args...));
  }

  std::string name_;
  CallLog& log_;
};

// Beryl or Kyro.
class RecordingSyncSerialBackend final : public machine::SyncSerialBackend {
 public:
  RecordingSyncSerialBackend(std::string name, CallLog& log) : name_(std::move(name)), log_(log) {}

  void OnDestroy() override { rec("OnDestroy"); }
  bool Verbinden(const std::string& portText) override {
    rec("Verbinden", portText);
    return connectResult;
  }
  void Trennen() override { rec("Trennen"); }
  void Reset_durchfuehren() override { rec("Reset_durchfuehren"); }
  std::optional<std::string> Version_abfragen() override {
    rec("Version_abfragen");
    return version;
  }
  int Wert_abfragen(char axis) override {
    rec("Wert_abfragen", axis);
    return value;
  }
  void Ansteuersignale_einstellen(int kind) override { rec("Ansteuersignale_einstellen", kind); }
  void Schrittbetrieb_einstellen(int mode) override { rec("Schrittbetrieb_einstellen", mode); }
  void Z_Achse_einstellen(int mode) override { rec("Z_Achse_einstellen", mode); }
  void U_Achse_einstellen(int mode) override { rec("U_Achse_einstellen", mode); }
  void Startgeschwindigkeit_einstellen(int hz) override { rec("Startgeschwindigkeit_einstellen", hz); }
  void Endgeschwindigkeit_einstellen(int index, int hz) override { rec("Endgeschwindigkeit_einstellen", index, hz); }
  void Rampenlaenge_einstellen(int ms) override { rec("Rampenlaenge_einstellen", ms); }
  void Referenzgeschwindigkeit_einstellen(int hz) override { rec("Referenzgeschwindigkeit_einstellen", hz); }
  void ReferenzGeschwindigkeit_einstellen(int hz) override { rec("ReferenzGeschwindigkeit_einstellen", hz); }
  void Referenzachse_einstellen(char axis, int v) override { rec("Referenzachse_einstellen", axis, v); }
  void Referenzoffset_einstellen(char axis, int steps) override { rec("Referenzoffset_einstellen", axis, steps); }
  void Referenzfahrt_ausfuehren(const std::string& axes) override { rec("Referenzfahrt_ausfuehren", axes); }
  void Vektorfahrt_ausfuehren(int mode, int index, int x, int y, int z, int terminator) override {
    rec("Vektorfahrt_ausfuehren", mode, index, x, y, z, terminator);
  }
  void Achsen_anhalten() override { rec("Achsen_anhalten"); }
  void Achsen_sofort_stoppen() override { rec("Achsen_sofort_stoppen"); }
  void Ausgangssignal_setzen(int number, int v) override { rec("Ausgangssignal_setzen", number, v); }
  void Befehl_senden(const std::string& text, int terminator) override { rec("Befehl_senden", text, terminator); }
  std::string Antwort_lesen() override {
    rec("Antwort_lesen");
    return "";
  }
  void Warten_bis_bereit() override { rec("Warten_bis_bereit"); }

  std::optional<std::string> version;  // nullopt: the unit does not identify itself
  int value = 0;                       // what Wert_abfragen answers
  bool connectResult = true;

 private:
  template <class... Args>
  void rec(const char* op, const Args&... args) {
    log_.add(callLine(name_, op, args...));
  }

  std::string name_;
  CallLog& log_;
};

// Makes recording back-ends, counts the objects made and keeps the last one of each family.
class RecordingBackendFactory final : public machine::BackendFactory {
 public:
  explicit RecordingBackendFactory(CallLog& log) : log_(log) {}

  std::unique_ptr<machine::ParallelPortBackend> createGarnet() override {
    ++garnets;
    auto b = std::make_unique<RecordingParallelBackend>("Garnet", log_);
    garnet = b.get();
    return b;
  }
  std::unique_ptr<machine::ParallelPortBackend> createTaktRicht() override {
    ++taktRichts;
    auto b = std::make_unique<RecordingParallelBackend>("TaktRicht", log_);
    b->version = "TaktRicht-Karte";
    taktRicht = b.get();
    return b;
  }
  std::unique_ptr<machine::SyncSerialBackend> createBeryl() override {
    ++beryls;
    auto b = std::make_unique<RecordingSyncSerialBackend>("Beryl", log_);
    b->version = "Beryl V2";
    beryl = b.get();
    return b;
  }
  std::unique_ptr<machine::SyncSerialBackend> createKyro() override {
    ++kyros;
    auto b = std::make_unique<RecordingSyncSerialBackend>("Kyro", log_);
    b->version = "Kyro V3";
    kyro = b.get();
    return b;
  }
  std::unique_ptr<machine::ProtocolBackend> createZelkoCOM() override {
    ++zelkoCOMs;
    auto b = std::make_unique<testsupport::RecordingProtocolBackend>();
    b->onCall = [this](const std::string& call, int) { log_.add("zelkoCOM " + call); };
    zelkoCOM = b.get();
    return b;
  }

  int garnets = 0, taktRichts = 0, beryls = 0, kyros = 0, zelkoCOMs = 0;
  RecordingParallelBackend* garnet = nullptr;
  RecordingParallelBackend* taktRicht = nullptr;
  RecordingSyncSerialBackend* beryl = nullptr;
  RecordingSyncSerialBackend* kyro = nullptr;
  testsupport::RecordingProtocolBackend* zelkoCOM = nullptr;

 private:
  CallLog& log_;
};

}  // namespace machinetest
