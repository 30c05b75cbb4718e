// Building a panel with the mouse in the main window on Qt's offscreen platform: a rectangle made
// with its button, moved by its centre handle, its width typed into the properties grid, saved,
// and the values found again after reopening.
#include <QAbstractItemModel>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <string>

#include "ControllerDouble.h"
#include "WindowRig.h"
#include "panel/ObjectTypes.h"
#include "panel/PanelView.h"

namespace {

constexpr int kTimeoutMs = 30000;

}  // namespace

class EditingWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void aRectangleIsMadeDraggedEditedSavedAndReopened();

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

QTEST_MAIN(EditingWindowTest)
#include "EditingWindowTest.moc"
