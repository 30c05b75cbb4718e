// Widgets of the homing dialog and the copy between them and the model.
#include "HomingDialogView.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "DialogColours.h"

namespace machineqt {

HomingDialogView::HomingDialogView(machine::TReferenzfahrtForm& model, QWidget* parent)
    : QtSafeDialog(parent), model_(model) {
  setObjectName(QStringLiteral("ReferenzfahrtForm"));
  setWindowTitle(qs(model_.Caption));
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint);

  // The shape is the coloured area the panel with the axis boxes stands on.
  shape_ = new QFrame(this);
  shape_->setObjectName(QStringLiteral("Shape"));
  shape_->setFrameShape(QFrame::Box);
  auto* shapeLayout = new QVBoxLayout(shape_);
  shapeLayout->setContentsMargins(12, 12, 12, 12);
  panel_ = new QFrame(shape_);
  panel_->setObjectName(QStringLiteral("Panel"));
  panel_->setFrameShape(QFrame::StyledPanel);
  panel_->setFrameShadow(QFrame::Raised);
  shapeLayout->addWidget(panel_);
  auto* boxen = new QVBoxLayout(panel_);
  const std::array<machine::AxisCheckBox*, 4> modellBoxen{&model_.xCheckBox, &model_.yCheckBox, &model_.zCheckBox,
                                                          &model_.uCheckBox};
  const std::array<const char*, 4> namen{"xCheckBox", "yCheckBox", "zCheckBox", "uCheckBox"};
  for (std::size_t i = 0; i < achsen_.size(); ++i) {
    achsen_[i] = new QCheckBox(panel_);
    achsen_[i]->setObjectName(QString::fromLatin1(namen[i]));
    boxen->addWidget(achsen_[i]);
    machine::AxisCheckBox* box = modellBoxen[i];
    connect(achsen_[i], &QCheckBox::toggled, this, [box](bool on) { box->Checked = on; });
  }
  achsen_[3]->setToolTip(QStringLiteral("low/high  white/black"));

  starten_ = new QPushButton(qs(model_.StartenBitBtn.Caption), this);
  starten_->setObjectName(QStringLiteral("StartenBitBtn"));
  abbrechen_ = new QPushButton(qs(model_.AbbrechenBitBtn.Caption), this);
  abbrechen_->setObjectName(QStringLiteral("AbbrechenBitBtn"));
  schliessen_ = new QPushButton(qs(model_.SchliessenBitBtn.Caption), this);
  schliessen_->setObjectName(QStringLiteral("SchliessenBitBtn"));
  connect(starten_, &QPushButton::clicked, this, [this] {
    model_.StartenBitBtnOnClick();
    anzeigen();
  });
  connect(abbrechen_, &QPushButton::clicked, this, [this] { model_.AbbrechenBitBtnClick(); });
  connect(schliessen_, &QPushButton::clicked, this, &HomingDialogView::SchliessenBitBtnOnClick);

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, [this] {
    model_.TimerOnTimer();
    anzeigen();
  });

  auto* knoepfe = new QHBoxLayout;
  knoepfe->addWidget(starten_);
  knoepfe->addStretch();
  // The cancel button takes the place of the close button while the machine homes.
  knoepfe->addWidget(abbrechen_);
  knoepfe->addWidget(schliessen_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(shape_);
  layout->addLayout(knoepfe);

  model_.setOnChanged([this] { anzeigen(); });
}

HomingDialogView::~HomingDialogView() { model_.setOnChanged({}); }

void HomingDialogView::aktivieren() {
  model_.OnActivate();
  anzeigen();
}

int HomingDialogView::exec() {
  aktivieren();
  return QDialog::exec();
}

void HomingDialogView::open() {
  aktivieren();
  QDialog::open();
}

void HomingDialogView::done(int result) {
  // While the machine homes the dialog stays, so that its run can still be cancelled.
  if (!model_.OnClose()) return;
  timer_->stop();
  QDialog::done(result);
}

void HomingDialogView::SchliessenBitBtnOnClick() { accept(); }

void HomingDialogView::keyPressEvent(QKeyEvent* event) {
  // Escape stops a homing run under way; it does not close the dialog.
  if (event->key() == Qt::Key_Escape) {
    model_.OnKeyPress(27);
    return;
  }
  QtSafeDialog::keyPressEvent(event);
}

void HomingDialogView::anzeigen() {
  hintergrund(shape_, model_.Hintergrundfarbe);
  hintergrund(panel_, model_.Hintergrundfarbe);
  const std::array<const machine::AxisCheckBox*, 4> modellBoxen{&model_.xCheckBox, &model_.yCheckBox, &model_.zCheckBox,
                                                                &model_.uCheckBox};
  for (std::size_t i = 0; i < achsen_.size(); ++i) {
    const QSignalBlocker block(achsen_[i]);
    achsen_[i]->setText(qs(modellBoxen[i]->Caption));
    achsen_[i]->setChecked(modellBoxen[i]->Checked);
    achsen_[i]->setEnabled(modellBoxen[i]->Enabled);
    hintergrund(achsen_[i], model_.Hintergrundfarbe);
    schrift(achsen_[i], modellBoxen[i]->Schriftfarbe);
  }
  panel_->setEnabled(model_.Panel.Enabled);
  starten_->setEnabled(model_.StartenBitBtn.Enabled);
  abbrechen_->setVisible(model_.AbbrechenBitBtn.Visible);
  schliessen_->setVisible(model_.SchliessenBitBtn.Visible);
  if (model_.Timer.Enabled && !timer_->isActive()) timer_->start(model_.Timer.Interval);
  if (!model_.Timer.Enabled) timer_->stop();
}

}  // namespace machineqt
