// Widgets of the program-memory dialog and the copy of the model's state into them.
#include "FlashDialogView.h"

#include <QButtonGroup>
#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace appqt {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QColor colour(platform::Colour c) {
  return QColor(static_cast<int>(platform::redOf(c)), static_cast<int>(platform::greenOf(c)),
                static_cast<int>(platform::blueOf(c)));
}

constexpr int kCloseTimerMs = 100;

}  // namespace

FlashDialogView::FlashDialogView(app::TFlashDlg& model, QWidget* parent) : QtSafeDialog(parent), model_(model) {
  setObjectName(QStringLiteral("FlashDlg"));
  setWindowTitle(qs(model_.Caption));
  setModal(true);

  DurchlaeufeEdit_ = new QLineEdit(this);
  DurchlaeufeEdit_->setObjectName(QStringLiteral("DurchlaeufeEdit"));
  DurchlaeufeEdit_->setMaxLength(3);
  connect(DurchlaeufeEdit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.DurchlaeufeEdit = text.toStdString(); });
  auto* passes = new QHBoxLayout;
  passes->addWidget(new QLabel(qs(model_.DurchlaeufeEditControl.Caption), this));
  passes->addWidget(DurchlaeufeEdit_);
  passes->addStretch();

  ProgrammGroupBox_ = new QGroupBox(this);
  ProgrammGroupBox_->setObjectName(QStringLiteral("ProgrammGroupBox"));
  auto* slotGrid = new QGridLayout(ProgrammGroupBox_);
  auto* group = new QButtonGroup(this);
  group->setExclusive(true);
  QFont bold = font();
  bold.setBold(true);
  for (int n = 0; n < app::kProgrammplaetze; ++n) {
    auto* button = new QToolButton(ProgrammGroupBox_);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(n + 1));
    button->setText(qs(model_.SpeedButton[static_cast<std::size_t>(n)].Caption));
    button->setCheckable(true);
    button->setFont(bold);
    group->addButton(button);
    slotGrid->addWidget(button, 0, n);
    connect(button, &QToolButton::clicked, this, [this, n] { model_.SpeedButtonClick(n + 1); });
    SpeedButton_[static_cast<std::size_t>(n)] = button;
  }
  const auto button = [this](const app::ControlState& state, const char* name, std::function<void()> handler) {
    auto* b = new QPushButton(qs(state.Caption), this);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QPushButton::clicked, this, [handler = std::move(handler)] { handler(); });
    return b;
  };
  ProgrammSchreibenButton_ = button(model_.ProgrammSchreibenButton, "ProgrammSchreibenButton",
                                    [this] { model_.ProgrammSchreibenButtonClick(); });
  ProgrammAuslesenButton_ =
      button(model_.ProgrammAuslesenButton, "ProgrammAuslesenButton", [this] { model_.ProgrammAuslesenButtonClick(); });
  ProgrammLoeschenButton_ =
      button(model_.ProgrammLoeschenButton, "ProgrammLoeschenButton", [this] { model_.ProgrammLoeschenButtonClick(); });
  AlleProgrammeLoeschenButton_ = button(model_.AlleProgrammeLoeschenButton, "AlleProgrammeLoeschenButton",
                                        [this] { model_.AlleProgrammeLoeschenButtonClick(); });
  SchiessenBitBtn_ = button(model_.SchiessenBitBtn, "SchiessenBitBtn", [this] { model_.SchiessenBitBtnClick(); });
  slotGrid->addWidget(ProgrammSchreibenButton_, 1, 0, 1, 3);
  slotGrid->addWidget(ProgrammAuslesenButton_, 1, 3, 1, 2);
  slotGrid->addWidget(ProgrammLoeschenButton_, 1, 5, 1, 2);

  RichEdit_ = new QTextEdit(this);
  RichEdit_->setObjectName(QStringLiteral("RichEdit"));
  RichEdit_->setReadOnly(true);
  RichEdit_->setLineWrapMode(QTextEdit::NoWrap);

  CloseTimer_ = new QTimer(this);
  CloseTimer_->setObjectName(QStringLiteral("CloseTimer"));
  CloseTimer_->setSingleShot(true);
  connect(CloseTimer_, &QTimer::timeout, this, [this] { model_.CloseTimerTimer(); });

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(AlleProgrammeLoeschenButton_);
  bottom->addStretch();
  bottom->addWidget(SchiessenBitBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(passes);
  layout->addWidget(ProgrammGroupBox_);
  layout->addWidget(RichEdit_, 1);
  layout->addLayout(bottom);
  resize(520, 480);

  model_.setView(this);
  showState();
}

FlashDialogView::~FlashDialogView() { model_.setView(nullptr); }

int FlashDialogView::exec() {
  model_.OnActivate();
  showState();
  return QDialog::exec();
}

void FlashDialogView::showState() {
  if (DurchlaeufeEdit_->text().toStdString() != model_.DurchlaeufeEdit)
    DurchlaeufeEdit_->setText(qs(model_.DurchlaeufeEdit));
  DurchlaeufeEdit_->setEnabled(model_.DurchlaeufeEditControl.Enabled);
  ProgrammGroupBox_->setEnabled(model_.ProgrammGroupBox.Enabled);
  for (std::size_t n = 0; n < SpeedButton_.size(); ++n) {
    const app::SlotButton& state = model_.SpeedButton[n];
    QToolButton* b = SpeedButton_[n];
    b->setChecked(state.Down);
    b->setEnabled(state.Enabled);
    QPalette palette = b->palette();
    palette.setColor(QPalette::ButtonText, colour(state.FontColour));
    b->setPalette(palette);
  }
  ProgrammSchreibenButton_->setEnabled(model_.ProgrammSchreibenButton.Enabled);
  ProgrammAuslesenButton_->setEnabled(model_.ProgrammAuslesenButton.Enabled);
  ProgrammLoeschenButton_->setEnabled(model_.ProgrammLoeschenButton.Enabled);
  AlleProgrammeLoeschenButton_->setEnabled(model_.AlleProgrammeLoeschenButton.Enabled);
  SchiessenBitBtn_->setEnabled(model_.SchiessenBitBtn.Enabled);
  if (model_.CloseTimer.Enabled && !CloseTimer_->isActive()) CloseTimer_->start(kCloseTimerMs);
  if (!model_.CloseTimer.Enabled) CloseTimer_->stop();
  showLog();
}

void FlashDialogView::showLog() {
  const auto& lines = model_.RichEdit;
  // Lines are appended one by one; a cleared pane, or one that has begun to drop its oldest
  // lines, is drawn again whole.
  if (lines.size() < shownLines_ || lines.size() >= app::kLogZeilenMax) {
    RichEdit_->clear();
    shownLines_ = 0;
  }
  for (; shownLines_ < lines.size(); ++shownLines_) {
    RichEdit_->setTextColor(colour(lines[shownLines_].Farbe));
    RichEdit_->append(qs(lines[shownLines_].Text));
  }
}

void FlashDialogView::closeDialog() { accept(); }

void FlashDialogView::done(int result) {
  // Closing mid-operation is refused: the close box, Escape and the close button alike.
  if (!model_.OnCloseQuery()) return;
  CloseTimer_->stop();
  model_.OnClose();
  QDialog::done(result);
}

}  // namespace appqt
