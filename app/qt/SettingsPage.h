// The "Einstellungen" page `ERTabSheet` of the main window: the properties grid of the selected
// object with its in-place editors and popup menu, and the order grid with its buttons. A view
// of app::TMainForm: it shows the model's grids, editors and enabled flags and calls its handlers.
//
// Thread context: GUI thread. The model must outlive the page.
#pragma once

#include <QWidget>
#include <functional>

#include "app/MainForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QToolButton;

namespace appqt {

class StringGridModel;

class SettingsPage final : public QWidget {
 public:
  // `command` runs a handler of the model the way the window runs a user's command; `call` runs
  // one that comes from an editor's own event.
  using Runner = std::function<void(const std::function<void()>&)>;

  SettingsPage(app::TMainForm& form, Runner command, Runner call, QWidget* parent = nullptr);

  void showState();
  // Hands a text typed into the free-text editor to the model, if it differs from what the
  // model has: before any command, so that a command never loses what was typed.
  void commitEditor();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildEditors();
  void showEditors();
  void showOrderGrid();
  // Rows of the order grid that fit its viewport.
  int visibleOrderRows() const;

  app::TMainForm& form_;
  Runner command_;
  Runner call_;
  unsigned shownEditor_ = ~0u;
  unsigned shownOrder_ = ~0u;

  QLabel* EigenschaftenLabel_ = nullptr;
  QTableView* EigenschaftenStringGrid_ = nullptr;
  StringGridModel* eigenschaften_ = nullptr;
  QMenu* EigenschaftenPopupMenu_ = nullptr;
  QTableView* ReihenfolgeStringGrid_ = nullptr;
  StringGridModel* reihenfolge_ = nullptr;
  QToolButton* NachObenSpeedButton_ = nullptr;
  QToolButton* NachUntenSpeedButton_ = nullptr;
  QToolButton* DelSpeedButton_ = nullptr;

  QLabel* esgPanel_ = nullptr;
  QLineEdit* esgMaskEdit_ = nullptr;
  QComboBox* esgComboBox_ = nullptr;
  QLineEdit* esgMaskEdit2_ = nullptr;
  QToolButton* esgButton_ = nullptr;
};

}  // namespace appqt
