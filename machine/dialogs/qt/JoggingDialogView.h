// The jogging dialog "Manuelle Fahrt" on Qt Widgets: a view of machine::TManuelleFahrtForm with
// the step width, the axis and relay buttons, the speed bar, the current and stored positions,
// and the keyboard control.
//
// Return and Enter move nothing: only a click on a button, or a jog key with keyboard control on,
// starts a move.
//
// Thread context: GUI thread. exec() is modal and blocks until the dialog closes; open() shows it
// without blocking. The model is not owned. A close is refused while a move is under way.
#pragma once

#include <array>

#include "machine/dialogs/JoggingDialog.h"
#include "platform/qt/QtSafeDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTableWidget;
class QWidget;

namespace machineqt {

class JoggingDialogView final : public platform::QtSafeDialog {
 public:
  JoggingDialogView(machine::TManuelleFahrtForm& model, QWidget* parent = nullptr);
  ~JoggingDialogView() override;

  int exec() override;
  void open() override;
  void done(int result) override;

 protected:
  // With keyboard control on, the jog keys of any child go to the model, with their repeats and
  // their releases. A click into the width edit, or Tab to it, chooses the free width.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void aktivieren();
  void anzeigen();
  bool tasteFuehren(QKeyEvent* event);
  void tasteLosgelassen(QKeyEvent* event);
  // The text of the width edit into the model, as on leaving the edit.
  void schrittweiteUebernehmen();

  machine::TManuelleFahrtForm& model_;
  std::array<QRadioButton*, 4> schrittweite_{};
  QLineEdit* schrittweiteEdit_ = nullptr;
  QWidget* panel_ = nullptr;
  QPushButton* relaisOn_ = nullptr;
  QPushButton* relaisOff_ = nullptr;
  QScrollBar* speed_ = nullptr;
  QLabel* speedAnzeige_ = nullptr;
  QTableWidget* akt_ = nullptr;
  QTableWidget* pos_ = nullptr;
  QPushButton* anfahren_ = nullptr;
  QPushButton* loeschen_ = nullptr;
  QPushButton* zuweisen_ = nullptr;
  QPushButton* editieren_ = nullptr;
  QCheckBox* tastatur_ = nullptr;
  QPushButton* abbrechen_ = nullptr;
  QPushButton* schliessen_ = nullptr;
  bool fuellen_ = false;
};

}  // namespace machineqt
