// The grid's cells as table data, its header row as the horizontal header.
#include "StringGridModel.h"

#include <QBrush>
#include <QString>
#include <algorithm>

namespace appqt {

StringGridModel::StringGridModel(const panel::StringGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {
  rows_ = std::max(0, grid_.RowCount() - 1);
  columns_ = grid_.ColCount();
}

void StringGridModel::refresh() {
  beginResetModel();
  rows_ = std::max(0, grid_.RowCount() - 1);
  columns_ = grid_.ColCount();
  endResetModel();
}

void StringGridModel::refreshCells() {
  if (rows_ != std::max(0, grid_.RowCount() - 1) || columns_ != grid_.ColCount()) {
    refresh();
    return;
  }
  if (rows_ > 0 && columns_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
  emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

int StringGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int StringGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int gridRow = index.row() + 1;
  if (role == Qt::DisplayRole) return QString::fromStdString(grid_.Cells(index.column(), gridRow));
  if (role == Qt::BackgroundRole && background_) return QBrush(background_(gridRow));
  return {};
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return QString::fromStdString(grid_.Cells(section, 0));
  return section + 1;
}

}  // namespace appqt
