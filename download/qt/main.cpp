// ranvik: the firmware download utility. Creates the download window's model and its Qt view,
// and runs the event loop. It takes no arguments.
#include <QApplication>
#include <clocale>

#include "DownloadWindow.h"
#include "download/DownloadForm.h"
#include "platform/Clock.h"
#include "platform/qt/QtGuiDispatcher.h"
#include "platform/qt/QtUiServices.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(download::kApplicationTitle));
  std::setlocale(LC_NUMERIC, "C");

  platform::QtUiServices ui;
  platform::QtGuiDispatcher gui;
  download::TForm1 form(download::DownloadFormServices{ui, gui, platform::systemClock()});
  form.FormCreate();

  downloadqt::DownloadWindow window(form);
  ui.setParent(&window);
  window.show();
  QApplication::exec();
  return 0;
}
