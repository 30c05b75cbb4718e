// The program-memory dialog "Kestrin-Mikrocontroller Unit" on Qt Widgets: a view of
// app::TFlashDlg with the pass count, the seven slot buttons in the colours of their occupancy,
// the operation buttons, the log pane (commands black, answers blue) and the close button.
// Return and Enter press no button: only a click writes to or erases the program memory.
//
// Thread context: GUI thread. exec() is modal and blocks until the dialog closes; while an
// operation runs on the model's worker the dialog refuses to close. The model is not owned.
#pragma once

#include <array>

#include "app/dialogs/FlashDialog.h"
#include "platform/qt/QtSafeDialog.h"

class QLineEdit;
class QGroupBox;
class QPushButton;
class QTextEdit;
class QTimer;
class QToolButton;

namespace appqt {

class FlashDialogView final : public platform::QtSafeDialog, public app::TFlashDlgView {
 public:
  explicit FlashDialogView(app::TFlashDlg& model, QWidget* parent = nullptr);
  ~FlashDialogView() override;

  // Shows the dialog modally: activation, then the user's operations until it is closed.
  int exec() override;

  void showState() override;
  void closeDialog() override;
  void done(int result) override;

 private:
  void showLog();

  app::TFlashDlg& model_;
  QLineEdit* DurchlaeufeEdit_ = nullptr;
  QGroupBox* ProgrammGroupBox_ = nullptr;
  // The slot buttons SpeedButton1 ... SpeedButton7.
  std::array<QToolButton*, app::kProgrammplaetze> SpeedButton_{};
  QPushButton* ProgrammSchreibenButton_ = nullptr;
  QPushButton* ProgrammAuslesenButton_ = nullptr;
  QPushButton* ProgrammLoeschenButton_ = nullptr;
  QPushButton* AlleProgrammeLoeschenButton_ = nullptr;
  QTextEdit* RichEdit_ = nullptr;
  QPushButton* SchiessenBitBtn_ = nullptr;
  QTimer* CloseTimer_ = nullptr;
  std::size_t shownLines_ = 0;
};

}  // namespace appqt
