// The main window as the program builds it, for the Qt tests: a temporary program folder,
// scripted user-interface services, the Qt dispatcher and canvas, the test's controller factory,
// the object types (the "PUNKT" test type unless given) with a number of "PUNKT" rows, and the
// window (not yet shown), started with `args` (the program path first). The window's boxes and
// dialogs go to `boxes` when given, else to the rig's scripted services.
//
// Thread context: GUI thread. The factory must outlive the rig; the rig puts the program folder
// back when it goes.
#pragma once

#include <QTemporaryDir>
#include <QtGlobal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestPointType.h"
#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "machine/SharedParameters.h"
#include "platform/Clock.h"
#include "platform/ProgramPath.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "support/ScriptedUi.h"

namespace apptest {

class WindowRig {
 public:
  WindowRig(machine::BackendFactory& factory, int points, panel::ObjectTypeTable table = TestPointType::table(),
            const std::vector<std::string>& args = {"veltris"}, platform::UiServices* boxes = nullptr)
      : previousFolder_(platform::programFolder()), types(std::move(table)) {
    if (!folder_.isValid()) qFatal("no temporary folder");
    form = std::make_unique<app::TMainForm>(app::MainFormServices{boxes != nullptr ? *boxes : ui,
                                                                  gui,
                                                                  canvas,
                                                                  platform::systemClock(),
                                                                  factory,
                                                                  params,
                                                                  types,
                                                                  folder() / "veltris",
                                                                  {},
                                                                  [](const std::filesystem::path&) { return true; }});
    form->OnCreate(args);
    form->NeuesDokument();
    TestPointType::appendRows(*form, points);
    window = std::make_unique<appqt::MainWindow>(*form, canvas);
  }

  ~WindowRig() {
    window.reset();
    form.reset();
    TestPointType::reset();
    platform::setProgramFolder(previousFolder_);
  }

  WindowRig(const WindowRig&) = delete;
  WindowRig& operator=(const WindowRig&) = delete;

  std::filesystem::path folder() const { return folder_.path().toStdString(); }

  template <class W>
  W* child(const char* name) {
    W* widget = window->findChild<W*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return widget;
  }

 private:
  QTemporaryDir folder_;
  std::filesystem::path previousFolder_;

 public:
  testsupport::ScriptedUi ui;
  platform::QtGuiDispatcher gui;
  platform::QtCanvas canvas{platform::Size{400, 300}};
  machine::MachineParameterStore params;
  panel::ObjectTypeTable types;
  std::unique_ptr<app::TMainForm> form;
  std::unique_ptr<appqt::MainWindow> window;
};

}  // namespace apptest
