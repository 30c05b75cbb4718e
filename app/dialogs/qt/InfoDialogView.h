// The about dialog "Info" on Qt Widgets: a view of app::TInfoDlg. A fixed window without buttons
// or border icons whose paint box shows the model's picture from the dialog's own bitmap, and
// that closes itself when the model's timer has run out.
//
// Thread context: GUI thread. The model is not owned and must outlive the dialog; the bitmap is
// the dialog's own. exec() is modal and blocks until the dialog closes.
#pragma once

#include <QDialog>

#include "app/dialogs/InfoDialog.h"
#include "platform/qt/QtCanvas.h"

class QTimer;

namespace appqt {

class InfoDialogView final : public QDialog {
 public:
  InfoDialogView(app::TInfoDlg& model, QWidget* parent = nullptr);

  // The dialog's timer tick, as the timer gives it.
  void TimerOnTimer();
  // The off-screen bitmap the picture is painted into.
  platform::QtCanvas& bitmap() { return bitmap_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  app::TInfoDlg& model_;
  platform::QtCanvas bitmap_;
  QTimer* timer_ = nullptr;
};

}  // namespace appqt
