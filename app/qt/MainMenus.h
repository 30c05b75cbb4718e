// The menu bar of the main window on Qt Widgets: "Datei", "Ansicht", "Einstellungen",
// "Steuerung", the controller's own menu, "Info" and "Beenden", with their items, separators and
// shortcuts. A view of app::TMainForm: every item shows its model's caption, check, enabled and
// visible flags and calls its handler; each carries the model's name as its objectName.
//
// Thread context: GUI thread. The window and the model must outlive the menus.
#pragma once

#include <QKeySequence>
#include <functional>
#include <vector>

#include "app/MainForm.h"

class QAction;
class QMainWindow;
class QMenu;

namespace appqt {

class MainMenus {
 public:
  // `command` runs a handler of the model the way the window runs a user's command.
  using Runner = std::function<void(const std::function<void()>&)>;
  using Handler = std::function<void(app::TMainForm&)>;
  using State = app::MenuItemState app::TMainForm::*;

  MainMenus(QMainWindow& window, app::TMainForm& form, Runner command);

  void showState();

 private:
  struct Entry {
    const char* name;  // null for a separator the model does not name
    State state;       // null likewise
    Handler handler;   // null for a separator, or an item that does nothing
    bool checkable = false;
  };

  // A menu of the bar; its shortcut opens it.
  void addMenu(const char* name, State state, const QKeySequence& shortcut, const std::vector<Entry>& entries);
  // An item of the bar itself.
  void addBarItem(const char* name, State state, const QKeySequence& shortcut, Handler handler);
  QAction* connectItem(QAction* action, const char* name, State state, Handler handler);

  QMainWindow& window_;
  app::TMainForm& form_;
  Runner command_;
  std::vector<std::pair<QMenu*, State>> menus_;
  std::vector<std::pair<QAction*, State>> items_;
};

}  // namespace appqt
