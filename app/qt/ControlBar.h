// The toolbars of the main window on Qt Widgets, in `ControlBar`: `AbmessungenToolBar` (panel
// size, default depth, cutter, safety plane, fit button) and `NutzenfertigungToolBar` (spacing
// and count of the copies, fit button). A view of app::TMainForm: it shows the model's edit
// texts and flags, hands typed texts to the model when an edit is left, and calls its handlers.
//
// Thread context: GUI thread. The model must outlive the bar.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "app/MainForm.h"

class QAction;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;

namespace appqt {

class ControlBar final : public QWidget {
 public:
  // `command` runs a handler of the model the way the window runs a user's command; `call` runs
  // one that comes from an edit's own event.
  using Runner = std::function<void(const std::function<void()>&)>;

  ControlBar(app::TMainForm& form, Runner command, Runner call, QWidget* parent = nullptr);

  void showState();
  // An edit the user typed into and has not left yet is taken over, with its toolbar's check:
  // before any command, so that a command never goes without what was typed.
  void commitEdits();

 private:
  struct Edit {
    QLineEdit* widget = nullptr;
    app::EditState app::TMainForm::*state = nullptr;
    QLabel* label = nullptr;  // follows the edit's enabled flag; may be null
    QString shown;            // the model's text as last shown
  };
  struct Bar {
    QToolBar* widget = nullptr;
    app::ControlState app::TMainForm::*state = nullptr;
    std::vector<Edit> edits;
    void (app::TMainForm::*onExit)() = nullptr;
  };

  Bar buildBar(const char* name, app::ControlState app::TMainForm::*state, void (app::TMainForm::*onExit)());
  void addEdit(Bar& bar, const char* label, const char* name, app::EditState app::TMainForm::*state,
               const char* hint = nullptr);
  void addButton(Bar& bar, const char* name, app::ControlState app::TMainForm::*state,
                 void (app::TMainForm::*handler)());
  // The texts of all of the bar's edits into the model, then its check.
  void takeOver(Bar& bar);
  bool typedInto(const Bar& bar) const;

  app::TMainForm& form_;
  Runner command_;
  Runner call_;
  std::vector<Bar> bars_;
  // The fit buttons, shown and hidden through their toolbar actions.
  std::vector<std::pair<QAction*, app::ControlState app::TMainForm::*>> buttons_;
};

}  // namespace appqt
