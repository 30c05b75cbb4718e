// The about dialog's window, paint box and timer.
#include "InfoDialogView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace appqt {

namespace {

// Copies the dialog's bitmap to the screen; the picture is painted only when the dialog is shown.
class InfoPaintBox final : public QWidget {
 public:
  InfoPaintBox(platform::QtCanvas& bitmap, QWidget* parent) : QWidget(parent), bitmap_(bitmap) {
    setObjectName(QStringLiteral("PaintBox"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap_.image());
  }

 private:
  platform::QtCanvas& bitmap_;
};

platform::Colour colourOf(const QColor& c) {
  return platform::rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                       static_cast<unsigned>(c.blue()));
}

}  // namespace

InfoDialogView::InfoDialogView(app::TInfoDlg& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      model_(model),
      bitmap_(platform::Size{app::TInfoDlg::kBreite, app::TInfoDlg::kHoehe}) {
  setObjectName(QStringLiteral("InfoDlg"));
  setWindowTitle(QString::fromStdString(model_.Caption));
  setFixedSize(app::TInfoDlg::kBreite, app::TInfoDlg::kHoehe);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new InfoPaintBox(bitmap_, this));

  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer"));
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &InfoDialogView::TimerOnTimer);
}

void InfoDialogView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  model_.OnActivate(bitmap_, colourOf(palette().color(QPalette::Button)));
  if (model_.TimerEnabled) timer_->start(model_.TimerInterval);
  update();
}

void InfoDialogView::TimerOnTimer() {
  timer_->stop();
  model_.TimerOnTimer();
  if (model_.Geschlossen) accept();
}

}  // namespace appqt
