// Trace log writing: one append per line, serialised across threads.
#include "TraceLog.h"

#include <mutex>

#include "platform/ProgramPath.h"
#include "platform/TextFile.h"

namespace machine {

namespace {

std::mutex& logMutex() {
  static std::mutex m;
  return m;
}

// Set by endTraceLog, cleared by Protokoll_loeschen; guarded by logMutex.
bool& logEnded() {
  static bool ended = false;
  return ended;
}

void removeLog() {
  std::error_code ec;
  std::filesystem::remove(Protokolldatei(), ec);
}

}  // namespace

std::filesystem::path Protokolldatei() { return platform::programFolder() / "~protokoll.log"; }

void Protokoll_schreiben(std::string_view text) {
  const std::string line = Steuerzeichen_darstellen(text);
  std::lock_guard lock(logMutex());
  if (logEnded()) return;
  platform::appendTextLine(Protokolldatei(), line);
}

void Protokoll_loeschen() {
  std::lock_guard lock(logMutex());
  logEnded() = false;
  removeLog();
}

void endTraceLog() {
  std::lock_guard lock(logMutex());
  logEnded() = true;
  removeLog();
}

std::string Steuerzeichen_darstellen(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case 2:
        out += "<STX>";
        break;
      case 3:
        out += "<ETX>";
        break;
      case 6:
        out += "<ACK>";
        break;
      case 7:
        out += "<BEL>";
        break;
      case 13:
        out += "<CR>";
        break;
      case 21:
        out += "<NAK>";
        break;
      default:
        out.push_back(c);
        break;
    }
  }
  return out;
}

}  // namespace machine
