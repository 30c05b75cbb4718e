// Widgets of the tool-length dialog and the copy of the model's state into them.
#include "ToolLengthDialogView.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace appqt {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ToolLengthDialogView::ToolLengthDialogView(app::TWZLMessungForm& model, QWidget* parent)
    : QtSafeDialog(parent), model_(model) {
  setObjectName(QStringLiteral("WZLMessungForm"));
  setWindowTitle(qs(model_.Caption));
  setModal(true);

  Memo_ = new QPlainTextEdit(this);
  Memo_->setObjectName(QStringLiteral("Memo"));
  Memo_->setReadOnly(true);
  Memo_->setFrameShape(QFrame::NoFrame);
  Memo_->setBackgroundRole(QPalette::Button);
  Memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  StartenBitBtn_ = new QPushButton(qs(model_.StartenBitBtn.Caption), this);
  StartenBitBtn_->setObjectName(QStringLiteral("StartenBitBtn"));
  SchliessenBitBtn_ = new QPushButton(qs(model_.SchliessenBitBtn.Caption), this);
  SchliessenBitBtn_->setObjectName(QStringLiteral("SchliessenBitBtn"));
  AbbrechenBitBtn_ = new QPushButton(qs(model_.AbbrechenBitBtn.Caption), this);
  AbbrechenBitBtn_->setObjectName(QStringLiteral("AbbrechenBitBtn"));
  connect(StartenBitBtn_, &QPushButton::clicked, this, [this] { model_.StartenBitBtnClick(); });
  connect(SchliessenBitBtn_, &QPushButton::clicked, this, [this] { model_.SchliessenBitBtnClick(); });
  connect(AbbrechenBitBtn_, &QPushButton::clicked, this, [this] { model_.AbbrechenBitBtnClick(); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(StartenBitBtn_);
  buttons->addStretch();
  // The abort button stands where the close button is; only one of them is visible.
  buttons->addWidget(SchliessenBitBtn_);
  buttons->addWidget(AbbrechenBitBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo_, 1);
  layout->addLayout(buttons);
  resize(360, 260);

  model_.setView(this);
  showState();
}

ToolLengthDialogView::~ToolLengthDialogView() { model_.setView(nullptr); }

int ToolLengthDialogView::exec() {
  setWindowTitle(qs(model_.Caption));
  showState();
  return QDialog::exec();
}

void ToolLengthDialogView::showState() {
  QString text;
  for (std::size_t i = 0; i < model_.Memo.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += qs(model_.Memo[i]);
  }
  if (Memo_->toPlainText() != text) Memo_->setPlainText(text);
  StartenBitBtn_->setEnabled(model_.StartenBitBtn.Enabled);
  SchliessenBitBtn_->setVisible(model_.SchliessenBitBtn.Visible);
  AbbrechenBitBtn_->setVisible(model_.AbbrechenBitBtn.Visible);
}

void ToolLengthDialogView::closeDialog() { accept(); }

void ToolLengthDialogView::done(int result) {
  if (!model_.OnCloseQuery()) return;
  model_.OnClose();
  QDialog::done(result);
}

}  // namespace appqt
