// The run worker `TTVXThread`: a command worker that measures the tool length (command 1) or
// performs the milling run (command 2), one command at a time.
//
// Thread context: start, post and end on the GUI thread (the owner); the commands run on the
// worker. post and end wait at most 50 ms for the worker to be idle and give up otherwise. A
// failure that escapes a command is caught on the worker and written to the trace log, so that it
// can never end the thread. The destructor waits for a running command to return.
#pragma once

#include <functional>

#include "platform/CommandWorker.h"

namespace app {

class TTVXThread {
 public:
  static constexpr int kWerkzeuglaengeMessen = 1;
  static constexpr int kFraesen = 2;

  TTVXThread(std::function<void()> werkzeuglaengeMessen, std::function<void()> fraesenAusfuehren);

  // Starts the thread and returns once it runs.
  void start() { worker_.start(); }
  // False when the worker was busy and the command was dropped.
  bool post(int befehl) { return worker_.post(befehl); }
  // Ends and joins the worker if it is idle within 50 ms; false otherwise.
  bool end() { return worker_.end(); }
  bool running() const { return worker_.running(); }

 private:
  void execute(int befehl);

  std::function<void()> werkzeuglaengeMessen_;
  std::function<void()> fraesenAusfuehren_;
  platform::CommandWorker worker_;
};

}  // namespace app
