// Widgets of the jogging dialog, the copy between them and the model, and the keyboard control.
#include "JoggingDialogView.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "DialogColours.h"
#include "platform/qt/GridColours.h"

namespace machineqt {

namespace {

// The key codes the model knows, by Qt key.
int tastenCode(int key) {
  switch (key) {
    case Qt::Key_Escape:
      return static_cast<int>(machine::JogKey::Escape);
    case Qt::Key_PageUp:
      return static_cast<int>(machine::JogKey::PageUp);
    case Qt::Key_PageDown:
      return static_cast<int>(machine::JogKey::PageDown);
    case Qt::Key_Left:
      return static_cast<int>(machine::JogKey::Left);
    case Qt::Key_Up:
      return static_cast<int>(machine::JogKey::Up);
    case Qt::Key_Right:
      return static_cast<int>(machine::JogKey::Right);
    case Qt::Key_Down:
      return static_cast<int>(machine::JogKey::Down);
    default:
      return 0;
  }
}

QTableWidget* neuesGitter(int rows, QWidget* parent, const char* name) {
  auto* grid = new QTableWidget(rows, 4, parent);
  grid->setObjectName(QString::fromLatin1(name));
  platform::setGridColours(grid);
  grid->verticalHeader()->hide();
  grid->setColumnWidth(0, 156);
  for (int c = 1; c < 4; ++c) grid->setColumnWidth(c, 52);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < 4; ++c) grid->setItem(r, c, new QTableWidgetItem);
  return grid;
}

}  // namespace

JoggingDialogView::JoggingDialogView(machine::TManuelleFahrtForm& model, QWidget* parent)
    : QtSafeDialog(parent), model_(model) {
  setObjectName(QStringLiteral("ManuelleFahrtForm"));
  setWindowTitle(qs(model_.Caption));
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint);

  // Step width.
  auto* schrittweite = new QWidget(this);
  schrittweite->setObjectName(QStringLiteral("SchrittweiteRadioGroup"));
  auto* sLayout = new QHBoxLayout(schrittweite);
  for (std::size_t i = 0; i < schrittweite_.size(); ++i) {
    schrittweite_[i] = new QRadioButton(qs(model_.SchrittweiteRadioGroup.Items[i]), schrittweite);
    schrittweite_[i]->setObjectName(QStringLiteral("Schrittweite%1").arg(i));
    sLayout->addWidget(schrittweite_[i]);
    connect(schrittweite_[i], &QRadioButton::clicked, this, [this, i] {
      model_.SchrittweiteRadioGroup_OnClick(static_cast<int>(i));
      anzeigen();
    });
  }
  schrittweiteEdit_ = new QLineEdit(schrittweite);
  schrittweiteEdit_->setObjectName(QStringLiteral("SchrittweiteMaskEdit"));
  sLayout->addWidget(schrittweiteEdit_);
  connect(schrittweiteEdit_, &QLineEdit::editingFinished, this, [this] {
    schrittweiteUebernehmen();
    anzeigen();
  });
  connect(schrittweiteEdit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.SchrittweiteMaskEdit.Text = text.toStdString(); });
  schrittweiteEdit_->installEventFilter(this);

  // Axis and relay buttons, speed.
  panel_ = new QWidget(this);
  panel_->setObjectName(QStringLiteral("Panel"));
  auto* pLayout = new QGridLayout(panel_);
  const auto knopf = [&](const char* name, const char* text, int row, int col, std::function<void()> handler) {
    auto* button = new QPushButton(QString::fromUtf8(text), panel_);
    button->setObjectName(QString::fromLatin1(name));
    pLayout->addWidget(button, row, col);
    connect(button, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
      handler();
      anzeigen();
    });
  };
  auto& m = model_;
  knopf("xNeg_BitBtn", "x -", 1, 0, [&m] { m.xNegBitBtn_OnClick(); });
  knopf("xPos_BitBtn", "x +", 1, 2, [&m] { m.xPosBitBtn_OnClick(); });
  knopf("yNeg_BitBtn", "y -", 0, 1, [&m] { m.yNegBitBtn_OnClick(); });
  knopf("yPos_BitBtn", "y +", 2, 1, [&m] { m.yPosBitBtn_OnClick(); });
  knopf("zNeg_BitBtn", "z -", 0, 3, [&m] { m.zNegBitBtn_OnClick(); });
  knopf("zPos_BitBtn", "z +", 2, 3, [&m] { m.zPosBitBtn_OnClick(); });
  relaisOn_ = new QPushButton(qs(model_.RelaisON_BitBtn.Caption), panel_);
  relaisOn_->setObjectName(QStringLiteral("RelaisON_BitBtn"));
  relaisOff_ = new QPushButton(qs(model_.RelaisOFF_BitBtn.Caption), panel_);
  relaisOff_->setObjectName(QStringLiteral("RelaisOFF_BitBtn"));
  pLayout->addWidget(relaisOn_, 0, 4);
  pLayout->addWidget(relaisOff_, 2, 4);
  connect(relaisOn_, &QPushButton::clicked, this, [this] { model_.RelaisONBitBtn_OnClick(); });
  connect(relaisOff_, &QPushButton::clicked, this, [this] { model_.RelaisOFFBitBtn_OnClick(); });
  auto* speedLabel = new QLabel(QStringLiteral("Geschwindigkeit:"), panel_);
  speedLabel->setObjectName(QStringLiteral("SpeedLabel"));
  pLayout->addWidget(speedLabel, 3, 0);
  speed_ = new QScrollBar(Qt::Horizontal, panel_);
  speed_->setObjectName(QStringLiteral("SpeedScrollBar"));
  pLayout->addWidget(speed_, 3, 1, 1, 3);
  speedAnzeige_ = new QLabel(panel_);
  speedAnzeige_->setObjectName(QStringLiteral("SpeedAnzeigeLabel"));
  pLayout->addWidget(speedAnzeige_, 3, 4);
  connect(speed_, &QScrollBar::valueChanged, this, [this](int value) {
    if (fuellen_) return;
    model_.SpeedScrollBar_OnChange(value);
    speedAnzeige_->setText(qs(model_.SpeedAnzeigeLabel));
  });

  // Positions.
  akt_ = neuesGitter(1, this, "aktStringGrid");
  akt_->setEnabled(false);
  pos_ = neuesGitter(4, this, "posStringGrid");
  pos_->setSelectionBehavior(QAbstractItemView::SelectRows);
  pos_->setSelectionMode(QAbstractItemView::SingleSelection);
  pos_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(pos_, &QTableWidget::currentCellChanged, this, [this](int row, int col, int oldRow, int oldCol) {
    if (fuellen_ || row < 0) return;
    if (!model_.posStringGridSelectCell(col, row + 1)) {
      const QSignalBlocker block(pos_);
      pos_->setCurrentCell(oldRow, oldCol < 1 ? 1 : oldCol);
      return;
    }
    if (model_.posGridEditieren) pos_->editItem(pos_->item(row, col));
  });
  connect(pos_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (fuellen_) return;
    model_.posStringGridSetEditText(item->column(), item->row() + 1, item->text().toStdString());
  });

  anfahren_ = new QPushButton(qs(model_.AnfahrenBitBtn.Caption), this);
  anfahren_->setObjectName(QStringLiteral("AnfahrenBitBtn"));
  loeschen_ = new QPushButton(qs(model_.LoeschenBitBtn.Caption), this);
  loeschen_->setObjectName(QStringLiteral("LoeschenBitBtn"));
  zuweisen_ = new QPushButton(qs(model_.ZuweisenBitBtn.Caption), this);
  zuweisen_->setObjectName(QStringLiteral("ZuweisenBitBtn"));
  editieren_ = new QPushButton(qs(model_.EditierenSpeedButton.Caption), this);
  editieren_->setObjectName(QStringLiteral("EditierenSpeedButton"));
  editieren_->setCheckable(true);
  tastatur_ = new QCheckBox(qs(model_.TastaturCheckBox.Caption), this);
  tastatur_->setObjectName(QStringLiteral("TastaturCheckBox"));
  connect(anfahren_, &QPushButton::clicked, this, [this] {
    model_.AnfahrenBitBtn_OnClick();
    anzeigen();
  });
  connect(loeschen_, &QPushButton::clicked, this, [this] {
    model_.LoeschenBitBtn_OnClick();
    anzeigen();
  });
  connect(zuweisen_, &QPushButton::clicked, this, [this] {
    model_.ZuweisenBitBtn_OnClick();
    anzeigen();
  });
  connect(editieren_, &QPushButton::toggled, this, [this](bool down) {
    if (fuellen_) return;
    // An open cell editor hands its text over first.
    if (!down) pos_->setCurrentCell(-1, -1);
    model_.EditierenSpeedButton_OnClick(down);
    anzeigen();
  });
  connect(tastatur_, &QCheckBox::toggled, this, [this](bool on) {
    if (fuellen_) return;
    model_.TastaturCheckBoxOnClick(on);
  });

  abbrechen_ = new QPushButton(qs(model_.AbbrechenBitBtn.Caption), this);
  abbrechen_->setObjectName(QStringLiteral("AbbrechenBitBtn"));
  schliessen_ = new QPushButton(qs(model_.SchliessenBitBtn.Caption), this);
  schliessen_->setObjectName(QStringLiteral("SchliessenBitBtn"));
  connect(abbrechen_, &QPushButton::clicked, this, [this] { model_.AbbrechenBitBtn_OnClick(); });
  connect(schliessen_, &QPushButton::clicked, this, [this] {
    if (model_.SchliessenBitBtn_OnClick()) accept();
  });

  auto* posKnoepfe = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{anfahren_, loeschen_, zuweisen_, editieren_, tastatur_})
    posKnoepfe->addWidget(w);
  auto* unten = new QHBoxLayout;
  unten->addStretch();
  unten->addWidget(abbrechen_);
  unten->addWidget(schliessen_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(schrittweite);
  layout->addWidget(panel_);
  layout->addWidget(akt_);
  layout->addWidget(pos_);
  layout->addLayout(posKnoepfe);
  layout->addLayout(unten);
  resize(520, 520);

  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  model_.setOnChanged([this] { anzeigen(); });
}

JoggingDialogView::~JoggingDialogView() { model_.setOnChanged({}); }

void JoggingDialogView::aktivieren() {
  model_.OnActivate();
  if (pos().y() > model_.kMaxTop) move(x(), model_.kMaxTop);
  anzeigen();
}

int JoggingDialogView::exec() {
  aktivieren();
  return QDialog::exec();
}

void JoggingDialogView::open() {
  aktivieren();
  QDialog::open();
}

void JoggingDialogView::done(int result) {
  if (!model_.OnClose()) return;
  QDialog::done(result);
}

void JoggingDialogView::schrittweiteUebernehmen() {
  model_.SchrittweiteMaskEdit.Text = schrittweiteEdit_->text().toStdString();
  model_.SchrittweiteMaskEdit_OnExit(model_.SchrittweiteMaskEdit.Text);
  // The width as taken, or, when it was refused, the width that stays.
  schrittweiteEdit_->setText(qs(model_.SchrittweiteMaskEdit.Text));
}

bool JoggingDialogView::tasteFuehren(QKeyEvent* event) {
  const int code = tastenCode(event->key());
  if (code == 0 || !model_.TastaturChecked || model_.EditierenDown) return false;
  // A jog key typed while the width is being edited moves by the width typed so far.
  if (schrittweiteEdit_->hasFocus()) schrittweiteUebernehmen();
  model_.OnShortCut(code, event->isAutoRepeat());
  anzeigen();
  return true;
}

void JoggingDialogView::tasteLosgelassen(QKeyEvent* event) {
  // X reports a held key as releases and presses marked as repeats; only the last release counts.
  const int code = tastenCode(event->key());
  if (code != 0 && !event->isAutoRepeat()) model_.OnKeyUp(code);
}

bool JoggingDialogView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && tasteFuehren(static_cast<QKeyEvent*>(event))) return true;
  if (event->type() == QEvent::KeyRelease) tasteLosgelassen(static_cast<QKeyEvent*>(event));
  // While a move is under way the edit is off in the model before it is in the widget: the focus
  // that Qt moves on from the width buttons it disables one by one is no choice of the user's.
  if (watched == schrittweiteEdit_ && schrittweiteEdit_->isEnabled() && model_.SchrittweiteMaskEdit.Enabled) {
    // A click into the width edit, or the focus reaching it by Tab, chooses the free width.
    bool angeklickt = event->type() == QEvent::MouseButtonPress;
    if (event->type() == QEvent::FocusIn) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      angeklickt = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
    }
    if (angeklickt) {
      model_.SchrittweiteMaskEdit_OnClick();
      anzeigen();
    }
  }
  return QtSafeDialog::eventFilter(watched, event);
}

void JoggingDialogView::keyPressEvent(QKeyEvent* event) {
  if (tasteFuehren(event)) return;
  // Escape does not close the dialog: it is the stop key.
  if (event->key() == Qt::Key_Escape) {
    model_.AbbrechenBitBtn_OnClick();
    return;
  }
  QtSafeDialog::keyPressEvent(event);
}

void JoggingDialogView::keyReleaseEvent(QKeyEvent* event) {
  tasteLosgelassen(event);
  QtSafeDialog::keyReleaseEvent(event);
}

void JoggingDialogView::anzeigen() {
  fuellen_ = true;
  hintergrund(panel_, model_.Hintergrundfarbe);
  for (std::size_t i = 0; i < schrittweite_.size(); ++i) {
    schrittweite_[i]->setChecked(model_.SchrittweiteRadioGroup.ItemIndex == static_cast<int>(i));
    schrittweite_[i]->setEnabled(model_.SchrittweiteRadioGroup.Enabled);
  }
  if (!schrittweiteEdit_->hasFocus()) schrittweiteEdit_->setText(qs(model_.SchrittweiteMaskEdit.Text));
  schrittweiteEdit_->setEnabled(model_.SchrittweiteMaskEdit.Enabled);
  panel_->setEnabled(model_.Panel.Enabled);
  relaisOn_->setVisible(model_.RelaisON_BitBtn.Visible);
  relaisOff_->setVisible(model_.RelaisOFF_BitBtn.Visible);
  speed_->setRange(model_.SpeedScrollBar.Min, model_.SpeedScrollBar.Max);
  speed_->setValue(model_.SpeedScrollBar.Position);
  speed_->setEnabled(model_.SpeedScrollBar.Enabled);
  speedAnzeige_->setText(qs(model_.SpeedAnzeigeLabel));

  QStringList kopf;
  for (const auto& text : model_.aktStringGrid[0]) kopf << qs(text);
  akt_->setHorizontalHeaderLabels(kopf);
  pos_->setHorizontalHeaderLabels(kopf);
  for (int c = 0; c < 4; ++c) akt_->item(0, c)->setText(qs(model_.aktStringGrid[1][static_cast<std::size_t>(c)]));
  const bool editieren = model_.EditierenDown;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      QTableWidgetItem* item = pos_->item(r, c);
      if (!(editieren && pos_->currentItem() == item))
        item->setText(qs(model_.posStringGrid[static_cast<std::size_t>(r + 1)][static_cast<std::size_t>(c)]));
      Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (editieren && c > 0) flags |= Qt::ItemIsEditable;
      item->setFlags(flags);
    }
  }
  pos_->setSelectionBehavior(model_.posGridZeilenauswahl ? QAbstractItemView::SelectRows
                                                         : QAbstractItemView::SelectItems);
  pos_->setEditTriggers(editieren ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
  if (!editieren) pos_->selectRow(model_.PositionsZeile - 1);

  editieren_->setChecked(model_.EditierenDown);
  tastatur_->setChecked(model_.TastaturChecked);
  tastatur_->setEnabled(model_.TastaturCheckBox.Enabled);
  abbrechen_->setVisible(model_.AbbrechenBitBtn.Visible);
  schliessen_->setVisible(model_.SchliessenBitBtn.Visible);
  fuellen_ = false;
}

}  // namespace machineqt
