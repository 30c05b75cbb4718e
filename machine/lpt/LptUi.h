// The beeps and warning boxes of the parallel-port step generator and its two back-ends.
//
// Thread context: any thread. Everything the generator thread shows is posted to the GUI thread
// and never waits, so that no box or tone holds up the step timing. A box from a calling thread
// (a setting out of range, a port that cannot be opened) is shown on the GUI thread while the
// caller waits for it to be closed, as a modal box would make it; on the GUI thread it is shown
// at once. The UI services and the dispatcher must outlive the object and every closure it posted.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/GuiDispatcher.h"
#include "platform/UiServices.h"

namespace machine {

// Caption of the step generator's own boxes.
inline constexpr const char* kLptFehlerTitel = "F E H L E R";

class LptUi {
 public:
  LptUi(platform::UiServices& ui, platform::GuiDispatcher& gui);

  // A tone, posted.
  void beep(unsigned hz, unsigned ms);
  // The short tone of a step that came too late, posted only while no earlier one is still
  // waiting: a move whose every step is late must not flood the GUI thread.
  void lateStepBeep();
  // A warning box with an OK button, posted (generator thread).
  void postWarning(const std::string& text, const std::string& caption);
  // A warning box with an OK button; returns once it has been closed (calling threads).
  void warning(const std::string& text, const std::string& caption);

 private:
  platform::UiServices& ui_;
  platform::GuiDispatcher& gui_;
  std::shared_ptr<std::atomic<bool>> lateBeepQueued_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace machine
