// Protocol-driver double for tests: records every call as a line of text, keeps the axis
// positions so that relative moves add up, and can fail or run a hook at a chosen call.
//
// Thread context: the calls are recorded under a mutex, so a test may stop a move from another
// thread. Nothing blocks.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "machine/ProtocolBackend.h"

namespace testsupport {

class RecordingProtocolBackend final : public machine::ProtocolBackend {
 public:
  static constexpr int kNotMoved = 99999;

  void Modell_setzen(int subtype) override { add("Modell_setzen " + std::to_string(subtype)); }
  void Init(int comPort, int baudrate) override {
    add("Init " + std::to_string(comPort) + " " + std::to_string(baudrate));
  }
  void Connect() override { add("Connect"); }
  void UnInit() override { add("UnInit"); }
  void Reset() override { add("Reset"); }
  std::string Version_abfragen() override {
    add("Version_abfragen");
    return version;
  }
  int Wert_lesen(char axis) override {
    std::lock_guard lock(mutex_);
    const int i = index(axis);
    return i < 0 ? 0 : positions_[static_cast<std::size_t>(i)];
  }
  void Ansteuersignale_einstellen(int kind) override { add("Ansteuersignale_einstellen " + std::to_string(kind)); }
  void Halb_Vollschrittbetrieb_einstellen(int mode, int current) override {
    add("Halb_Vollschrittbetrieb_einstellen " + std::to_string(mode) + " " + std::to_string(current));
  }
  void Startgeschwindigkeit_einstellen(int hz) override {
    add("Startgeschwindigkeit_einstellen " + std::to_string(hz));
  }
  void Endgeschwindigkeit_einstellen(int index, int hz) override {
    add("Endgeschwindigkeit_einstellen " + std::to_string(index) + " " + std::to_string(hz));
  }
  void Rampenlaenge_einstellen(int ms) override { add("Rampenlaenge_einstellen " + std::to_string(ms)); }
  void Referenzgeschwindigkeit_einstellen(int hz) override {
    add("Referenzgeschwindigkeit_einstellen " + std::to_string(hz));
  }
  void Referenzoffset_einstellen(char axis, int steps) override {
    add(std::string("Referenzoffset_einstellen ") + axis + " " + std::to_string(steps));
  }
  void Referenzfahrt_ausfuehren(const std::string& axes) override {
    add("Referenzfahrt_ausfuehren " + axes);
    std::lock_guard lock(mutex_);
    for (char a : axes)
      if (index(a) >= 0) positions_[static_cast<std::size_t>(index(a))] = 0;
  }
  void Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z) override {
    add("Vektorfahrt_ausfuehren " + std::to_string(mode) + " " + std::to_string(speedIndex) + " " + std::to_string(x) +
        " " + std::to_string(y) + " " + std::to_string(z));
    std::lock_guard lock(mutex_);
    const std::array<int, 3> target{x, y, z};
    for (std::size_t i = 0; i < 3; ++i) {
      if (mode == 1) {
        positions_[i] += target[i];
      } else if (target[i] != kNotMoved) {
        positions_[i] = target[i];
      }
    }
  }
  void Achsen_anhalten() override { add("Achsen_anhalten"); }
  void Achsen_sofort_stoppen() override { add("Achsen_sofort_stoppen"); }
  void Ausgangssignal_setzen(int number, int value) override {
    add("Ausgangssignal_setzen " + std::to_string(number) + " " + std::to_string(value));
  }
  void Programmdurchlaeufe_hinterlegen(int count) override {
    add("Programmdurchlaeufe_hinterlegen " + std::to_string(count));
  }
  char letzteAntwortBeginn() override { return answerStart; }
  bool linkOpen() const override { return open.load(); }
  void WaitResp(int timeoutMs) override {
    add("WaitResp " + std::to_string(timeoutMs));
    if (answerFor) setLastAnswer(answerFor(""));
  }
  std::string SendenUndWarten(const std::string& command, int answerMs) override {
    add("SendenUndWarten " + command + " " + std::to_string(answerMs));
    const std::string answer = answerFor ? answerFor(command) : std::string(1, answerStart);
    setLastAnswer(answer);
    return answer;
  }
  std::string letzteAntwort() const override {
    std::lock_guard lock(mutex_);
    return lastAnswer_;
  }
  void Speichermodus_setzen(bool on) override { add(std::string("Speichermodus_setzen ") + (on ? "1" : "0")); }
  bool Eingang_gesetzt(char input) override {
    add(std::string("Eingang_gesetzt ") + input);
    return false;
  }

  // The recorded calls, in order; the query Wert_lesen is not recorded.
  std::vector<std::string> calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  // Only the calls that begin with `prefix`.
  std::vector<std::string> callsStartingWith(const std::string& prefix) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& c : calls_)
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
  }
  void clearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
  }
  void setPosition(int x, int y, int z) {
    std::lock_guard lock(mutex_);
    positions_ = {x, y, z, positions_[3]};
  }

  std::string version = "Cobalt-Kyro V1.0";
  // Cleared to play a link that closed itself.
  std::atomic<bool> open{true};
  char answerStart = 0x06;  // ACK: no final answer awaited
  // Called after each recorded call with its text and its number (from 1); it may throw a
  // failure code or request a stop.
  std::function<void(const std::string& call, int number)> onCall;
  // The answer to a raw command (to WaitResp: the empty command); empty: ACK-style answerStart.
  std::function<std::string(const std::string& command)> answerFor;

 private:
  static int index(char axis) {
    switch (axis) {
      case 'x':
      case 'X':
        return 0;
      case 'y':
      case 'Y':
        return 1;
      case 'z':
      case 'Z':
        return 2;
      case 'u':
      case 'U':
        return 3;
      default:
        return -1;
    }
  }
  void add(std::string call) {
    int number = 0;
    {
      std::lock_guard lock(mutex_);
      calls_.push_back(call);
      number = static_cast<int>(calls_.size());
    }
    if (onCall) onCall(call, number);
  }

  void setLastAnswer(const std::string& answer) {
    std::lock_guard lock(mutex_);
    lastAnswer_ = answer;
  }

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::string lastAnswer_;
  std::array<int, 4> positions_{};
};

}  // namespace testsupport
