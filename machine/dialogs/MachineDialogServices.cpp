// The failure report, the unexpected fault and the end of the workers that the machine dialogs share.
#include "MachineDialogServices.h"

#include "machine/UnexpectedFault.h"

namespace machine {

void dialogFehlerMelden(const MachineDialogServices& services, int code, const std::string& caption) {
  Maschinenparameter p = services.params.snapshot();
  CommandLayer(p, services.backends, services.params.bAbbruch).Steuerungsfehler_melden(services.ui, code, caption);
}

void dialogWorkerBeenden(const MachineDialogServices& services, std::unique_ptr<platform::CommandWorker>& worker,
                         void (CommandLayer::*stopp)()) {
  if (!worker || !worker->running() || worker->end()) return;
  try {
    Maschinenparameter p = services.params.snapshot();
    CommandLayer steuerung(p, services.backends, services.params.bAbbruch);
    (steuerung.*stopp)();
  } catch (int) {
    // The worker is awaited all the same.
  }
  while (!worker->end()) services.gui.runPending();
}

void reportDialogFault(const MachineDialogServices& services, GuiHandOver& gui, CommandLayer& steuerung,
                       void (CommandLayer::*stopp)(), std::exception_ptr fault) {
  try {
    (steuerung.*stopp)();
  } catch (...) {
    // The fault is shown all the same.
  }
  gui.invokeAndWait([&] { showUnexpectedFault(services.ui, fault); });
}

}  // namespace machine
