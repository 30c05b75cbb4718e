// The box of an uncaught exception and the drop of an uncaught failure code.
#include "Uncaught.h"

#include <cstdio>
#include <string>

#include "MainForm.h"
#include "machine/TraceLog.h"
#include "machine/UnexpectedFault.h"

namespace app {

namespace {

// GUI thread only, so a plain flag: set while the box of one failure is open.
bool boxOffen = false;

std::string describe(std::exception_ptr failure, bool& code) {
  code = false;
  try {
    std::rethrow_exception(failure);
  } catch (int thrown) {
    code = true;
    return "Fehlercode " + std::to_string(thrown) + " nicht behandelt";
  } catch (...) {
    return machine::unexpectedFaultText(std::current_exception());
  }
}

}  // namespace

void handleUncaught(platform::UiServices& ui, std::exception_ptr failure) noexcept {
  try {
    bool code = false;
    const std::string text = describe(failure, code);
    std::fprintf(stderr, "veltris: %s\n", text.c_str());
    machine::Protokoll_schreiben("unbehandelt: " + text);
    if (code || boxOffen) return;
    boxOffen = true;
    try {
      ui.messageBox(text, kProgrammname, platform::MsgButtons::Ok, platform::MsgIcon::Error);
    } catch (...) {
      std::fprintf(stderr, "veltris: die Fehlermeldung konnte nicht gezeigt werden\n");
    }
    boxOffen = false;
  } catch (...) {
    // Out of memory for the text itself: nothing more can be said.
    std::fputs("veltris: unbehandelter Fehler\n", stderr);
  }
}

void runCatchingAll(platform::UiServices& ui, const std::function<void()>& handler) noexcept {
  try {
    handler();
  } catch (...) {
    handleUncaught(ui, std::current_exception());
  }
}

}  // namespace app
