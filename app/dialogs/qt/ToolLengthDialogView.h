// The tool-length dialog "WZL-Messung" on Qt Widgets: a view of app::TWZLMessungForm with its
// memo of the measuring position and results and its start, abort and close buttons. Return and
// Enter press no button: only a click starts a measurement.
//
// Thread context: GUI thread. exec() is modal and blocks until the dialog closes; it cannot close
// while a measurement runs. The model is not owned.
#pragma once

#include "app/dialogs/ToolLengthDialog.h"
#include "platform/qt/QtSafeDialog.h"

class QPlainTextEdit;
class QPushButton;

namespace appqt {

class ToolLengthDialogView final : public platform::QtSafeDialog, public app::TWZLMessungFormView {
 public:
  explicit ToolLengthDialogView(app::TWZLMessungForm& model, QWidget* parent = nullptr);
  ~ToolLengthDialogView() override;

  // Shows the dialog modally; the model has been activated for the measuring position.
  int exec() override;

  void showState() override;
  void closeDialog() override;
  void done(int result) override;

 private:
  app::TWZLMessungForm& model_;
  QPlainTextEdit* Memo_ = nullptr;
  QPushButton* StartenBitBtn_ = nullptr;
  QPushButton* SchliessenBitBtn_ = nullptr;
  QPushButton* AbbrechenBitBtn_ = nullptr;
};

}  // namespace appqt
