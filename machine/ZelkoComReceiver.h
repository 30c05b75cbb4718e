// The receiver thread of the serial protocol driver: it reads the port byte by byte, assembles
// the controller's answers on the normal and the '@' channel and hands each one to the thread
// that waits for it through paired events.
//
// Thread context: the loop runs on its own thread from start() to stop(). The sender-side calls
// (waitSend, prepareSend, takeNormal, takePriority, releaseNormalSend) come from the threads
// that send commands: one normal command at a time, '@' commands possibly from another thread
// while a move waits for its final answer. waitSend and the take calls block up to their time-out
// (or without limit) and return Closed once the link is closed or broken. Shared state is kept
// behind one mutex; the receiver blocks on a hand-over only without holding it.
//
// Ownership: shared by the driver and every thread that waits on it, so that a waiter woken by
// stop() still finds its events. The port is shared with the driver, which writes to it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "platform/Event.h"
#include "platform/SerialPort.h"

namespace machine {

// Control bytes of the protocol.
inline constexpr char kZelkoStx = 0x02;
inline constexpr char kZelkoEtx = 0x03;
inline constexpr char kZelkoAck = 0x06;
inline constexpr char kZelkoBel = 0x07;
inline constexpr char kZelkoCr = 0x0D;
inline constexpr char kZelkoNak = 0x15;

// Receiver states.
inline constexpr short kZelkoIdle = 10;           // between answers
inline constexpr short kZelkoFirstByte = 20;      // first byte of a normal answer
inline constexpr short kZelkoRest = 30;           // rest of a normal answer (or a move's final answer)
inline constexpr short kZelkoPriorityFirst = 50;  // first byte of an '@' answer
inline constexpr short kZelkoPriorityRest = 60;   // rest of an '@' answer

// Longest answers kept, in bytes; further bytes are dropped until the answer's end byte.
inline constexpr std::size_t kZelkoNormalAnswerMax = 259;
inline constexpr std::size_t kZelkoPriorityAnswerMax = 31;

enum class ZelkoWait { Signalled, TimedOut, Closed };

struct ZelkoTaken {
  ZelkoWait result = ZelkoWait::TimedOut;
  std::string answer;
  bool finalAnswer = false;  // the answer that follows a NAK: the end of a move or homing run
};

class TzelkoCOM_thread {
 public:
  TzelkoCOM_thread(std::shared_ptr<platform::SerialPort> port, platform::Clock& clock);
  ~TzelkoCOM_thread();
  TzelkoCOM_thread(const TzelkoCOM_thread&) = delete;
  TzelkoCOM_thread& operator=(const TzelkoCOM_thread&) = delete;

  // Starts the loop; returns once it runs (both channels may then send).
  void start();
  // Ends the loop: state 10, every waiter woken with Closed, the read released; returns when the
  // loop has ended.
  void stop();

  // True once the line hung up; nothing can be sent any more.
  bool broken() const;

  // Waits up to `timeout` for the send event of a channel.
  ZelkoWait waitSend(bool priority, std::chrono::milliseconds timeout);
  // Readies a channel for the command about to be written: both send events cleared, an answer
  // still offered on that channel and a half-assembled one discarded, late answers accepted
  // again, and the receive buffer purged unless the other channel still expects an answer.
  // False when the link is closed.
  bool prepareSend(bool priority);
  // Marks the line as hung up and wakes every waiter.
  void markBroken();

  // Takes the next answer of a channel. A time-out releases the send events and makes the
  // channel drop answers until its next command, so a late answer cannot pass for the next one.
  ZelkoTaken takeNormal(std::optional<std::chrono::milliseconds> timeout);
  ZelkoTaken takePriority(std::optional<std::chrono::milliseconds> timeout);
  // Lets the next normal command go without taking an answer.
  void releaseNormalSend();

 private:
  void Execute();
  void handleByte(char c, std::unique_lock<std::mutex>& lock);
  void handOverNormal(std::unique_lock<std::mutex>& lock);
  void handOverPriority(std::unique_lock<std::mutex>& lock);
  void close(bool broken);
  void discardNormalOffer();
  void discardPriorityOffer();
  void releaseAfterNormal(bool nak);
  void releaseAfterPriority();
  // Waits on `event` with an optional time-out; Closed when the link closed meanwhile.
  ZelkoWait waitOn(platform::Event& event, std::optional<std::chrono::steady_clock::time_point> deadline);

  std::shared_ptr<platform::SerialPort> port_;
  platform::Clock& clock_;
  std::thread thread_;
  std::atomic<bool> terminate_{false};

  platform::Event hEventThreadRun;
  platform::Event hEventRxSend;
  platform::Event hEventRxSend_MB;
  platform::Event hEventRxCompl;
  platform::Event hEventRxCompl_MB;
  platform::Event hEventRxContinue;
  platform::Event hEventRxContinue_MB;
  platform::Event hEventThreadEnd;

  mutable std::mutex mutex_;
  std::string normalAnswer_;
  std::string priorityAnswer_;
  short state_ = kZelkoIdle;
  short savedState_ = kZelkoIdle;
  bool normalOffered_ = false;  // handed over, not yet taken
  bool priorityOffered_ = false;
  bool normalAbandoned_ = false;  // its taker timed out: drop answers until the next command
  bool priorityAbandoned_ = false;
  bool normalAwaited_ = false;  // a normal command (or a started move) still expects an answer
  bool priorityAwaited_ = false;
  bool finalPending_ = false;  // a NAK was taken: the next normal answer ends the motion
  bool closed_ = false;
  bool broken_ = false;
};

}  // namespace machine
