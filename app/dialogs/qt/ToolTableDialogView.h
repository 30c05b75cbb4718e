// The tool-table dialog "Tool-Einstellungen" on Qt Widgets: a view of app::TToolDefForm. Row 0
// and column 0 of the model's grid are the table's headers; the other cells are edited in place.
//
// Thread context: GUI thread. exec() is modal and blocks until the dialog closes. The model and
// the tool table are not owned.
#pragma once

#include <QDialog>

#include "app/dialogs/ToolTableDialog.h"

class QTableWidget;

namespace appqt {

class ToolTableDialogView final : public QDialog {
 public:
  ToolTableDialogView(app::TToolDefForm& model, QWidget* parent = nullptr);

  // Shows the dialog modally over its parent for `tools`; however it is closed, the grid is taken
  // into `tools`.
  int exec(app::ToolTable& tools);

  void done(int result) override;

 private:
  void showGrid();
  void takeGrid();

  app::TToolDefForm& model_;
  app::ToolTable* tools_ = nullptr;
  QTableWidget* grid_ = nullptr;
};

}  // namespace appqt
