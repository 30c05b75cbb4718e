// veltris: the panel program. Creates the main window's model and its Qt view, and runs the
// event loop.
#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Application.h"
#include "MainWindow.h"
#include "app/MainForm.h"
#include "app/ProgramFiles.h"
#include "app/Uncaught.h"
#include "machine/DefaultBackendFactory.h"
#include "machine/SharedParameters.h"
#include "panel/ObjectTypes.h"
#include "platform/Clock.h"
#include "platform/ProgramPath.h"
#include "platform/TerminationSignals.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtGerman.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "platform/qt/QtUiServices.h"

namespace {

// The program from its main window's creation to the end of the event loop.
int run(platform::QtUiServices& ui, const std::vector<std::string>& args) {
  platform::QtGuiDispatcher gui;
  platform::QtCanvas canvas(platform::Size{800, 600});
  machine::DefaultBackendFactory backends(ui, gui);
  const panel::ObjectTypeTable objectTypes = panel::standardObjectTypes();

  app::TMainForm form(app::MainFormServices{ui, gui, canvas, platform::systemClock(), backends,
                                            machine::machineParameters(), objectTypes, platform::executablePath(),
                                            app::xdgConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
                                            app::folderWritable});
  // The program starts without a document, as "Datei" > "Neu" or "Öffnen..." expect. A failure
  // of the creation is dropped or shown, and the window comes up all the same.
  app::runCatchingAll(ui, [&] { form.OnCreate(args); });

  // SIGINT, SIGTERM and SIGHUP end a running job and close the window the normal way.
  platform::TerminationSignals terminationSignals;
  appqt::MainWindow window(form, canvas);
  window.watchTerminationSignals(terminationSignals);
  ui.setParent(&window);
  window.move(0, 0);
  window.showMaximized();
  // 0 after a normal close; the status of a second termination signal when it cut the close short.
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  platform::QtUiServices ui;
  appqt::Application application(argc, argv, ui);
  // Qt sets the process locale from the desktop; numbers in files and texts keep their '.'.
  std::setlocale(LC_NUMERIC, "C");
  // Qt's own buttons and file dialogs speak the program's language.
  if (!platform::installGermanQtTexts(application)) {
    std::fprintf(stderr, "veltris: Qt-Übersetzungen nicht gefunden, Qt-Dialoge bleiben englisch\n");
  }

  const std::vector<std::string> args(argv, argv + argc);
  // What reaches the entry function is dropped or shown as in the event loop; the program then
  // ends with 0.
  int status = 0;
  app::runCatchingAll(ui, [&] { status = run(ui, args); });
  return status;
}
