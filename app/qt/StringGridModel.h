// A string grid of the panel model shown in a Qt table view: row 0 of the grid is the header,
// rows 1.. are the table's rows 0.. . Read-only; the view edits through the window's handlers.
//
// Thread context: GUI thread. The grid is not owned and must outlive the model; after the grid
// changed, refresh() (new rows) or refreshCells() (same rows, new texts) tells the view.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <functional>

#include "panel/StringGrid.h"

namespace appqt {

class StringGridModel final : public QAbstractTableModel {
 public:
  explicit StringGridModel(const panel::StringGrid& grid, QObject* parent = nullptr);

  // The background of a grid row (1..); none: the view's own.
  void setBackground(std::function<QColor(int gridRow)> background) { background_ = std::move(background); }

  void refresh();
  void refreshCells();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const panel::StringGrid& grid_;
  std::function<QColor(int)> background_;
  int rows_ = 0;
  int columns_ = 0;
};

}  // namespace appqt
