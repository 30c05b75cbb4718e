// Posting of the step generator's tones and boxes to the GUI thread.
#include "LptUi.h"

namespace machine {

namespace {

constexpr unsigned kLateStepHz = 440;
constexpr unsigned kLateStepMs = 1;

}  // namespace

LptUi::LptUi(platform::UiServices& ui, platform::GuiDispatcher& gui) : ui_(ui), gui_(gui) {}

void LptUi::beep(unsigned hz, unsigned ms) {
  gui_.post([&ui = ui_, hz, ms] { ui.Beep(hz, ms); });
}

void LptUi::lateStepBeep() {
  if (lateBeepQueued_->exchange(true)) return;
  gui_.post([&ui = ui_, queued = lateBeepQueued_] {
    queued->store(false);
    ui.Beep(kLateStepHz, kLateStepMs);
  });
}

void LptUi::postWarning(const std::string& text, const std::string& caption) {
  gui_.post([&ui = ui_, text, caption] {
    ui.messageBox(text, caption, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  });
}

void LptUi::warning(const std::string& text, const std::string& caption) {
  gui_.invokeAndWait([&] { ui_.messageBox(text, caption, platform::MsgButtons::Ok, platform::MsgIcon::Warning); });
}

}  // namespace machine
