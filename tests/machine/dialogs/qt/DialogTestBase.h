// What the Qt tests of the machine dialogs share: a program folder of their own, the scripted
// user interface, the GUI thread's dispatcher, the parameter store and the controller back-ends.
// Thread context: the test thread; the simulated controller is each test's own.
#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "machine/ControllerBackends.h"
#include "machine/MachineParameters.h"
#include "machine/SharedParameters.h"
#include "machine/dialogs/MachineDialogServices.h"
#include "platform/Clock.h"
#include "platform/ProgramPath.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"

namespace machinetest {

class DialogTestBase : public QObject {
 protected:
  // Makes the folder, the dispatcher and the store, which holds `p` with its parameter file in
  // that folder.
  void prepare(machine::Maschinenparameter p) {
    folder = std::make_unique<QTemporaryDir>();
    platform::setProgramFolder(folder->path().toStdString());
    gui = std::make_unique<platform::QtGuiDispatcher>();
    store = std::make_unique<machine::MachineParameterStore>();
    p.Parameterdatei = (folder->path() + QStringLiteral("/veltris_param.dat")).toStdString();
    store->assign(p);
  }
  // Ends what `prepare` made; the back-ends and the simulated controller are to be gone first.
  void release() {
    store.reset();
    gui.reset();
    folder.reset();
    ui.clear();
  }

  template <class W>
  W* child(QWidget* parent, const char* name) {
    auto* w = parent->findChild<W*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no child %s", name);
    return w;
  }
  machine::MachineDialogServices services() { return {ui, *gui, platform::systemClock(), *store, backends}; }

  std::unique_ptr<QTemporaryDir> folder;
  testsupport::ScriptedUi ui;
  std::unique_ptr<platform::QtGuiDispatcher> gui;
  std::unique_ptr<machine::MachineParameterStore> store;
  machine::ControllerBackends backends;
};

}  // namespace machinetest
