// The text and the box of an unexpected fault.
#include "UnexpectedFault.h"

#include <cstdio>

#include "TraceLog.h"

namespace machine {

namespace {

constexpr const char* kUnbekannt = "Unbekannter Fehler";
constexpr const char* kProduktname = "Tessaly";

}  // namespace

std::string unexpectedFaultText(std::exception_ptr fault) noexcept {
  try {
    std::rethrow_exception(fault);
  } catch (const std::exception& e) {
    try {
      const std::string what = e.what();
      return what.empty() ? kUnbekannt : what;
    } catch (...) {
      return kUnbekannt;
    }
  } catch (...) {
    return kUnbekannt;
  }
}

void showUnexpectedFault(platform::UiServices& ui, std::exception_ptr fault) noexcept {
  try {
    const std::string text = unexpectedFaultText(fault);
    Protokoll_schreiben("unerwarteter Fehler: " + text);
    ui.messageBox(text, kProduktname, platform::MsgButtons::Ok, platform::MsgIcon::Error);
  } catch (...) {
    // Out of memory for the text or the box itself: the standard error stream is all that is left.
    std::fputs("veltris: unerwarteter Fehler\n", stderr);
  }
}

}  // namespace machine
