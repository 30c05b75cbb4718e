// The data grids of development mode on Qt Widgets, `SGPageControl` laid over the drawing: the
// document table on `DatenTabSheet` and the element lists of the format modules on
// `HPGLTabSheet`, `DINISOTabSheet` and `DXFTabSheet`. A view of app::TMainForm: it shows the
// model's grids and page and tells it which page the user chose.
//
// Thread context: GUI thread. The model must outlive the pages.
#pragma once

#include <QTabWidget>
#include <functional>
#include <vector>

#include "app/MainForm.h"

class QTableView;

namespace appqt {

class StringGridModel;

class DataGridPages final : public QTabWidget {
 public:
  using Runner = std::function<void(const std::function<void()>&)>;

  // `call` runs a handler of the model from the pages' own events.
  DataGridPages(app::TMainForm& form, Runner call, QWidget* parent = nullptr);

  void showState();
  // At the top left of `area` (in the parent's coordinates), 4 pixels in, its width less 8 and
  // at most 400 pixels high.
  void place(const QRect& area);

 private:
  struct Page {
    QWidget* sheet = nullptr;
    app::SGPage page = app::SGPage::Daten;
    const panel::StringGrid* grid = nullptr;
    QTableView* view = nullptr;
    StringGridModel* model = nullptr;
  };

  void addPage(const char* sheetName, const char* gridName, const QString& caption, app::SGPage page,
               const panel::StringGrid& grid);
  // Column widths of the document table: 44 pixels, some columns wider.
  void setDataColumnWidths();

  app::TMainForm& form_;
  Runner call_;
  std::vector<Page> pages_;
};

}  // namespace appqt
