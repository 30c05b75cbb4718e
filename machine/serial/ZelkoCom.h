// The driver of the controllers that take the text command protocol over a serial port
// (controller types 5, 6 and 10-13): the link, the transfer of commands and answers on the normal
// and the '@' channel, and one operation per controller command.
//
// Thread context: one normal command at a time (the connection step on the GUI thread, a job on
// its worker); '@' commands (stop, reset, queries) may come from another thread while a move waits
// for its final answer. Every command blocks until answered or timed out; failures are thrown as
// the integer codes of FailureCodes.h, arguments out of range as OUT_OF_RANGE before anything is
// sent. Connect shows its box through UiServices and so runs on the GUI thread. UnInit wakes every
// waiting call (WAIT_FAILED) and may be called from any thread. A motion's final answer is awaited
// without limit until a stop (Achsen_anhalten, Achsen_sofort_stoppen) bounds the wait; a
// controller that stays silent past that bound has its link closed, so that a stop always ends.
//
// Each call checks the answer it took itself: an answer taken on the other channel meanwhile can
// never pass for it.
//
// Ownership: the driver owns its port and its receiver thread while the link is open; the clock
// and the UI services must outlive it.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "machine/ProtocolBackend.h"
#include "machine/serial/ZelkoComReceiver.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/UiServices.h"

namespace machine {

class TzelkoCOM final : public ProtocolBackend {
 public:
  // Longest command, CR included.
  static constexpr std::size_t kMaxCommandBytes = 127;

  TzelkoCOM(platform::UiServices& ui, platform::Clock& clock);
  ~TzelkoCOM() override;
  TzelkoCOM(const TzelkoCOM&) = delete;
  TzelkoCOM& operator=(const TzelkoCOM&) = delete;

  // Link.
  void Modell_setzen(int subtype) override;
  // Opens COM `comPort` (1-127, resolved by platform::comDevicePath) and starts the receiver. A
  // port held by another process is retried for a while. An open link is closed first.
  void Init(int comPort, int baudrate) override;
  // Probes the controller with a bare CR; a box and WAIT_TIMEOUT when it never answers.
  void Connect() override;
  void UnInit() override;
  static platform::SerialOpenResult OpenSerialPort(const std::string& device, int baudrate);

  // Transfer. SendenUndWarten gives the answer it took.
  std::string SendenUndWarten(const std::string& command, int answerMs) override;
  void SendReq(const std::string& command);
  // Takes a normal answer: 0 waits 64 ms, -1 without limit, -2 only lets the next normal
  // command go. The answer after a NAK ends a motion: an error answer "E<n>" BEL throws 1020+n.
  void WaitResp(int timeoutMs) override;
  // Takes an '@' answer: 0 waits 64 ms, a negative time-out without limit.
  void WaitResp_MB(int timeoutMs);
  void Speichermodus_setzen(bool on) override;

  // The command most recently written and the answer most recently taken, on either channel.
  std::string letzterBefehl() const;
  std::string letzteAntwort() const override;
  // First byte of the answer most recently taken on the normal channel.
  char letzteAntwortBeginn() override;
  bool linkOpen() const override { return bAppStarted_.load(); }
  // How long a motion's final answer is awaited once a stop has been sent: the ramp length last
  // taken by the controller (the axes decelerate that long) and then this limit (5 s).
  void setStopAnswerLimit(std::chrono::milliseconds limit) { stopAnswerLimit_.store(limit); }

  // Controller commands.
  void Reset() override;
  std::string Version_abfragen() override;
  std::string Wert_abfragen(char axis);
  int Wert_lesen(char axis) override;
  void Ansteuersignale_einstellen(int kind) override;
  void Halb_Vollschrittbetrieb_einstellen(int schrittbetrieb, int ruhestrom) override;
  void Startgeschwindigkeit_einstellen(int hz) override;
  void Endgeschwindigkeit_einstellen(int speedIndex, int hz) override;
  void Rampenlaenge_einstellen(int ms) override;
  void Referenzgeschwindigkeit_einstellen(int hz) override;
  void Referenzoffset_einstellen(char axis, int steps) override;
  void Referenzfahrt_ausfuehren(const std::string& axes) override;
  void Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z) override;
  void Achsen_anhalten() override;
  void Achsen_sofort_stoppen() override;
  void bindStopRequest(std::atomic<bool>& bAbbruch) override { stopRequest_.store(&bAbbruch); }
  void Ausgangssignal_setzen(int number, int value) override;
  void Eingang_abfragen(char input);
  bool Eingang_gesetzt(char input) override;
  void Programmdurchlaeufe_hinterlegen(int count) override;

  bool bAppStarted() const { return bAppStarted_.load(); }
  int subtype() const { return subtype_.load(); }

 private:
  struct Link {
    std::shared_ptr<platform::SerialPort> port;
    std::shared_ptr<TzelkoCOM_thread> receiver;
  };
  Link currentLink() const;
  std::string takeNormal(int timeoutMs);
  std::string takePriority(int timeoutMs, const std::string& command);
  void setLastAnswer(const std::string& answer, bool normal);
  // The answer to a setting: ACK, else ACK_ERROR (or 1021 for "E1" BEL when `errorAnswer`). A
  // refused NAK gives its final answer up.
  void expectAck(const std::string& answer, bool errorAnswer);
  // The answer to a move or homing run. One that is refused gives its final answer up; one that
  // the controller started while it should have recorded it is stopped first (decelerated).
  void expectMotionStart(const std::string& answer);
  // Bounds the wait for a running motion's final answer: a stop is about to be sent.
  void boundFinalWait();
  // The text of an input's answer after its head "@I<letter> ".
  std::string inputAnswer(char input);

  platform::UiServices& ui_;
  platform::Clock& clock_;

  std::atomic<bool> speichermodus_{false};
  std::atomic<bool> bAppStarted_{false};
  std::atomic<int> subtype_{2};

  mutable std::mutex linkMutex_;
  Link link_;

  std::atomic<std::chrono::milliseconds> stopAnswerLimit_{std::chrono::seconds(5)};
  std::atomic<int> rampMs_{0};
  // Checked before a motion command is written; the write gate keeps that check and the write
  // together against a stop's write.
  std::atomic<std::atomic<bool>*> stopRequest_{nullptr};
  std::mutex writeGate_;

  mutable std::mutex textMutex_;
  std::string lastCommand_;
  std::string lastPriorityCommand_;
  std::string lastAnswer_;
  std::string lastNormalAnswer_;
};

}  // namespace machine
