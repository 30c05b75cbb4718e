// Widgets of the "Einstellungen" page, the copy of the model's grids and editors onto them, and
// their events.
#include "SettingsPage.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "StringGridModel.h"
#include "panel/PropertyGrid.h"
#include "platform/qt/GridColours.h"

namespace appqt {

namespace {

// Stands for "the system button-face colour" in the row colours.
constexpr platform::Colour kButtonFace = 0xFF000000;
constexpr int kLabelBreite = 100;

template <class W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QString qs(const std::string& text) { return QString::fromStdString(text); }

// The cells of the properties grid as the grid draws them itself: filled with the row's colour
// and the text in black at (left + 2, top + 2), the selected row too, whatever the theme.
class RowColourDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QBrush>());
    painter->setFont(option.font);
    painter->setPen(platform::kGridWindowText);
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }
};

void setUpGrid(QTableView* grid) {
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  grid->horizontalHeader()->setHighlightSections(false);
}

}  // namespace

SettingsPage::SettingsPage(app::TMainForm& form, Runner command, Runner call, QWidget* parent)
    : QWidget(parent), form_(form), command_(std::move(command)), call_(std::move(call)) {
  setObjectName(QStringLiteral("ERTabSheet"));
  auto* column = new QVBoxLayout(this);

  EigenschaftenLabel_ = named(new QLabel, "EigenschaftenLabel");
  column->addWidget(EigenschaftenLabel_);
  EigenschaftenStringGrid_ = named(new QTableView, "EigenschaftenStringGrid");
  eigenschaften_ = new StringGridModel(form_.EigenschaftenStringGrid, this);
  eigenschaften_->setBackground([this](int row) {
    const platform::Colour c = panel::esgOnDrawCell(form_.EigenschaftenStringGrid, row, kButtonFace);
    if (c == kButtonFace) return platform::kGridButtonFace;
    return QColor(static_cast<int>(platform::redOf(c)), static_cast<int>(platform::greenOf(c)),
                  static_cast<int>(platform::blueOf(c)));
  });
  EigenschaftenStringGrid_->setModel(eigenschaften_);
  setUpGrid(EigenschaftenStringGrid_);
  platform::setGridColours(EigenschaftenStringGrid_, platform::kGridButtonFace);
  EigenschaftenStringGrid_->setItemDelegate(new RowColourDelegate(EigenschaftenStringGrid_));
  EigenschaftenStringGrid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  EigenschaftenStringGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  EigenschaftenStringGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  EigenschaftenStringGrid_->setColumnWidth(0, kLabelBreite);
  EigenschaftenStringGrid_->horizontalHeader()->setStretchLastSection(true);
  EigenschaftenStringGrid_->setFixedHeight(EigenschaftenStringGrid_->horizontalHeader()->sizeHint().height() +
                                           (panel::kEigenschaftenZeilen - 1) *
                                               EigenschaftenStringGrid_->verticalHeader()->defaultSectionSize() +
                                           2 * EigenschaftenStringGrid_->frameWidth());
  connect(EigenschaftenStringGrid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
    command_([this, index] {
      form_.esgOnSelectCell(index.column(), index.row() + 1);
      form_.esgOnClick();
    });
  });
  column->addWidget(EigenschaftenStringGrid_);

  EigenschaftenPopupMenu_ = named(new QMenu(this), "EigenschaftenPopupMenu");
  const auto popup = [this](const char* name, const char* caption, void (app::TMainForm::*handler)()) {
    QAction* action = named(EigenschaftenPopupMenu_->addAction(QString::fromUtf8(caption)), name);
    connect(action, &QAction::triggered, this, [this, handler] { command_([this, handler] { (form_.*handler)(); }); });
  };
  popup("epumAlleTiefenNeuSetzen", "alle Tiefen neu &setzen", &app::TMainForm::epumAlleTiefenNeuSetzenClick);
  EigenschaftenPopupMenu_->addSeparator();
  popup("epumDisablen", "alle Konturen &disablen", &app::TMainForm::epumDisablenClick);
  popup("epumEnablen", "alle Konturen &enablen", &app::TMainForm::epumEnablenClick);
  EigenschaftenStringGrid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(EigenschaftenStringGrid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    EigenschaftenPopupMenu_->popup(EigenschaftenStringGrid_->viewport()->mapToGlobal(at));
  });

  column->addWidget(named(new QLabel(QStringLiteral("Reihenfolge:")), "ReihenfolgeLabel"));
  ReihenfolgeStringGrid_ = named(new QTableView, "ReihenfolgeStringGrid");
  reihenfolge_ = new StringGridModel(form_.ReihenfolgeStringGrid, this);
  ReihenfolgeStringGrid_->setModel(reihenfolge_);
  setUpGrid(ReihenfolgeStringGrid_);
  platform::setGridColours(ReihenfolgeStringGrid_);
  ReihenfolgeStringGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ReihenfolgeStringGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ReihenfolgeStringGrid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  connect(ReihenfolgeStringGrid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) command_([this, row = current.row() + 1] { form_.rsgOnSelectCell(row); });
          });
  connect(ReihenfolgeStringGrid_->verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { form_.ReihenfolgeStringGridControl.TopRow = value + 1; });
  column->addWidget(ReihenfolgeStringGrid_, 1);

  auto* buttons = named(new QWidget, "ReihenfolgePanel");
  auto* row = new QHBoxLayout(buttons);
  row->setContentsMargins(0, 0, 0, 0);
  const auto button = [this, row](const char* name, QStyle::StandardPixmap icon, const char* hint,
                                  void (app::TMainForm::*handler)()) {
    auto* b = named(new QToolButton, name);
    b->setIcon(style()->standardIcon(icon));
    b->setToolTip(QString::fromUtf8(hint));
    connect(b, &QToolButton::clicked, this, [this, handler] { command_([this, handler] { (form_.*handler)(); }); });
    row->addWidget(b);
    return b;
  };
  NachObenSpeedButton_ =
      button("NachObenSpeedButton", QStyle::SP_ArrowUp, "Kontur nach oben", &app::TMainForm::NachObenSpeedButtonClick);
  NachUntenSpeedButton_ = button("NachUntenSpeedButton", QStyle::SP_ArrowDown, "Kontur nach unten",
                                 &app::TMainForm::NachUntenSpeedButtonClick);
  DelSpeedButton_ =
      button("DelSpeedButton", QStyle::SP_TrashIcon, "Kontur löschen", &app::TMainForm::DelSpeedButtonClick);
  row->addStretch();
  column->addWidget(buttons);

  buildEditors();
}

void SettingsPage::buildEditors() {
  esgPanel_ = named(new QLabel(this), "esgPanel");
  esgPanel_->setFrameShape(QFrame::Panel);
  esgPanel_->setFrameShadow(QFrame::Sunken);
  esgPanel_->setAutoFillBackground(true);
  esgMaskEdit_ = named(new QLineEdit(this), "esgMaskEdit");
  connect(esgMaskEdit_, &QLineEdit::editingFinished, this,
          [this] { call_([this] { form_.esgMaskEditOnExit(esgMaskEdit_->text().toStdString()); }); });
  esgComboBox_ = named(new QComboBox(this), "esgComboBox");
  // Only the listed values can be chosen; typing is not offered.
  esgComboBox_->setEditable(false);
  connect(esgComboBox_, &QComboBox::activated, this,
          [this](int index) { call_([this, index] { form_.esgComboBoxOnChange(index); }); });
  esgMaskEdit2_ = named(new QLineEdit(this), "esgMaskEdit2");
  esgMaskEdit2_->setReadOnly(true);
  esgButton_ = named(new QToolButton(this), "esgButton");
  esgButton_->setText(QStringLiteral("..."));
  connect(esgButton_, &QToolButton::clicked, this, [this] { command_([this] { form_.esgButtonOnClick(); }); });
  for (QWidget* w : std::initializer_list<QWidget*>{esgPanel_, esgMaskEdit_, esgComboBox_, esgMaskEdit2_, esgButton_})
    w->hide();
}

void SettingsPage::commitEditor() {
  if (!esgMaskEdit_->isVisible() || form_.esgEditor.shown != panel::EditorKind::Text) return;
  const std::string text = esgMaskEdit_->text().toStdString();
  if (text != form_.esgEditor.text) form_.esgMaskEditOnExit(text);
}

void SettingsPage::showState() {
  EigenschaftenLabel_->setText(qs(form_.EigenschaftenLabel));
  eigenschaften_->refreshCells();
  EigenschaftenStringGrid_->setEnabled(form_.EigenschaftenStringGridControl.Enabled);
  NachObenSpeedButton_->setEnabled(form_.NachObenSpeedButton.Enabled);
  NachUntenSpeedButton_->setEnabled(form_.NachUntenSpeedButton.Enabled);
  DelSpeedButton_->setEnabled(form_.DelSpeedButton.Enabled);
  showOrderGrid();
  showEditors();
}

int SettingsPage::visibleOrderRows() const {
  const int rowHeight = std::max(1, ReihenfolgeStringGrid_->verticalHeader()->defaultSectionSize());
  return std::max(1, ReihenfolgeStringGrid_->viewport()->height() / rowHeight);
}

void SettingsPage::showOrderGrid() {
  panel::GridControlState& grid = form_.ReihenfolgeStringGridControl;
  grid.VisibleRowCount = visibleOrderRows();
  const QSignalBlocker blocker(ReihenfolgeStringGrid_->selectionModel());
  if (grid.generation != shownOrder_) {
    shownOrder_ = grid.generation;
    reihenfolge_->refresh();
    ReihenfolgeStringGrid_->setColumnWidth(0, 30);
    ReihenfolgeStringGrid_->setColumnWidth(2, 50);
    ReihenfolgeStringGrid_->verticalScrollBar()->setValue(grid.TopRow - 1);
  }
  const QModelIndex current = reihenfolge_->index(grid.Row - 1, 0);
  if (current.isValid() && ReihenfolgeStringGrid_->currentIndex().row() != current.row()) {
    ReihenfolgeStringGrid_->selectionModel()->setCurrentIndex(
        current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
}

void SettingsPage::showEditors() {
  const panel::InPlaceEditorState& e = form_.esgEditor;
  const bool opened = e.generation != shownEditor_;
  shownEditor_ = e.generation;
  const auto hide = [](QWidget* w) {
    // Hiding the focused edit would report it as left; what it held was taken before.
    const QSignalBlocker blocker(w);
    w->hide();
  };
  const bool text = e.shown == panel::EditorKind::Text;
  const bool choice = e.shown == panel::EditorKind::Choice;
  const bool file = e.shown == panel::EditorKind::File;
  if (!text) hide(esgMaskEdit_);
  if (!choice) hide(esgComboBox_);
  if (!file) {
    hide(esgMaskEdit2_);
    hide(esgButton_);
  }
  if (e.shown == panel::EditorKind::None) {
    hide(esgPanel_);
    return;
  }

  // Over the edited row: the label panel over the label cell, the editor over the value cell.
  const auto cell = [this, &e](int col) {
    const QRect r = EigenschaftenStringGrid_->visualRect(eigenschaften_->index(e.row - 1, col));
    return QRect(EigenschaftenStringGrid_->viewport()->mapTo(this, r.topLeft()), r.size());
  };
  const QRect label = cell(0);
  const QRect value = cell(1);
  esgPanel_->setGeometry(label);
  esgPanel_->setText(qs(e.label));
  esgPanel_->show();
  esgPanel_->raise();

  QWidget* focus = nullptr;
  if (text) {
    esgMaskEdit_->setGeometry(value);
    if (opened) {
      const QSignalBlocker blocker(esgMaskEdit_);
      esgMaskEdit_->setText(qs(e.text));
      esgMaskEdit_->selectAll();
    }
    focus = esgMaskEdit_;
  } else if (choice) {
    esgComboBox_->setGeometry(value);
    if (opened) {
      const QSignalBlocker blocker(esgComboBox_);
      esgComboBox_->clear();
      for (const std::string& item : e.Items) esgComboBox_->addItem(qs(item));
      esgComboBox_->setCurrentIndex(esgComboBox_->findText(qs(e.text)));
    }
    focus = esgComboBox_;
  } else {
    const int side = value.height();
    esgMaskEdit2_->setGeometry(value.adjusted(0, 0, -side, 0));
    esgMaskEdit2_->setText(qs(e.text));
    esgButton_->setGeometry(value.right() - side + 1, value.top(), side, side);
    esgButton_->show();
    esgButton_->raise();
    focus = esgMaskEdit2_;
  }
  focus->show();
  focus->raise();
  if (opened) focus->setFocus();
}

void SettingsPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  form_.ReihenfolgeStringGridControl.VisibleRowCount = visibleOrderRows();
  showEditors();
}

}  // namespace appqt
