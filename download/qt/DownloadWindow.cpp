// Widgets of the download window, the copy of the model's state onto them, and their events.
#include "DownloadWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <cstdio>
#include <exception>
#include <functional>

#include "platform/qt/QtSafeDialog.h"

namespace downloadqt {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

template <class W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Rows as wide as the list, however long their text: a full path that does not fit is elided
// at the side the list's elide mode names instead of running out of view.
class FittingRows final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {0, QStyledItemDelegate::sizeHint(option, index).height()};
  }
};

void showControl(QWidget* widget, const download::ControlState& state) {
  widget->setEnabled(state.Enabled);
  widget->setVisible(state.Visible);
}

}  // namespace

DownloadWindow::DownloadWindow(download::TForm1& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName(QStringLiteral("Form1"));
  setFixedSize(431, 491);

  GroupBox1_ = named(new QGroupBox(qs(form_.GroupBox1.Caption), this), "GroupBox1");
  GroupBox1_->setGeometry(120, 24, 185, 81);
  ComboBox1_ = named(new QComboBox(this), "ComboBox1");
  ComboBox1_->setGeometry(128, 48, 145, 21);
  connect(ComboBox1_, &QComboBox::currentIndexChanged, this,
          [this](int index) { call([&] { form_.ComboBox1.ItemIndex = index; }); });

  GroupBox2_ = named(new QGroupBox(qs(form_.GroupBox2.Caption), this), "GroupBox2");
  GroupBox2_->setGeometry(120, 128, 185, 145);
  Button2_ = named(new QPushButton(qs(form_.Button2.Caption), this), "Button2");
  Button2_->setGeometry(144, 176, 137, 41);
  Button2_->setStyleSheet(QStringLiteral("color: maroon"));
  connect(Button2_, &QPushButton::clicked, this, [this] { call([this] { form_.Button2Click(); }); });
  ListBox1_ = named(new QListWidget(this), "ListBox1");
  ListBox1_->setGeometry(120, 152, 185, 121);
  // The files of one folder differ only at the end of their paths: that end stays in view.
  ListBox1_->setItemDelegate(new FittingRows(ListBox1_));
  ListBox1_->setTextElideMode(Qt::ElideLeft);
  // A choice with the mouse or the keys, as the list's click of the original form.
  connect(ListBox1_, &QListWidget::currentRowChanged, this, [this](int row) { call([&] { form_.Info1Click(row); }); });

  Button1_ = named(new QPushButton(qs(form_.Button1.Caption), this), "Button1");
  Button1_->setGeometry(120, 296, 185, 25);
  connect(Button1_, &QPushButton::clicked, this, [this] { call([this] { form_.Button1Click(); }); });
  Edit1_ = named(new QLineEdit(this), "Edit1");
  Edit1_->setGeometry(120, 344, 185, 21);
  Edit1_->setReadOnly(true);
  CancelButton_ = named(new QPushButton(qs(form_.CancelButton.Caption), this), "CancelButton");
  CancelButton_->setGeometry(120, 384, 185, 25);
  connect(CancelButton_, &QPushButton::clicked, this, [this] { call([this] { form_.CancelButtonClick(); }); });

  // Return and Enter start no download: only a click does.
  platform::noDefaultButtons(this);
  form_.setView(this);
  showState();
}

DownloadWindow::~DownloadWindow() { form_.setView(nullptr); }

void DownloadWindow::call(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ranvik: %s\n", e.what());
  }
  showState();
}

void DownloadWindow::showState() {
  setWindowTitle(qs(form_.Caption));
  {
    const QSignalBlocker blocker(ComboBox1_);
    if (ComboBox1_->count() != static_cast<int>(form_.ComboBox1.Items.size())) {
      ComboBox1_->clear();
      for (const std::string& item : form_.ComboBox1.Items) ComboBox1_->addItem(qs(item));
    }
    ComboBox1_->setCurrentIndex(form_.ComboBox1.ItemIndex);
  }
  ComboBox1_->setEnabled(form_.ComboBox1.Enabled);
  showControl(Button2_, form_.Button2);
  {
    const QSignalBlocker blocker(ListBox1_);
    if (ListBox1_->count() != static_cast<int>(form_.ListBox1.Items.size())) {
      ListBox1_->clear();
      for (const std::string& item : form_.ListBox1.Items) ListBox1_->addItem(qs(item));
    }
    ListBox1_->setCurrentRow(form_.ListBox1.ItemIndex);
  }
  ListBox1_->setEnabled(form_.ListBox1.Enabled);
  ListBox1_->setVisible(form_.ListBox1.Visible);
  showControl(Button1_, form_.Button1);
  Edit1_->setText(qs(form_.Edit1));
  showControl(CancelButton_, form_.CancelButton);
}

void DownloadWindow::closeEvent(QCloseEvent* event) {
  if (form_.OnCloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace downloadqt
