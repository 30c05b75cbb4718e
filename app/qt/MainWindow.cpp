// Widgets of the main window, the copy of the model's state onto them, and their events.
#include "MainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <initializer_list>

#include "ControlBar.h"
#include "DataGridPages.h"
#include "MainMenus.h"
#include "ObjectBar.h"
#include "PaintBox.h"
#include "SettingsPage.h"
#include "app/Uncaught.h"
#include "app/dialogs/qt/FlashDialogView.h"
#include "app/dialogs/qt/InfoDialogView.h"
#include "app/dialogs/qt/ToolLengthDialogView.h"
#include "app/dialogs/qt/ToolTableDialogView.h"
#include "machine/dialogs/qt/HomingDialogView.h"
#include "machine/dialogs/qt/JoggingDialogView.h"
#include "machine/dialogs/qt/ParameterDialogView.h"

namespace appqt {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

// The first activation arms the initialisation this long after it.
constexpr int kInitVerzoegerungMs = 50;
constexpr int kRightPageControlBreite = 270;

template <class W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

void showControl(QWidget* widget, const app::ControlState& state) {
  widget->setEnabled(state.Enabled);
  widget->setVisible(state.Visible);
}

void showCheckBox(QCheckBox* box, const panel::CheckBoxState& state) {
  box->setText(qs(state.Caption));
  box->setChecked(state.Checked);
  box->setEnabled(state.Enabled);
  box->setVisible(state.Visible);
}

}  // namespace

MainWindow::MainWindow(app::TMainForm& form, platform::QtCanvas& canvas, QWidget* parent)
    : QMainWindow(parent), form_(form), canvas_(canvas) {
  setObjectName(QStringLiteral("MainForm"));
  // No size below 1024 x 768.
  setMinimumSize(1024, 768);
  resize(1024, 768);

  const auto runCommand = [this](const std::function<void()>& handler) { command(handler); };
  const auto runCall = [this](const std::function<void()>& handler) { call(handler); };
  menus_ = std::make_unique<MainMenus>(*this, form_, runCommand);

  auto* central = new QWidget(this);
  auto* rows = new QVBoxLayout(central);
  rows->setContentsMargins(0, 0, 0, 0);
  ControlBar_ = new ControlBar(form_, runCommand, runCall, central);
  rows->addWidget(ControlBar_);
  auto* panels = new QHBoxLayout;
  rows->addLayout(panels, 1);

  LeftPanel_ = new ObjectBar(form_, runCommand, central, central);
  panels->addWidget(LeftPanel_);
  panels->addWidget(buildDrawPages(central), 1);

  RightPageControl_ = named(new QTabWidget(central), "RightPageControl");
  RightPageControl_->setFixedWidth(kRightPageControlBreite);
  ERTabSheet_ = new SettingsPage(form_, runCommand, runCall);
  RightPageControl_->addTab(ERTabSheet_, qs(form_.ERTabSheet.Caption));
  FraesenTabSheet_ = buildRunPanel();
  RightPageControl_->addTab(FraesenTabSheet_, qs(form_.FraesenTabSheet.Caption));
  connect(RightPageControl_, &QTabWidget::currentChanged, this, [this](int index) {
    call([this, index] {
      form_.RightPageControlSeite =
          RightPageControl_->widget(index) == ERTabSheet_ ? app::RightPage::Einstellungen : app::RightPage::Fraesen;
      form_.RightPageControlOnChange();
    });
  });
  panels->addWidget(RightPageControl_);
  setCentralWidget(central);

  buildStatusBar();

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setObjectName(QStringLiteral("EscapeShortcut"));
  connect(escape, &QShortcut::activated, this, [this] { call([this] { form_.OnKeyPress(27); }); });

  // Armed by the first activation; its one tick runs the initialisation.
  InitTimer_ = named(new QTimer(this), "InitTimer");
  InitTimer_->setSingleShot(true);
  InitTimer_->setInterval(kInitVerzoegerungMs);
  connect(InitTimer_, &QTimer::timeout, this, [this] { call([this] { form_.InitTimerTimer(); }); });

  ToolDefForm_ = new ToolTableDialogView(form_.ToolDefForm, this);
  form_.dialogEinsetzen(app::ModalDialog::ToolDef, [this] {
    centreOver(ToolDefForm_);
    ToolDefForm_->exec(form_.ToolDef);
  });
  ParameterDlg_ = new machineqt::ParameterDialogView(form_.ParameterDlg, this);
  ReferenzfahrtForm_ = new machineqt::HomingDialogView(form_.ReferenzfahrtForm, this);
  ManuelleFahrtForm_ = new machineqt::JoggingDialogView(form_.ManuelleFahrtForm, this);
  form_.dialogEinsetzen(app::ModalDialog::Parameter, [this] {
    centreOver(ParameterDlg_);
    ParameterDlg_->exec();
  });
  form_.dialogEinsetzen(app::ModalDialog::Referenzfahrt, [this] {
    centreOver(ReferenzfahrtForm_);
    ReferenzfahrtForm_->exec();
  });
  form_.dialogEinsetzen(app::ModalDialog::ManuelleFahrt, [this] {
    centreOver(ManuelleFahrtForm_);
    ManuelleFahrtForm_->exec();
  });
  form_.dialogEinsetzen(app::ModalDialog::Info, [this] {
    if (InfoDlg_ == nullptr) InfoDlg_ = new InfoDialogView(form_.InfoDlg, this);
    centreOver(InfoDlg_);
    InfoDlg_->exec();
  });
  FlashDlg_ = new FlashDialogView(form_.FlashDlg, this);
  const auto flash = [this] {
    centreOver(FlashDlg_);
    FlashDlg_->exec();
  };
  form_.dialogEinsetzen(app::ModalDialog::FestwertspeicherLoeschen, flash);
  form_.dialogEinsetzen(app::ModalDialog::AusgabeInFestwertspeicher, flash);
  WZLMessungForm_ = new ToolLengthDialogView(form_.WZLMessungForm, this);
  form_.dialogEinsetzen(app::ModalDialog::Werkzeuglaenge, [this] {
    centreOver(WZLMessungForm_);
    WZLMessungForm_->exec();
  });

  form_.setView(this);
  showState();
}

MainWindow::~MainWindow() {
  // Hiding the window moves the focus out of an edit, whose signal comes back here: it must
  // come while this is still the window, and reach nothing of the model.
  destroying_ = true;
  hide();
  form_.dialogEinsetzen(app::ModalDialog::ToolDef, nullptr);
  form_.dialogEinsetzen(app::ModalDialog::Info, nullptr);
  form_.dialogEinsetzen(app::ModalDialog::Parameter, nullptr);
  form_.dialogEinsetzen(app::ModalDialog::Referenzfahrt, nullptr);
  form_.dialogEinsetzen(app::ModalDialog::ManuelleFahrt, nullptr);
  form_.dialogEinsetzen(app::ModalDialog::FestwertspeicherLoeschen, nullptr);
  form_.dialogEinsetzen(app::ModalDialog::AusgabeInFestwertspeicher, nullptr);
  form_.dialogEinsetzen(app::ModalDialog::Werkzeuglaenge, nullptr);
  form_.setView(nullptr);
}

QWidget* MainWindow::buildDrawPages(QWidget* parent) {
  DrawPageControl_ = named(new QTabWidget(parent), "DrawPageControl");
  GrafischTabSheet_ = named(new QWidget, "GrafischTabSheet");
  auto* grafischLayout = new QVBoxLayout(GrafischTabSheet_);
  grafischLayout->setContentsMargins(4, 4, 4, 4);
  PaintBox_ = new PaintBox(canvas_, GrafischTabSheet_);
  PaintBox_->setOnResize([this] { call([this] { fitBitmap(); }); });
  const auto button = [](Qt::MouseButton b) {
    return b == Qt::LeftButton ? app::MouseButton::Left
                               : (b == Qt::RightButton ? app::MouseButton::Right : app::MouseButton::Middle);
  };
  PaintBox_->setMouseHandlers(PaintBox::MouseHandlers{
      [this, button](Qt::MouseButton b, int x, int y) {
        command([this, b, x, y, button] { form_.PaintBoxOnMouseDown(button(b), x, y); });
      },
      [this](int x, int y) { call([this, x, y] { form_.PaintBoxOnMouseMove(x, y); }); },
      [this, button](Qt::MouseButton b) { call([this, b, button] { form_.PaintBoxOnMouseUp(button(b)); }); }});
  grafischLayout->addWidget(PaintBox_);
  DrawPageControl_->addTab(GrafischTabSheet_, qs(form_.GrafischTabSheet.Caption));

  // The file as it stands, in development mode.
  TextuellTabSheet_ = named(new QWidget, "TextuellTabSheet");
  auto* textLayout = new QVBoxLayout(TextuellTabSheet_);
  textLayout->setContentsMargins(4, 4, 4, 4);
  DatenRichEdit_ = named(new QPlainTextEdit(TextuellTabSheet_), "DatenRichEdit");
  DatenRichEdit_->setReadOnly(true);
  DatenRichEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textLayout->addWidget(DatenRichEdit_);
  DrawPageControl_->addTab(TextuellTabSheet_, qs(form_.TextuellTabSheet.Caption));
  connect(DrawPageControl_, &QTabWidget::currentChanged, this, [this](int index) {
    call([this, index] {
      form_.DrawPageControlSeite =
          DrawPageControl_->widget(index) == TextuellTabSheet_ ? app::DrawPage::Textuell : app::DrawPage::Grafisch;
      form_.DrawPageControlOnChange();
    });
  });

  SGPageControl_ = new DataGridPages(
      form_, [this](const std::function<void()>& handler) { call(handler); }, DrawPageControl_);
  return DrawPageControl_;
}

QWidget* MainWindow::buildRunPanel() {
  auto* page = named(new QWidget, "FraesenTabSheet");
  auto* column = new QVBoxLayout(page);

  vorBearbeitungGroupBox_ = named(new QGroupBox(qs(form_.vorBearbeitungGroupBox.Caption)), "vorBearbeitungGroupBox");
  auto* vor = new QVBoxLayout(vorBearbeitungGroupBox_);
  ReferenzfahrtCheckBox_ = named(new QCheckBox, "ReferenzfahrtCheckBox");
  WZLCheckBox_ = named(new QCheckBox, "WZLCheckBox");
  WSNullpunktCheckBox_ = named(new QCheckBox, "WSNullpunktCheckBox");
  vor->addWidget(ReferenzfahrtCheckBox_);
  vor->addWidget(WZLCheckBox_);
  vor->addWidget(WSNullpunktCheckBox_);
  column->addWidget(vorBearbeitungGroupBox_);

  waehrendBearbeitungGroupBox_ =
      named(new QGroupBox(qs(form_.waehrendBearbeitungGroupBox.Caption)), "waehrendBearbeitungGroupBox");
  auto* waehrend = new QVBoxLayout(waehrendBearbeitungGroupBox_);
  SpindelmotorCheckBox_ = named(new QCheckBox, "SpindelmotorCheckBox");
  KuehlmittelpumpeCheckBox_ = named(new QCheckBox, "KuehlmittelpumpeCheckBox");
  AbsaugungCheckBox_ = named(new QCheckBox, "AbsaugungCheckBox");
  waehrend->addWidget(SpindelmotorCheckBox_);
  waehrend->addWidget(KuehlmittelpumpeCheckBox_);
  waehrend->addWidget(AbsaugungCheckBox_);
  column->addWidget(waehrendBearbeitungGroupBox_);

  const std::pair<QCheckBox*, panel::CheckBoxState app::TMainForm::*> boxes[] = {
      {ReferenzfahrtCheckBox_, &app::TMainForm::ReferenzfahrtCheckBox},
      {WZLCheckBox_, &app::TMainForm::WZLCheckBox},
      {WSNullpunktCheckBox_, &app::TMainForm::WSNullpunktCheckBox},
      {SpindelmotorCheckBox_, &app::TMainForm::SpindelmotorCheckBox},
      {KuehlmittelpumpeCheckBox_, &app::TMainForm::KuehlmittelpumpeCheckBox},
      {AbsaugungCheckBox_, &app::TMainForm::AbsaugungCheckBox},
  };
  for (const auto& [box, member] : boxes) {
    connect(box, &QCheckBox::clicked, this,
            [this, member = member](bool checked) { call([&] { (form_.*member).Checked = checked; }); });
  }

  nachBearbeitungRadioGroup_ = named(new QGroupBox, "nachBearbeitungRadioGroup");
  auto* nach = new QVBoxLayout(nachBearbeitungRadioGroup_);
  for (int i = 0; i < static_cast<int>(nachBearbeitungItems_.size()); ++i) {
    auto* item = new QRadioButton;
    item->setObjectName(QStringLiteral("nachBearbeitungRadioGroupItem%1").arg(i));
    connect(item, &QRadioButton::clicked, this,
            [this, i] { call([&] { form_.nachBearbeitungRadioGroup.ItemIndex = i; }); });
    nach->addWidget(item);
    nachBearbeitungItems_[static_cast<std::size_t>(i)] = item;
  }
  column->addWidget(nachBearbeitungRadioGroup_);

  SimulationslaufCheckBox_ = named(new QCheckBox, "SimulationslaufCheckBox");
  connect(SimulationslaufCheckBox_, &QCheckBox::clicked, this, [this](bool checked) {
    call([&] {
      form_.SimulationslaufCheckBox.Checked = checked;
      form_.SimulationslaufCheckBoxOnClick();
    });
  });
  column->addWidget(SimulationslaufCheckBox_);

  SimulationslaufTrackBar_ = named(new QSlider(Qt::Horizontal), "SimulationslaufTrackBar");
  SimulationslaufTrackBar_->setTickPosition(QSlider::TicksBelow);
  connect(SimulationslaufTrackBar_, &QSlider::valueChanged, this, [this](int position) {
    call([&] {
      form_.SimulationslaufTrackBar.Position = position;
      form_.SimulationslaufTrackBarOnChange();
    });
  });
  column->addWidget(SimulationslaufTrackBar_);

  // The stop button takes the start button's place while a run is active.
  FraesenStartenBitBtn_ = named(new QPushButton, "FraesenStartenBitBtn");
  connect(FraesenStartenBitBtn_, &QPushButton::clicked, this,
          [this] { call([this] { form_.FraesenStartenBitBtnClick(); }); });
  AnhaltenBitBtn_ = named(new QPushButton, "AnhaltenBitBtn");
  connect(AnhaltenBitBtn_, &QPushButton::clicked, this, [this] { call([this] { form_.AnhaltenBitBtnClick(); }); });
  column->addWidget(FraesenStartenBitBtn_);
  column->addWidget(AnhaltenBitBtn_);

  FortschrittsanzeigeLabel_ = named(new QLabel, "FortschrittsanzeigeLabel");
  FortschrittsanzeigeProgressBar_ = named(new QProgressBar, "FortschrittsanzeigeProgressBar");
  column->addWidget(FortschrittsanzeigeLabel_);
  column->addWidget(FortschrittsanzeigeProgressBar_);
  column->addStretch();
  return page;
}

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  bar->setSizeGripEnabled(false);
  for (int i = 0; i < app::kStatusBarPanels; ++i) {
    auto* panel = new QLabel;
    panel->setObjectName(QStringLiteral("StatusBarPanel%1").arg(i));
    // The given widths, widened where a text needs more room in the desktop's font.
    panel->setMinimumWidth(app::kStatusBarBreiten[static_cast<std::size_t>(i)]);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(i < 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    bar->addWidget(panel);
    statusPanels_[static_cast<std::size_t>(i)] = panel;
  }
}

void MainWindow::command(const std::function<void()>& handler) {
  call([this, &handler] {
    ERTabSheet_->commitEditor();
    ControlBar_->commitEdits();
    handler();
  });
}

void MainWindow::call(const std::function<void()>& handler) {
  if (destroying_) return;
  app::runCatchingAll(form_.uiServices(), handler);
  showState();
}

void MainWindow::showState() {
  setWindowTitle(qs(form_.Caption));
  menus_->showState();
  ControlBar_->showState();

  showControl(DrawPageControl_, form_.DrawPageControl);
  showDrawPages();
  showControl(RightPageControl_, form_.RightPageControl);
  LeftPanel_->showState();
  showRightPages();
  vorBearbeitungGroupBox_->setEnabled(form_.vorBearbeitungGroupBox.Enabled);
  waehrendBearbeitungGroupBox_->setEnabled(form_.waehrendBearbeitungGroupBox.Enabled);
  showCheckBox(ReferenzfahrtCheckBox_, form_.ReferenzfahrtCheckBox);
  showCheckBox(WZLCheckBox_, form_.WZLCheckBox);
  showCheckBox(WSNullpunktCheckBox_, form_.WSNullpunktCheckBox);
  showCheckBox(SpindelmotorCheckBox_, form_.SpindelmotorCheckBox);
  showCheckBox(KuehlmittelpumpeCheckBox_, form_.KuehlmittelpumpeCheckBox);
  showCheckBox(AbsaugungCheckBox_, form_.AbsaugungCheckBox);

  const panel::RadioGroupState& nach = form_.nachBearbeitungRadioGroup;
  nachBearbeitungRadioGroup_->setTitle(qs(nach.Caption));
  nachBearbeitungRadioGroup_->setEnabled(form_.nachBearbeitungRadioGroupControl.Enabled);
  for (std::size_t i = 0; i < nachBearbeitungItems_.size(); ++i) {
    nachBearbeitungItems_[i]->setText(i < nach.Items.size() ? qs(nach.Items[i]) : QString());
    nachBearbeitungItems_[i]->setChecked(static_cast<int>(i) == nach.ItemIndex);
  }

  showCheckBox(SimulationslaufCheckBox_, form_.SimulationslaufCheckBox);
  {
    const QSignalBlocker blocker(SimulationslaufTrackBar_);
    SimulationslaufTrackBar_->setRange(form_.SimulationslaufTrackBar.Min, form_.SimulationslaufTrackBar.Max);
    SimulationslaufTrackBar_->setValue(form_.SimulationslaufTrackBar.Position);
  }

  FraesenStartenBitBtn_->setText(qs(form_.FraesenStartenBitBtn.Caption));
  showControl(FraesenStartenBitBtn_, form_.FraesenStartenBitBtn);
  AnhaltenBitBtn_->setText(qs(form_.AnhaltenBitBtn.Caption));
  showControl(AnhaltenBitBtn_, form_.AnhaltenBitBtn);

  FortschrittsanzeigeLabel_->setText(qs(form_.FortschrittsanzeigeLabel.Caption));
  showControl(FortschrittsanzeigeLabel_, form_.FortschrittsanzeigeLabel);
  showControl(FortschrittsanzeigeProgressBar_, form_.FortschrittsanzeigeProgressBarControl);
  const panel::ProgressBarState& bar = form_.FortschrittsanzeigeProgressBar;
  // Qt shows an empty range as a busy animation; an empty job shows an empty bar instead.
  if (bar.Max > bar.Min) {
    FortschrittsanzeigeProgressBar_->setRange(bar.Min, bar.Max);
  } else {
    FortschrittsanzeigeProgressBar_->setRange(0, 1);
  }
  FortschrittsanzeigeProgressBar_->setValue(bar.Position);

  for (std::size_t i = 0; i < statusPanels_.size(); ++i) statusPanels_[i]->setText(qs(form_.StatusBar[i]));

  fitBitmap();
}

void MainWindow::showRightPages() {
  {
    const QSignalBlocker blocker(RightPageControl_);
    const int einstellungen = RightPageControl_->indexOf(ERTabSheet_);
    RightPageControl_->setTabVisible(einstellungen, form_.ERTabSheet.Visible);
    const bool zeigen = form_.ERTabSheet.Visible && form_.RightPageControlSeite == app::RightPage::Einstellungen;
    RightPageControl_->setCurrentWidget(zeigen ? static_cast<QWidget*>(ERTabSheet_) : FraesenTabSheet_);
  }
  ERTabSheet_->showState();
}

void MainWindow::showDrawPages() {
  {
    const QSignalBlocker blocker(DrawPageControl_);
    const int textuell = DrawPageControl_->indexOf(TextuellTabSheet_);
    DrawPageControl_->setTabVisible(DrawPageControl_->indexOf(GrafischTabSheet_), form_.GrafischTabSheet.Visible);
    DrawPageControl_->setTabVisible(textuell, form_.TextuellTabSheet.Visible);
    const bool text = form_.TextuellTabSheet.Visible && form_.DrawPageControlSeite == app::DrawPage::Textuell;
    DrawPageControl_->setCurrentWidget(text ? TextuellTabSheet_ : GrafischTabSheet_);
  }
  // The file's text goes into the view when it is in sight and another file was loaded.
  if (TextuellTabSheet_->isVisible()) {
    const std::vector<std::string>& lines = form_.DatenRichEdit;
    const std::string key = form_.Dokumentpfad + '\n' + std::to_string(lines.size()) + '\n' +
                            (lines.empty() ? std::string() : lines.front());
    if (key != shownText_) {
      shownText_ = key;
      QString text;
      for (const std::string& line : lines) {
        text += qs(line);
        text += QLatin1Char('\n');
      }
      DatenRichEdit_->setPlainText(text);
    }
  }
  SGPageControl_->showState();
}

void MainWindow::placeComponents() {
  QWidget* page = DrawPageControl_->currentWidget();
  const QRect area =
      page != nullptr ? QRect(page->mapTo(DrawPageControl_, QPoint(0, 0)), page->size()) : DrawPageControl_->rect();
  SGPageControl_->place(area);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  placeComponents();
}

void MainWindow::centreOver(QDialog* dialog) {
  dialog->hide();
  dialog->adjustSize();
  const QRect main = geometry();
  dialog->move(main.left() + main.width() / 2 - dialog->width() / 2,
               main.top() + main.height() / 2 - dialog->height() / 2);
}

void MainWindow::PaintBoxOnPaint() { PaintBox_->update(); }

void MainWindow::fitBitmap() {
  if (form_.laeuft()) return;
  const platform::Size wanted{PaintBox_->width(), PaintBox_->height()};
  if (canvas_.size() == wanted) return;
  canvas_.resize(wanted);
  form_.OnResize();
  PaintBox_->update();
}

void MainWindow::activate() {
  bool armInit = false;
  call([&] { armInit = form_.OnActivate(); });
  if (armInit) InitTimer_->start();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    activate();
  }
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && shown_ && isActiveWindow()) activate();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  bool mayClose = false;
  call([&] { mayClose = form_.OnCloseQuery(); });
  if (!mayClose) {
    event->ignore();
    return;
  }
  call([this] { form_.OnClose(); });
  closed_ = true;
  event->accept();
}

void MainWindow::closeWindow() {
  // A dialog shown over the window goes first, through its own close, which ends its worker (the
  // model asks for the close only once no worker talks to the controller).
  const std::initializer_list<QDialog*> dialogs{
      ToolDefForm_, ParameterDlg_, ReferenzfahrtForm_, ManuelleFahrtForm_, FlashDlg_, WZLMessungForm_, InfoDlg_};
  for (QDialog* dialog : dialogs)
    if (dialog != nullptr && dialog->isVisible()) dialog->reject();
  // Queued: the model asks for the close from inside its own handlers.
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::endProgram(int status) {
  // Leaves every event loop, a question box's included.
  QCoreApplication::exit(status);
}

void MainWindow::watchTerminationSignals(platform::TerminationSignals& watched) {
  auto* notifier = new QSocketNotifier(watched.fd(), QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this, &watched] {
    for (const int signal : watched.take()) call([this, signal] { form_.OnTerminationSignal(signal); });
  });
}

}  // namespace appqt
