// The program's Qt application: whatever an event handler of any window or dialog lets through
// is dropped or shown in a box (app/Uncaught.h) where the event loop meets it, and the loop goes
// on, instead of unwinding through Qt.
//
// Thread context: GUI thread. The services are not owned and must outlive the application.
#pragma once

#include <QApplication>

#include "platform/UiServices.h"

namespace appqt {

class Application final : public QApplication {
 public:
  Application(int& argc, char** argv, platform::UiServices& ui);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  platform::UiServices& ui_;
};

}  // namespace appqt
