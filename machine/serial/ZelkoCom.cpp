// The protocol driver's link (open with retries, probe, close) and the transfer of commands and
// answers on its two channels.
#include "ZelkoCom.h"

#include <chrono>
#include <cstdint>
#include <optional>

#include "ZelkoAnswer.h"
#include "machine/FailureCodes.h"
#include "machine/TraceLog.h"
#include "platform/NumberFormat.h"
#include "platform/SerialPortNames.h"

namespace machine {

namespace {

constexpr int kMaxComPort = 127;
constexpr int kBusyRetryStepMs = 25;
constexpr int kBusyRetryLimitMs = 500;
constexpr int kConnectProbes = 11;
constexpr std::chrono::milliseconds kConnectAnswerWait{50};
constexpr std::chrono::milliseconds kSendWait{2000};
constexpr int kDefaultAnswerMs = 64;
// A write may take its fixed allowance plus a little per byte before it is given up.
constexpr int kWriteConstantMs = 1000;
constexpr int kWriteMsPerByte = 10;

const char* const kConnectText = "Bitte die Schnittstelle überprüfen bzw.    \ndie Steuerung Aus- und Einschalten!";

std::string initText(int comPort, int baudrate) {
  return "zelkoCOM->Init(" + platform::formatInt(comPort) + ", " + platform::formatInt(baudrate) + ")";
}

std::optional<std::chrono::milliseconds> answerWait(int timeoutMs) {
  if (timeoutMs < 0) return std::nullopt;
  return std::chrono::milliseconds(timeoutMs == 0 ? kDefaultAnswerMs : timeoutMs);
}

bool beginsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// A move or a homing run: when its answer is late, that answer may still be the NAK that starts
// its motion.
bool isMotionCommand(const std::string& command) { return beginsWith(command, "L") || beginsWith(command, "$H"); }

// The program memory's listing and erasures: the controller echoes the command, then the listing
// or the erasure's result follows as answers of their own.
bool isSeriesCommand(const std::string& command) { return beginsWith(command, "*PR") || beginsWith(command, "*PE"); }

}  // namespace

TzelkoCOM::TzelkoCOM(platform::UiServices& ui, platform::Clock& clock) : ui_(ui), clock_(clock) {}

TzelkoCOM::~TzelkoCOM() { UnInit(); }

void TzelkoCOM::Modell_setzen(int subtype) { subtype_.store(subtype); }

TzelkoCOM::Link TzelkoCOM::currentLink() const {
  std::lock_guard lock(linkMutex_);
  return link_;
}

platform::SerialOpenResult TzelkoCOM::OpenSerialPort(const std::string& device, int baudrate) {
  return platform::SerialPort::open(device, baudrate);
}

void TzelkoCOM::Init(int comPort, int baudrate) {
  const std::string text = initText(comPort, baudrate);
  Protokoll_schreiben(text);
  // The port number travels as a signed byte in the controllers' tools; beyond 127 it would
  // name another port.
  if (comPort <= 0 || comPort > kMaxComPort) throw COM_PORT_ERROR;
  // A second Init would otherwise leave the first receiver running on a port nobody closes.
  if (bAppStarted_.load()) UnInit();

  const std::string device = platform::comDevicePath(comPort);
  int iSleep = 0;
  std::shared_ptr<platform::SerialPort> port;
  for (;;) {
    platform::SerialOpenResult opened = OpenSerialPort(device, baudrate);
    if (opened.port) {
      port = std::move(opened.port);
      break;
    }
    Protokoll_schreiben(text + " :: GetLastError()=" + platform::formatInt(opened.systemError));
    if (opened.error != platform::SerialOpenError::Busy) throw HANDLE_COM_PORT_ERROR;
    // Another process holds the port: it may be about to let go.
    iSleep += kBusyRetryStepMs;
    if (iSleep >= kBusyRetryLimitMs) throw HANDLE_COM_PORT_ERROR;
    clock_.sleepMillis(iSleep);
  }
  Protokoll_schreiben(text + " :: iSleep=" + platform::formatInt(iSleep));

  auto receiver = std::make_shared<TzelkoCOM_thread>(port, clock_);
  receiver->start();
  {
    std::lock_guard lock(linkMutex_);
    link_ = Link{port, receiver};
  }
  bAppStarted_.store(true);
}

void TzelkoCOM::Connect() {
  const Link link = currentLink();
  if (link.port) {
    const std::uint64_t droppedBefore = link.receiver->droppedAnswers();
    for (int probe = 0; probe < kConnectProbes; ++probe) {
      try {
        SendReq(std::string(1, kZelkoCr));
      } catch (int code) {
        // A probe answered with NAK announced a final answer that never came.
        if (code != WAIT_TIMEOUT) throw;
        break;
      }
      // An answer that comes too late is dropped, so it cannot pass for the answer to the next
      // command; one that comes during a later probe is taken for that probe's, which is alike.
      const ZelkoTaken taken = link.receiver->takeNormal(kConnectAnswerWait);
      if (taken.result == ZelkoWait::Closed) break;
      if (taken.result == ZelkoWait::Signalled && beginsWith(taken.answer, std::string("E1") + kZelkoBel)) {
        // A slow controller still owes the answers to the probes before: let them come and go
        // before the first command, which would otherwise take one for its own.
        if (probe > 0)
          link.receiver->awaitDropped(droppedBefore + static_cast<std::uint64_t>(probe), kConnectAnswerWait);
        return;
      }
    }
  }
  ui_.messageBox(kConnectText, "zelkoCOM->Connect", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  throw WAIT_TIMEOUT;
}

void TzelkoCOM::UnInit() {
  if (!bAppStarted_.load()) {
    Protokoll_schreiben("zelkoCOM->UnInit() :: bAppStarted=0");
    Protokoll_schreiben("");
    return;
  }
  Link link;
  {
    // Cleared first, so that a command from now on finds no port instead of a closing one.
    std::lock_guard lock(linkMutex_);
    link = std::move(link_);
    link_ = Link{};
  }
  if (link.port) {
    link.port->purgeInput();
    link.port->purgeOutput();
  }
  if (link.receiver) link.receiver->stop();
  bAppStarted_.store(false);
  Protokoll_schreiben("zelkoCOM->UnInit() :: Thread beendet!");
  Protokoll_schreiben("");
}

std::string TzelkoCOM::SendenUndWarten(const std::string& command, int answerMs) {
  SendReq(command);
  if (command.front() == '@') return takePriority(answerMs, command);
  return takeNormal(answerMs);
}

void TzelkoCOM::SendReq(const std::string& command) {
  const Link link = currentLink();
  if (!link.port || link.receiver->broken()) throw HANDLE_COM_PORT_ERROR;
  if (command.empty()) throw SEND_REQ_ERROR;
  if (command.size() > kMaxCommandBytes) throw OUT_OF_RANGE;

  const bool priority = command.front() == '@';
  switch (link.receiver->beginCommand(priority, isMotionCommand(command), kSendWait, isSeriesCommand(command))) {
    case ZelkoWait::Signalled:
      break;
    case ZelkoWait::TimedOut:
      Protokoll_schreiben("zelkoCOM->SendReq() :: WAIT_TIMEOUT");
      throw WAIT_TIMEOUT;
    case ZelkoWait::Closed:
      Protokoll_schreiben("zelkoCOM->SendReq() :: WAIT_FAILED");
      throw WAIT_FAILED;
  }
  std::unique_lock gate(writeGate_);
  // A stop sets its request before its own '@' command is written under this gate: a motion that
  // finds it here, after the wait above, would otherwise follow the stop onto the line and run its
  // full length.
  std::atomic<bool>* stop = stopRequest_.load();
  if (!priority && isMotionCommand(command) && stop != nullptr && stop->exchange(false)) {
    gate.unlock();
    link.receiver->releaseNormalSend();
    Protokoll_schreiben("zelkoCOM->SendReq() :: nach dem Anhalten nicht gesendet");
    throw USER_ABORT;
  }
  {
    std::lock_guard lock(textMutex_);
    lastCommand_ = command;
    if (priority) lastPriorityCommand_ = command;
  }
  const auto deadline =
      std::chrono::milliseconds(kWriteConstantMs + kWriteMsPerByte * static_cast<int>(command.size()));
  // A failed write is not reported here: the wait for the answer that cannot come reports it.
  const platform::SerialWrite written = link.port->write(command, deadline);
  if (written == platform::SerialWrite::HangUp) link.receiver->markBroken();
  if (written != platform::SerialWrite::Done) Protokoll_schreiben("zelkoCOM->SendReq() :: write failed");
}

void TzelkoCOM::WaitResp(int timeoutMs) { takeNormal(timeoutMs); }

std::string TzelkoCOM::takeNormal(int timeoutMs) {
  const Link link = currentLink();
  if (timeoutMs == -2) {
    if (link.receiver) link.receiver->releaseNormalSend();
    return {};
  }
  if (!link.receiver) {
    Protokoll_schreiben("zelkoCOM->WaitResp() :: WAIT_FAILED");
    throw WAIT_FAILED;
  }
  const ZelkoTaken taken = link.receiver->takeNormal(answerWait(timeoutMs));
  switch (taken.result) {
    case ZelkoWait::Signalled:
      break;
    case ZelkoWait::TimedOut:
      if (taken.afterStop) {
        // The controller stopped answering after a stop: nothing on this line can be trusted
        // any more, and the run waiting here must end. Closing the link fails every waiter.
        Protokoll_schreiben("zelkoCOM->WaitResp() :: keine Endantwort nach dem Anhalten");
        UnInit();
        throw WAIT_FAILED;
      }
      Protokoll_schreiben("zelkoCOM->WaitResp() :: WAIT_TIMEOUT");
      throw WAIT_TIMEOUT;
    case ZelkoWait::Closed:
      Protokoll_schreiben("zelkoCOM->WaitResp() :: WAIT_FAILED");
      throw WAIT_FAILED;
  }
  setLastAnswer(taken.answer, true);
  if (taken.finalAnswer) {
    Protokoll_schreiben("zelkoCOM->WaitResp() :: " + taken.answer);
    if (const auto code = errorAnswerCode(taken.answer)) throw *code;
  }
  return taken.answer;
}

void TzelkoCOM::WaitResp_MB(int timeoutMs) {
  std::string command;
  {
    std::lock_guard lock(textMutex_);
    command = lastPriorityCommand_;
  }
  takePriority(timeoutMs, command);
}

std::string TzelkoCOM::takePriority(int timeoutMs, const std::string& command) {
  const Link link = currentLink();
  if (!link.receiver) {
    Protokoll_schreiben("zelkoCOM->WaitResp_MB() :: WAIT_FAILED");
    throw WAIT_FAILED;
  }
  const ZelkoTaken taken = link.receiver->takePriority(answerWait(timeoutMs));
  switch (taken.result) {
    case ZelkoWait::Signalled:
      break;
    case ZelkoWait::TimedOut:
      Protokoll_schreiben("zelkoCOM->WaitResp_MB() :: WAIT_TIMEOUT");
      throw WAIT_TIMEOUT;
    case ZelkoWait::Closed:
      Protokoll_schreiben("zelkoCOM->WaitResp_MB() :: WAIT_FAILED");
      throw WAIT_FAILED;
  }
  setLastAnswer(taken.answer, false);
  // The receiver is already released, so an answer of the wrong form cannot block it.
  const std::string cr(1, kZelkoCr);
  const std::string ack(1, kZelkoAck);
  if (beginsWith(command, "@R" + cr) || beginsWith(command, "@S" + cr)) {
    if (!beginsWith(taken.answer, "@RS" + ack)) throw COMMUNICATION_ERROR;
  } else if (beginsWith(command, "@B" + cr)) {
    if (!beginsWith(taken.answer, "@B" + ack)) throw COMMUNICATION_ERROR;
  }
  return taken.answer;
}

void TzelkoCOM::boundFinalWait() {
  const Link link = currentLink();
  // A stopped move decelerates along its ramp before the controller can give its final answer; a
  // long ramp must not pass for a controller that has fallen silent.
  const auto bound = std::chrono::milliseconds(rampMs_.load()) + stopAnswerLimit_.load();
  if (link.receiver) link.receiver->boundFinalWait(std::chrono::steady_clock::now() + bound);
}

void TzelkoCOM::Speichermodus_setzen(bool on) { speichermodus_.store(on); }

std::string TzelkoCOM::letzterBefehl() const {
  std::lock_guard lock(textMutex_);
  return lastCommand_;
}

std::string TzelkoCOM::letzteAntwort() const {
  std::lock_guard lock(textMutex_);
  return lastAnswer_;
}

char TzelkoCOM::letzteAntwortBeginn() {
  std::lock_guard lock(textMutex_);
  return lastNormalAnswer_.empty() ? '\0' : lastNormalAnswer_.front();
}

void TzelkoCOM::setLastAnswer(const std::string& answer, bool normal) {
  std::lock_guard lock(textMutex_);
  lastAnswer_ = answer;
  if (normal) lastNormalAnswer_ = answer;
}

}  // namespace machine
