// The controller as the main window's tests see it: a factory whose protocol driver forwards to
// a recording driver owned by the test (so the test can read it after the window has gone), and
// that can fail its position reads. A factory without a controller gives no driver at all, so
// the connection fails as with nothing attached.
//
// Thread context: as the recording driver: calls are recorded under its mutex; the failure code
// is an atomic.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "machine/ControllerBackends.h"
#include "support/RecordingProtocolBackend.h"

namespace apptest {

class ForwardingProtocolBackend final : public machine::ProtocolBackend {
 public:
  ForwardingProtocolBackend(testsupport::RecordingProtocolBackend& target, const std::atomic<int>& positionFailure)
      : t_(target), positionFailure_(positionFailure) {}

  void Modell_setzen(int subtype) override { t_.Modell_setzen(subtype); }
  void Init(int comPort, int baudrate) override { t_.Init(comPort, baudrate); }
  void Connect() override { t_.Connect(); }
  void UnInit() override { t_.UnInit(); }
  void Reset() override { t_.Reset(); }
  std::string Version_abfragen() override { return t_.Version_abfragen(); }
  int Wert_lesen(char axis) override {
    if (const int code = positionFailure_.load(); code != 0) throw code;
    return t_.Wert_lesen(axis);
  }
  void Ansteuersignale_einstellen(int kind) override { t_.Ansteuersignale_einstellen(kind); }
  void Halb_Vollschrittbetrieb_einstellen(int mode, int current) override {
    t_.Halb_Vollschrittbetrieb_einstellen(mode, current);
  }
  void Startgeschwindigkeit_einstellen(int hz) override { t_.Startgeschwindigkeit_einstellen(hz); }
  void Endgeschwindigkeit_einstellen(int index, int hz) override { t_.Endgeschwindigkeit_einstellen(index, hz); }
  void Rampenlaenge_einstellen(int ms) override { t_.Rampenlaenge_einstellen(ms); }
  void Referenzgeschwindigkeit_einstellen(int hz) override { t_.Referenzgeschwindigkeit_einstellen(hz); }
  void Referenzoffset_einstellen(char axis, int steps) override { t_.Referenzoffset_einstellen(axis, steps); }
  void Referenzfahrt_ausfuehren(const std::string& axes) override { t_.Referenzfahrt_ausfuehren(axes); }
  void Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z) override {
    t_.Vektorfahrt_ausfuehren(mode, speedIndex, x, y, z);
  }
  void Achsen_anhalten() override { t_.Achsen_anhalten(); }
  void Achsen_sofort_stoppen() override { t_.Achsen_sofort_stoppen(); }
  void Ausgangssignal_setzen(int number, int value) override { t_.Ausgangssignal_setzen(number, value); }
  void Programmdurchlaeufe_hinterlegen(int count) override { t_.Programmdurchlaeufe_hinterlegen(count); }
  char letzteAntwortBeginn() override { return t_.letzteAntwortBeginn(); }
  bool linkOpen() const override { return t_.linkOpen(); }
  void WaitResp(int timeoutMs) override { t_.WaitResp(timeoutMs); }
  std::string SendenUndWarten(const std::string& command, int answerMs) override {
    return t_.SendenUndWarten(command, answerMs);
  }
  std::string letzteAntwort() const override { return t_.letzteAntwort(); }
  void Speichermodus_setzen(bool on) override { t_.Speichermodus_setzen(on); }
  bool Eingang_gesetzt(char input) override { return t_.Eingang_gesetzt(input); }

 private:
  testsupport::RecordingProtocolBackend& t_;
  const std::atomic<int>& positionFailure_;
};

class ControllerFactory final : public machine::BackendFactory {
 public:
  std::unique_ptr<machine::ParallelPortBackend> createGarnet() override { return nullptr; }
  std::unique_ptr<machine::ParallelPortBackend> createTaktRicht() override { return taktRicht ? taktRicht() : nullptr; }
  std::unique_ptr<machine::SyncSerialBackend> createBeryl() override { return nullptr; }
  std::unique_ptr<machine::SyncSerialBackend> createKyro() override { return nullptr; }
  std::unique_ptr<machine::ProtocolBackend> createZelkoCOM() override {
    ++created;
    if (!attached) return nullptr;
    return std::make_unique<ForwardingProtocolBackend>(controller, positionFailure);
  }

  bool attached = false;  // a controller answers on the port
  // Makes the step/direction back-end (types 1, 4, 7); without it there is none.
  std::function<std::unique_ptr<machine::ParallelPortBackend>()> taktRicht;
  int created = 0;  // protocol drivers asked for
  testsupport::RecordingProtocolBackend controller;
  std::atomic<int> positionFailure{0};
};

}  // namespace apptest
