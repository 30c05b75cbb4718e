// The homing dialog "Referenzfahrt" on Qt Widgets: a view of machine::TReferenzfahrtForm with its
// axis boxes, start, cancel and close buttons, and the timer that polls the limit inputs.
//
// Return and Enter start nothing: only a click on "S&tarten" homes.
//
// Thread context: GUI thread. exec() is modal and blocks until the dialog closes; open() shows it
// without blocking. The model is not owned. A close is refused while the machine homes.
#pragma once

#include <array>

#include "machine/dialogs/HomingDialog.h"
#include "platform/qt/QtSafeDialog.h"

class QCheckBox;
class QFrame;
class QPushButton;
class QTimer;

namespace machineqt {

class HomingDialogView final : public platform::QtSafeDialog {
 public:
  HomingDialogView(machine::TReferenzfahrtForm& model, QWidget* parent = nullptr);
  ~HomingDialogView() override;

  // Activates the model (worker, controller initialisation, timer) and shows the dialog.
  int exec() override;
  void open() override;

  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void aktivieren();
  void anzeigen();
  // "&Schließen": the dialog closes, and done() runs the model's OnClose.
  void SchliessenBitBtnOnClick();

  machine::TReferenzfahrtForm& model_;
  QFrame* shape_ = nullptr;
  QFrame* panel_ = nullptr;
  std::array<QCheckBox*, 4> achsen_{};
  QPushButton* starten_ = nullptr;
  QPushButton* abbrechen_ = nullptr;
  QPushButton* schliessen_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace machineqt
