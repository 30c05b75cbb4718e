// Command dispatch of the run worker.
#include "RunWorker.h"

#include <exception>
#include <string>
#include <utility>

#include "machine/TraceLog.h"

namespace app {

TTVXThread::TTVXThread(std::function<void()> werkzeuglaengeMessen, std::function<void()> fraesenAusfuehren)
    : werkzeuglaengeMessen_(std::move(werkzeuglaengeMessen)),
      fraesenAusfuehren_(std::move(fraesenAusfuehren)),
      worker_([this](int befehl) { execute(befehl); }) {}

void TTVXThread::execute(int befehl) {
  try {
    switch (befehl) {
      case kWerkzeuglaengeMessen:
        if (werkzeuglaengeMessen_) werkzeuglaengeMessen_();
        break;
      case kFraesen:
        if (fraesenAusfuehren_) fraesenAusfuehren_();
        break;
      default:
        break;
    }
  } catch (int code) {
    machine::Protokoll_schreiben("TTVXThread: Fehlercode " + std::to_string(code));
  } catch (const std::exception& e) {
    machine::Protokoll_schreiben(std::string("TTVXThread: ") + e.what());
  } catch (...) {
    machine::Protokoll_schreiben("TTVXThread: unbekannte Ausnahme");
  }
}

}  // namespace app
