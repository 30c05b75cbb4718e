// What the machine dialogs (parameters, homing, jogging) work with, and the hand-over of their
// workers' control changes to the GUI thread.
//
// Thread context: the services are used on the GUI thread; GuiHandOver::post may be called from
// a worker. Every reference must outlive the dialogs; the back-ends are replaced only by the
// connection step, which never runs while a dialog is shown.
#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "machine/CommandLayer.h"
#include "machine/ControllerBackends.h"
#include "machine/SharedParameters.h"
#include "platform/Clock.h"
#include "platform/CommandWorker.h"
#include "platform/GuiDispatcher.h"
#include "platform/UiServices.h"

namespace machine {

struct MachineDialogServices {
  platform::UiServices& ui;
  platform::GuiDispatcher& gui;
  platform::Clock& clock;
  MachineParameterStore& params;
  ControllerBackends& backends;
};

// Shows a failure code with the dialog's caption, as the controller type wants it (GUI thread).
void dialogFehlerMelden(const MachineDialogServices& services, int code, const std::string& caption);

// Ends a dialog's worker when its dialog goes. A command still under way is stopped with `stopp`
// and the worker's requests to the GUI thread are served until it can be ended (GUI thread).
void dialogWorkerBeenden(const MachineDialogServices& services, std::unique_ptr<platform::CommandWorker>& worker,
                         void (CommandLayer::*stopp)());

// Posts closures to the GUI thread that are skipped once their owner is gone, and tells the
// owner's view after each one that the model changed.
class GuiHandOver {
 public:
  explicit GuiHandOver(platform::GuiDispatcher& gui) : gui_(gui) {}

  // The view's refresh, called on the GUI thread after each posted change.
  std::function<void()> onChanged;

  void post(std::function<void()> change) {
    gui_.post([alive = std::weak_ptr<char>(alive_), change = std::move(change), this] {
      if (alive.expired()) return;
      change();
      if (onChanged) onChanged();
    });
  }
  // Runs `task` on the GUI thread and waits for it (a box); skipped once the owner is gone.
  void invokeAndWait(const std::function<void()>& task) {
    gui_.invokeAndWait([alive = std::weak_ptr<char>(alive_), &task] {
      if (!alive.expired()) task();
    });
  }
  void changed() {
    if (onChanged) onChanged();
  }

 private:
  platform::GuiDispatcher& gui_;
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

// A fault that is no failure code ended a dialog's command on its worker: the axes are stopped
// with `stopp` (whatever that fails with), then the fault is shown in the program's box on the
// GUI thread while the worker waits.
void reportDialogFault(const MachineDialogServices& services, GuiHandOver& gui, CommandLayer& steuerung,
                       void (CommandLayer::*stopp)(), std::exception_ptr fault);

}  // namespace machine
