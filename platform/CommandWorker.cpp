// The command loop and its posting and ending protocol.
#include "CommandWorker.h"

#include <utility>

namespace platform {

CommandWorker::CommandWorker(Handler handler) : handler_(std::move(handler)) {}

CommandWorker::~CommandWorker() {
  if (!thread_.joinable()) return;
  // Busy or idle: ask the loop to stop after the current command and wait for it.
  terminate_ = true;
  befehl_ = 0;
  hEventCmd_.set();
  thread_.join();
}

void CommandWorker::start() {
  if (thread_.joinable()) return;
  terminate_ = false;
  thread_ = std::thread([this] { execute(); });
  hEventRun_.wait();
}

bool CommandWorker::post(int befehl) { return post(befehl, {}); }

bool CommandWorker::post(int befehl, const std::function<void()>& accepted) {
  if (!thread_.joinable()) return false;
  if (hEventIdle_.wait(kIdleWait) != WaitResult::Signalled) return false;
  if (accepted) accepted();
  befehl_ = befehl;
  hEventCmd_.set();
  return true;
}

bool CommandWorker::end() {
  if (!thread_.joinable()) return false;
  if (hEventIdle_.wait(kIdleWait) != WaitResult::Signalled) return false;
  terminate_ = true;
  befehl_ = 0;
  hEventCmd_.set();
  hEventEnd_.wait();
  thread_.join();
  return true;
}

void CommandWorker::execute() {
  hEventRun_.set();
  do {
    hEventIdle_.set();
    hEventCmd_.wait();
    hEventIdle_.reset();
    const int befehl = befehl_.load();
    if (befehl != 0 && handler_) handler_(befehl);
  } while (!terminate_.load());
  hEventEnd_.set();
}

}  // namespace platform
