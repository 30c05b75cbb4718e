// The delivery of every event, guarded.
#include "Application.h"

#include <exception>

#include "app/Uncaught.h"

namespace appqt {

Application::Application(int& argc, char** argv, platform::UiServices& ui) : QApplication(argc, argv), ui_(ui) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    app::handleUncaught(ui_, std::current_exception());
    return false;
  }
}

}  // namespace appqt
