// Pages and grids of the data grids, their place over the drawing and the copy of the model's
// grids onto them.
#include "DataGridPages.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "StringGridModel.h"
#include "platform/qt/GridColours.h"

namespace appqt {

namespace {

constexpr int kRand = 4;
constexpr int kHoehe = 400;
constexpr int kSpaltenbreite = 44;
// Wider columns of the document table: keyword, the cells that hold paths and texts, the mode.
constexpr std::pair<int, int> kBreiteSpalten[] = {{0, 90}, {4, 100}, {5, 60}, {9, 100}, {10, 70}};

}  // namespace

DataGridPages::DataGridPages(app::TMainForm& form, Runner call, QWidget* parent)
    : QTabWidget(parent), form_(form), call_(std::move(call)) {
  setObjectName(QStringLiteral("SGPageControl"));
  addPage("DatenTabSheet", "DatenStringGrid", QStringLiteral("Daten"), app::SGPage::Daten, form_.DatenStringGrid);
  addPage("HPGLTabSheet", "HPGLStringGrid", QStringLiteral("HPGL"), app::SGPage::HPGL, form_.HPGLStringGrid);
  addPage("DINISOTabSheet", "DINISOStringGrid", QStringLiteral("DIN/ISO"), app::SGPage::DINISO, form_.DINISOStringGrid);
  addPage("DXFTabSheet", "DXFStringGrid", QStringLiteral("DXF"), app::SGPage::DXF, form_.DXFStringGrid);
  setDataColumnWidths();
  connect(this, &QTabWidget::currentChanged, this, [this](int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    call_([this, index] {
      form_.SGPageControlSeite = pages_[static_cast<std::size_t>(index)].page;
      form_.DrawPageControlOnChange();
    });
  });
  hide();
}

void DataGridPages::addPage(const char* sheetName, const char* gridName, const QString& caption, app::SGPage page,
                            const panel::StringGrid& grid) {
  auto* sheet = new QWidget;
  sheet->setObjectName(QString::fromLatin1(sheetName));
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* view = new QTableView(sheet);
  view->setObjectName(QString::fromLatin1(gridName));
  auto* model = new StringGridModel(grid, view);
  view->setModel(model);
  platform::setGridColours(view);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->horizontalHeader()->setDefaultSectionSize(kSpaltenbreite);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  layout->addWidget(view);
  addTab(sheet, caption);
  pages_.push_back(Page{sheet, page, &grid, view, model});
}

void DataGridPages::setDataColumnWidths() {
  QTableView* daten = pages_.front().view;
  for (const auto& [column, width] : kBreiteSpalten) daten->setColumnWidth(column, width);
}

void DataGridPages::place(const QRect& area) {
  setGeometry(area.left() + kRand, area.top() + kRand, std::max(0, area.width() - 2 * kRand),
              std::max(0, std::min(kHoehe, area.height() - 2 * kRand)));
  raise();
}

void DataGridPages::showState() {
  setVisible(form_.SGPageControl.Visible);
  if (!isVisible()) return;
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].page != form_.SGPageControlSeite) continue;
    const QSignalBlocker blocker(this);
    setCurrentIndex(static_cast<int>(i));
  }
  // Only the grid in sight is brought up to date; the others when they are chosen.
  for (Page& page : pages_) {
    if (page.page != form_.SGPageControlSeite) continue;
    const int rows = page.model->rowCount();
    const int columns = page.model->columnCount();
    page.model->refreshCells();
    // A grid of another size was reset, and its columns with it.
    const bool reset = rows != page.model->rowCount() || columns != page.model->columnCount();
    if (page.page == app::SGPage::Daten && reset) setDataColumnWidths();
  }
}

}  // namespace appqt
