// Widgets of the tool-table dialog and the copy between them and the model's grid.
#include "ToolTableDialogView.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/qt/GridColours.h"

namespace appqt {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ToolTableDialogView::ToolTableDialogView(app::TToolDefForm& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("ToolDefForm"));
  setWindowTitle(qs(model_.Caption));
  setModal(true);

  const int rows = model_.toolStringGrid.RowCount() - 1;
  const int cols = model_.toolStringGrid.ColCount() - 1;
  grid_ = new QTableWidget(rows, cols, this);
  grid_->setObjectName(QStringLiteral("toolStringGrid"));
  platform::setGridColours(grid_);
  grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) grid_->setItem(r, c, new QTableWidgetItem);

  auto* ok = new QPushButton(qs(model_.OKBitBtn.Caption), this);
  ok->setObjectName(QStringLiteral("OKBitBtn"));
  ok->setDefault(true);
  auto* abbrechen = new QPushButton(qs(model_.AbbrechenBitBtn.Caption), this);
  abbrechen->setObjectName(QStringLiteral("AbbrechenBitBtn"));
  connect(ok, &QPushButton::clicked, this, [this] {
    takeGrid();
    if (tools_ != nullptr) model_.OKBitBtnClick(*tools_);
    accept();
  });
  connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(abbrechen);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addLayout(buttons);
  resize(520, 320);
}

int ToolTableDialogView::exec(app::ToolTable& tools) {
  tools_ = &tools;
  model_.OnActivate(tools);
  showGrid();
  const int result = QDialog::exec();
  tools_ = nullptr;
  return result;
}

void ToolTableDialogView::done(int result) {
  // Every way of closing stores the grid, "&Abbrechen" and the close box included.
  takeGrid();
  if (tools_ != nullptr) model_.OnClose(*tools_);
  QDialog::done(result);
}

void ToolTableDialogView::showGrid() {
  const panel::StringGrid& cells = model_.toolStringGrid;
  QStringList columns;
  for (int c = 1; c < cells.ColCount(); ++c) columns << qs(cells.Cells(c, 0));
  grid_->setHorizontalHeaderLabels(columns);
  QStringList rows;
  for (int r = 1; r < cells.RowCount(); ++r) rows << qs(cells.Cells(0, r));
  grid_->setVerticalHeaderLabels(rows);
  for (int r = 1; r < cells.RowCount(); ++r)
    for (int c = 1; c < cells.ColCount(); ++c) grid_->item(r - 1, c - 1)->setText(qs(cells.Cells(c, r)));
}

void ToolTableDialogView::takeGrid() {
  // Leaving the current cell commits an open cell editor, which holds the latest typing.
  grid_->setCurrentIndex(QModelIndex());
  panel::StringGrid& cells = model_.toolStringGrid;
  for (int r = 1; r < cells.RowCount(); ++r)
    for (int c = 1; c < cells.ColCount(); ++c) cells.setCells(c, r, grid_->item(r - 1, c - 1)->text().toStdString());
}

}  // namespace appqt
