// The receiver thread of the serial protocol driver: it reads the port byte by byte, assembles
// the controller's answers on the normal and the '@' channel and hands each one to the thread
// that waits for it.
//
// The controller answers in order: every command gets one answer, and a command that it
// acknowledged with NAK has started a motion (a move, a homing run, or whatever else of a
// command file moves the machine) and sends one more, its final answer, when that ends. The
// receiver keeps that account itself, from the bytes it reads, whatever the command's text: a
// final answer is always taken as the final answer of the motion that announced it, and given
// to the thread that waits for it, or dropped when nobody does. A move or homing run whose
// answer is late may still start: the normal commands after it wait until its answer has come
// (and, after a NAK, its final answer), so that none of them runs into the moving controller. An answer that nobody
// waits for (its taker gave up, or no command asked for it) is dropped when it comes; the receiver never waits for a
// taker, so no answer can stall the link.
//
// Thread context: the loop runs on its own thread from start() to stop(). The sender-side calls
// (beginCommand, the take calls, releaseNormalSend, disownFinal, boundFinalWait) come from the
// threads that send commands: one normal command at a time, '@' commands possibly from another
// thread while a motion waits for its final answer. beginCommand and the take calls block up to
// their time-out (a final answer's wait without limit until a stop bounds it) and return Closed
// once the link is closed or broken. All shared state is behind one mutex with one condition
// variable.
//
// Ownership: shared by the driver and every thread that waits on it, so that a waiter woken by
// stop() still finds it. The port is shared with the driver, which writes to it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
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
inline constexpr short kZelkoRest = 30;           // rest of a normal answer (or a motion's final answer)
inline constexpr short kZelkoPriorityFirst = 50;  // first byte of an '@' answer
inline constexpr short kZelkoPriorityRest = 60;   // rest of an '@' answer

// Longest answers kept, in bytes; further bytes are dropped until the answer's end byte.
inline constexpr std::size_t kZelkoNormalAnswerMax = 259;
inline constexpr std::size_t kZelkoPriorityAnswerMax = 31;
// Most answers of a series kept for their takers; further ones are dropped.
inline constexpr std::size_t kZelkoSeriesAnswersMax = 65536;

enum class ZelkoWait { Signalled, TimedOut, Closed };

struct ZelkoTaken {
  ZelkoWait result = ZelkoWait::TimedOut;
  std::string answer;
  bool finalAnswer = false;  // the answer that ends a motion
  bool afterStop = false;    // timed out: a stop was sent and the motion's final answer never came
};

class TzelkoCOM_thread {
 public:
  TzelkoCOM_thread(std::shared_ptr<platform::SerialPort> port, platform::Clock& clock);
  ~TzelkoCOM_thread();
  TzelkoCOM_thread(const TzelkoCOM_thread&) = delete;
  TzelkoCOM_thread& operator=(const TzelkoCOM_thread&) = delete;

  // Starts the loop; returns once it runs (both channels may then send).
  void start();
  // Ends the loop: every waiter woken with Closed, the read released; returns when the loop has
  // ended.
  void stop();

  // True once the line hung up; nothing can be sent any more.
  bool broken() const;
  // Marks the line as hung up and wakes every waiter.
  void markBroken();

  // Waits up to `timeout` until a command may go on its channel, then readies the channel for it:
  // a normal command waits for the exchange before it (and for the final answer of a motion that
  // is still running, or for the late answer of a move whose answer wait ran out); an '@'
  // command for the '@' exchange before it and for a normal command's answer, but not for a
  // motion's final answer. `motion`: a move or homing run, whose late answer is awaited by the
  // command after it. `series`: a normal command that several answers follow in a row (the
  // program memory's listing and erasures): each one that comes is kept for the takers, in order,
  // until a wait for one of them runs out or the next normal command begins; '@' commands may go
  // meanwhile.
  ZelkoWait beginCommand(bool priority, bool motion, std::chrono::milliseconds timeout, bool series = false);

  // Takes the answer to the command begun last on the channel, or the final answer of the motion
  // that a taken NAK started (nullopt: without limit, until a stop bounds it). A time-out gives
  // the answer up: it is dropped when it comes.
  ZelkoTaken takeNormal(std::optional<std::chrono::milliseconds> timeout);
  ZelkoTaken takePriority(std::optional<std::chrono::milliseconds> timeout);
  // Gives the normal command's answer up without waiting for it.
  void releaseNormalSend();
  // The NAK that started a motion was refused by its caller, who will not wait for the final
  // answer: it is dropped when it comes.
  void disownFinal();
  // A stop was sent: a motion's final answer is awaited until `deadline` at the most.
  void boundFinalWait(std::chrono::steady_clock::time_point deadline);
  // How many answers nobody waited for have been dropped so far; waits up to `timeout` until
  // that count reaches `count`.
  std::uint64_t droppedAnswers() const;
  void awaitDropped(std::uint64_t count, std::chrono::milliseconds timeout);

 private:
  enum class Phase { Free, Answer, Final, Series };
  using TimePoint = std::chrono::steady_clock::time_point;

  void Execute();
  void handleByte(char c, std::unique_lock<std::mutex>& lock);
  void normalComplete(const std::string& answer);
  void priorityComplete(const std::string& answer);
  void drop(const std::string& answer);
  void close(bool broken);
  bool mayBegin(bool priority) const;
  // Nothing received is left unhandled: no byte waits in the port, and the loop is in its read.
  bool caughtUp() const;
  // A final answer that came while nobody waits for it is dropped, and the channel freed.
  void settleUnwantedFinal();
  // The answers of a series that nobody took any more are dropped, and the channel freed.
  void settleSeries();
  // Waits until `ready` holds, the deadline passes or the link closes.
  template <typename Ready>
  ZelkoWait waitUntil(std::unique_lock<std::mutex>& lock, const std::optional<TimePoint>& deadline, Ready ready);

  std::shared_ptr<platform::SerialPort> port_;
  platform::Clock& clock_;
  std::thread thread_;
  std::atomic<bool> terminate_{false};
  // The loop waits in its read: every byte that came has been handled.
  std::atomic<bool> reading_{false};
  platform::Event hEventThreadRun;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  // Answers in assembly.
  std::string normalAnswer_;
  std::string priorityAnswer_;
  short state_ = kZelkoIdle;
  short savedState_ = kZelkoIdle;
  // Answers handed over and not yet taken.
  std::deque<ZelkoTaken> normalReady_;
  std::optional<std::string> priorityReady_;
  Phase normalPhase_ = Phase::Free;
  Phase priorityPhase_ = Phase::Free;
  bool motionCommand_ = false;  // the normal command begun last is a move or homing run
  bool seriesCommand_ = false;  // the normal command begun last is answered by a series
  bool finalOwed_ = false;      // a motion started and its final answer has not come yet
  bool finalClaimed_ = false;   // somebody waits for that final answer
  bool startOwed_ = false;      // a move's answer timed out and has not come yet
  int normalTakers_ = 0;        // threads waiting in takeNormal
  // A taker gave up while its answer was half assembled: the rest still comes and completes it.
  bool partialNormal_ = false;
  bool partialPriority_ = false;
  std::optional<TimePoint> stopDeadline_;
  std::uint64_t dropped_ = 0;
  bool closed_ = false;
  bool broken_ = false;
  // Lines for the trace log, written outside the lock.
  std::deque<std::string> traceLines_;
};

}  // namespace machine
