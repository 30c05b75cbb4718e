// Building a panel with the mouse in the main window on Qt's offscreen platform: a rectangle made
// with its button, moved by its centre handle, its width typed into the properties grid, saved,
// and the values found again after reopening; and the grids' colours on a dark desktop.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "ControllerDouble.h"
#include "WindowRig.h"
#include "panel/ObjectTypes.h"
#include "panel/PanelView.h"

namespace {

constexpr int kTimeoutMs = 30000;

// A dark desktop theme: light texts on dark windows, cells and buttons.
QPalette darkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(53, 53, 53));
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Base, QColor(35, 35, 35));
  dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::Button, QColor(53, 53, 53));
  dark.setColor(QPalette::ButtonText, Qt::white);
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::HighlightedText, Qt::black);
  return dark;
}

// What a cell of a grid shows: its most frequent colour (the fill) and the darkest of its pixels,
// as the largest of the three components (the text drawn in black gives nearly 0).
struct CellPixels {
  QColor fill;
  int darkest = 255;
};

CellPixels cellPixels(QTableView* grid, int row, int column) {
  const QImage image = grid->grab().toImage();
  QRect cell = grid->visualRect(grid->model()->index(row, column)).adjusted(1, 1, -1, -1);
  cell.translate(grid->viewport()->pos());
  std::map<QRgb, int> counts;
  CellPixels result;
  for (int y = cell.top(); y <= cell.bottom(); ++y) {
    for (int x = cell.left(); x <= cell.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      ++counts[p];
      result.darkest = std::min(result.darkest, std::max({qRed(p), qGreen(p), qBlue(p)}));
    }
  }
  result.fill = QColor(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                         return a.second < b.second;
                       })->first);
  return result;
}

}  // namespace

class EditingWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void aRectangleIsMadeDraggedEditedSavedAndReopened();
  void theGridsKeepTheirOwnColoursOnADarkDesktop();

 private:
  template <class W>
  W* child(const char* name) {
    return rig_->child<W>(name);
  }
  // Clicks the value cell of property row `row` (1 ..) of the properties grid.
  void clickProperty(int row);
  QString shownProperty(int row);

  std::unique_ptr<apptest::ControllerFactory> factory_;
  std::unique_ptr<apptest::WindowRig> rig_;
  std::optional<QPalette> desktopPalette_;
};

void EditingWindowTest::init() {
  factory_ = std::make_unique<apptest::ControllerFactory>();
  rig_ = std::make_unique<apptest::WindowRig>(*factory_, 0, panel::standardObjectTypes());
  rig_->window->show();
  QTRY_VERIFY_WITH_TIMEOUT(rig_->form->bInitFertig, kTimeoutMs);
}

void EditingWindowTest::cleanup() {
  rig_.reset();
  factory_.reset();
  if (desktopPalette_) QApplication::setPalette(*desktopPalette_);
  desktopPalette_.reset();
}

void EditingWindowTest::clickProperty(int row) {
  auto* grid = child<QTableView>("EigenschaftenStringGrid");
  const QRect cell = grid->visualRect(grid->model()->index(row - 1, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

QString EditingWindowTest::shownProperty(int row) {
  const QAbstractItemModel* model = child<QTableView>("EigenschaftenStringGrid")->model();
  return model->data(model->index(row - 1, 1)).toString();
}

void EditingWindowTest::aRectangleIsMadeDraggedEditedSavedAndReopened() {
  app::TMainForm& form = *rig_->form;
  const panel::StringGrid& rows = form.DatenStringGrid;

  // The rectangle button opens the sub-panel, its third button appends a corner-and-size rectangle.
  QTest::mouseClick(child<QToolButton>("RechteckSpeedButton"), Qt::LeftButton);
  QVERIFY(child<QWidget>("RechteckPanel")->isVisible());
  QTest::mouseClick(child<QToolButton>("Rechteck3SpeedButton"), Qt::LeftButton);
  QCOMPARE(rows.RowCount(), 2);
  QCOMPARE(rows.Cells(0, 1), std::string("RECHTECK3"));
  QCOMPARE(child<QLabel>("EigenschaftenLabel")->text(), QStringLiteral("Rechteck/Quadrat-Eigenschaften:"));
  QCOMPARE(shownProperty(3), QStringLiteral("10.00"));
  const QAbstractItemModel* order = child<QTableView>("ReihenfolgeStringGrid")->model();
  QCOMPARE(order->data(order->index(0, 1)).toString(), QStringLiteral(" RECHTECK3"));

  // Grab the centre handle (5, 2.5) and drag it to (30, 20).
  auto* box = child<QWidget>("PaintBox");
  const panel::PanelAnsicht& view = form.Ansicht;
  const QPoint centre(panel::mm2PixelX(view, 5.0), panel::mm2PixelY(view, 2.5));
  const QPoint target(panel::mm2PixelX(view, 30.0), panel::mm2PixelY(view, 20.0));
  QTest::mousePress(box, Qt::LeftButton, {}, centre);
  QCOMPARE(form.Griffpunkt, panel::kGriffRechteckMitte);
  QTest::mouseMove(box, (centre + target) / 2);
  QTest::mouseMove(box, target);
  QTest::mouseRelease(box, Qt::LeftButton, {}, target);
  QCOMPARE(form.Griffpunkt, panel::kKeinGriff);
  const double x = panel::Pixel2mmX(view, target.x()) - 5.0;
  const double y = panel::Pixel2mmY(view, target.y()) - 2.5;
  QCOMPARE(rows.Cells(1, 1), panel::cellText(x));
  QCOMPARE(rows.Cells(2, 1), panel::cellText(y));
  QCOMPARE(shownProperty(1), QString::fromStdString(panel::cellText(x)));
  QVERIFY(form.bGeaendert);

  // Type the width into the free-text editor over row 3; the next click on the grid takes it over.
  clickProperty(3);
  auto* edit = child<QLineEdit>("esgMaskEdit");
  QVERIFY(edit->isVisible());
  QCOMPARE(edit->text(), QStringLiteral("10.00"));
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("25"));
  QTest::keyClick(edit, Qt::Key_Return);
  clickProperty(4);
  QCOMPARE(rows.Cells(3, 1), std::string("25.00"));
  QCOMPARE(shownProperty(3), QStringLiteral("25.00"));

  const auto path = rig_->folder() / "rechteck.tvx";
  rig_->ui.pushFileAnswer(platform::FileDialogResult{path.string(), 1});
  child<QAction>("MenuSpeichernUnter")->trigger();
  QVERIFY(!form.bGeaendert);
  child<QAction>("MenuSchliessen")->trigger();
  QCOMPARE(form.Dokumenttyp, panel::DocumentKind::None);

  rig_->ui.pushFileAnswer(platform::FileDialogResult{path.string(), 1});
  child<QAction>("MenuOeffnen")->trigger();
  QCOMPARE(rows.RowCount(), 2);
  QCOMPARE(rows.Cells(0, 1), std::string("RECHTECK3"));
  QCOMPARE(rows.Cells(1, 1), panel::cellText(x));
  QCOMPARE(rows.Cells(2, 1), panel::cellText(y));
  QCOMPARE(rows.Cells(3, 1), std::string("25.00"));
  QCOMPARE(rows.Cells(4, 1), std::string("5.00"));
  QCOMPARE(shownProperty(3), QStringLiteral("25.00"));
  QCOMPARE(order->data(order->index(0, 1)).toString(), QStringLiteral(" RECHTECK3"));
  QVERIFY(rig_->ui.messageBoxes().empty());
}

// On a dark desktop the grids used to take the theme's colours: the properties grid's black
// texts stood on a dark button face, the theme's light texts on its light row colours, and the
// selected row lost its colour to the highlight. Every grid now keeps the colours of its own.
void EditingWindowTest::theGridsKeepTheirOwnColoursOnADarkDesktop() {
  desktopPalette_ = QApplication::palette();
  QApplication::setPalette(darkPalette());
  rig_ = std::make_unique<apptest::WindowRig>(*factory_, 0, panel::standardObjectTypes());
  rig_->window->show();
  QTRY_VERIFY_WITH_TIMEOUT(rig_->form->bInitFertig, kTimeoutMs);
  QCOMPARE(child<QLabel>("EigenschaftenLabel")->palette().color(QPalette::Window), QColor(53, 53, 53));

  app::TMainForm& form = *rig_->form;
  QTest::mouseClick(child<QToolButton>("KreisSpeedButton"), Qt::LeftButton);
  QTest::mouseClick(child<QToolButton>("KreisSpeedButton"), Qt::LeftButton);
  QCOMPARE(form.iAktZeile, 2);
  form.DatenStringGrid.setCells(8, 2, "ja");
  form.DatenStringGrid.setCells(9, 2, "Gegenuhrzeigersinn");
  form.DatenStringGrid.setCells(10, 2, "innen");
  form.DatenStringGrid.setCells(11, 2, "nur zeichnen");
  form.EigenschaftenAktualisieren();
  rig_->window->showState();
  // The milling-mode row is the selected one.
  clickProperty(11);

  // Property rows: each cell in its row's colour with its text in black, the selected row too.
  auto* properties = child<QTableView>("EigenschaftenStringGrid");
  const struct {
    int row;
    QColor colour;
  } rows[] = {{1, QColor(240, 240, 240)},
              {8, QColor(255, 204, 255)},
              {9, QColor(255, 255, 215)},
              {10, QColor(208, 235, 255)},
              {11, QColor(255, 192, 112)}};
  for (const auto& r : rows) {
    for (int column : {0, 1}) {
      const CellPixels cell = cellPixels(properties, r.row - 1, column);
      QVERIFY2(cell.fill == r.colour,
               qPrintable(QStringLiteral("row %1 column %2: %3").arg(r.row).arg(column).arg(cell.fill.name())));
      QVERIFY2(cell.darkest < 80, qPrintable(QStringLiteral("row %1 column %2 text").arg(r.row).arg(column)));
    }
  }
  QCOMPARE(properties->horizontalHeader()->palette().color(QPalette::Button), QColor(240, 240, 240));
  QCOMPARE(properties->horizontalHeader()->palette().color(QPalette::ButtonText), QColor(0, 0, 0));

  // Order grid: black on white, the selected row in the highlight colour.
  auto* order = child<QTableView>("ReihenfolgeStringGrid");
  const CellPixels other = cellPixels(order, 0, 1);
  QCOMPARE(other.fill, QColor(255, 255, 255));
  QVERIFY(other.darkest < 80);
  QCOMPARE(cellPixels(order, 1, 1).fill, QColor(0, 120, 215));

  // The data grids and the dialogs' grids take the same colours.
  for (const char* name : {"DatenStringGrid", "HPGLStringGrid", "DINISOStringGrid", "DXFStringGrid", "toolStringGrid",
                           "aktStringGrid", "posStringGrid"}) {
    const QPalette palette = child<QAbstractItemView>(name)->palette();
    QVERIFY2(palette.color(QPalette::Base) == QColor(255, 255, 255), name);
    QVERIFY2(palette.color(QPalette::Text) == QColor(0, 0, 0), name);
    QVERIFY2(palette.color(QPalette::Disabled, QPalette::Text) == QColor(0, 0, 0), name);
    QVERIFY2(palette.color(QPalette::Button) == QColor(240, 240, 240), name);
  }
}

QTEST_MAIN(EditingWindowTest)
#include "EditingWindowTest.moc"
