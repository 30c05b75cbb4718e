// The main window's menus, toolbars, switches and about dialog on Qt's offscreen platform: every
// item is there under its name, the view shows the model's states, and what the user types or
// clicks reaches the model.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <fstream>
#include <memory>
#include <string>

#include "ControllerDouble.h"
#include "WindowRig.h"
#include "app/MainForm.h"
#include "app/qt/MainWindow.h"

namespace {

constexpr int kTimeoutMs = 30000;

using State = app::MenuItemState app::TMainForm::*;
using M = app::TMainForm;

struct Item {
  const char* name;
  State state;
};

// Every item of the menu bar, the menus' own entries included.
const Item kMenus[] = {
    {"MenuDatei", &M::MenuDatei},
    {"MenuAnsicht", &M::MenuAnsicht},
    {"MenuEinstellungen", &M::MenuEinstellungen},
    {"MenuSteuerung", &M::MenuSteuerung},
    {"MenuCobalt_Kyro", &M::MenuCobalt_Kyro},
};
const Item kItems[] = {
    {"MenuNeu", &M::MenuNeu},
    {"MenuOeffnen", &M::MenuOeffnen},
    {"MenuImportieren", &M::MenuImportieren},
    {"MenuSpeichern", &M::MenuSpeichern},
    {"MenuSpeichernUnter", &M::MenuSpeichernUnter},
    {"MenuSpeichernUndSchliessen", &M::MenuSpeichernUndSchliessen},
    {"MenuSchliessen", &M::MenuSchliessen},
    {"MenuFile1", &M::MenuFile1},
    {"MenuFile2", &M::MenuFile2},
    {"MenuFile3", &M::MenuFile3},
    {"MenuFile4", &M::MenuFile4},
    {"MenuAbmessungen", &M::MenuAbmessungen},
    {"MenuNutzenfertigung", &M::MenuNutzenfertigung},
    {"MenuParameter", &M::MenuParameter},
    {"MenuToolDef", &M::MenuToolDef},
    {"MenuE2", &M::MenuE2},
    {"MenuUSBIOFirmwareEinspielen", &M::MenuUSBIOFirmwareEinspielen},
    {"MenuReset", &M::MenuReset},
    {"MenuReferenzfahrt", &M::MenuReferenzfahrt},
    {"MenuManuelleFahrt", &M::MenuManuelleFahrt},
    {"MenuS1", &M::MenuS1},
    {"MenuWerkstueckNullpunktAn", &M::MenuWerkstueckNullpunktAn},
    {"MenuParkpositionAn", &M::MenuParkpositionAn},
    {"MenuFestwertspeicherLoeschen", &M::MenuFestwertspeicherLoeschen},
    {"MenuAusgabeInFestwertspeicher", &M::MenuAusgabeInFestwertspeicher},
    {"MenuKyro1", &M::MenuKyro1},
    {"MenuWerkzeuglaengeMessen", &M::MenuWerkzeuglaengeMessen},
    {"MenuKyro2", &M::MenuKyro2},
    {"MenuFirmwareEinspielen", &M::MenuFirmwareEinspielen},
    {"MenuInfo", &M::MenuInfo},
    {"MenuBeenden", &M::MenuBeenden},
};

}  // namespace

class MenusWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void everyMenuItemIsThereUnderItsName();
  void theMenusShowTheModelsStatesForTwoControllerTypes();
  void theToolbarsCheckWhatWasTypedWhenAnEditIsLeft();
  void theDrawingSwitchesAndTheStatusBarAreThere();
  void theAboutDialogClosesItselfAfterTwoSeconds();
  void inDevelopmentModeTheDataGridsShowAnOpenedPlot();

 private:
  template <class W>
  W* child(const char* name) {
    return rig_->child<W>(name);
  }
  void setModul(int modul) {
    rig_->params.update([modul](machine::Maschinenparameter& p) { p.Modul = modul; });
  }

  std::unique_ptr<apptest::ControllerFactory> factory_;
  std::unique_ptr<apptest::WindowRig> rig_;
};

void MenusWindowTest::init() {
  factory_ = std::make_unique<apptest::ControllerFactory>();
  factory_->attached = true;
  rig_ = std::make_unique<apptest::WindowRig>(*factory_, 3);
  rig_->window->show();
  QTRY_VERIFY_WITH_TIMEOUT(rig_->form->bInitFertig, kTimeoutMs);
  QVERIFY(rig_->form->bSteuerungVerbunden);
}

void MenusWindowTest::cleanup() {
  rig_.reset();
  factory_.reset();
}

void MenusWindowTest::everyMenuItemIsThereUnderItsName() {
  for (const Item& menu : kMenus) {
    const auto* widget = child<QMenu>(menu.name);
    QVERIFY2(widget->menuAction() != nullptr, menu.name);
  }
  for (const Item& item : kItems) QVERIFY2(rig_->window->findChild<QAction*>(item.name) != nullptr, item.name);
  QCOMPARE(child<QMenu>("MenuDatei")->title(), QStringLiteral("&Datei"));
  QCOMPARE(child<QAction>("MenuOeffnen")->text(), QStringLiteral("Ö&ffnen..."));
  QCOMPARE(child<QAction>("MenuWerkstueckNullpunktAn")->text(), QStringLiteral("&Werkstücknullpunkt anfahren"));
  QVERIFY(child<QAction>("MenuAbmessungen")->isCheckable());
  QVERIFY(child<QAction>("MenuE2")->isSeparator());
  // The menu bar reads in the order of the form.
  const QList<QAction*> bar = rig_->window->menuBar()->actions();
  QCOMPARE(bar.size(), 7);
  QCOMPARE(bar.front()->menu(), child<QMenu>("MenuDatei"));
  QCOMPARE(bar.back()->objectName(), QStringLiteral("MenuBeenden"));
}

void MenusWindowTest::theMenusShowTheModelsStatesForTwoControllerTypes() {
  for (const int modul : {5, 7}) {
    setModul(modul);
    rig_->form->MenuGestaltung(false);
    rig_->form->EnableWinKomponenten(false);
    rig_->window->showState();
    for (const Item& menu : kMenus) {
      const app::MenuItemState& s = (*rig_->form).*menu.state;
      const QAction* title = child<QMenu>(menu.name)->menuAction();
      if (s.Visible) QVERIFY2(title->isEnabled() == s.Enabled, menu.name);
      QVERIFY2(title->isVisible() == s.Visible, menu.name);
    }
    for (const Item& item : kItems) {
      const app::MenuItemState& s = (*rig_->form).*item.state;
      const QAction* action = child<QAction>(item.name);
      // Qt disables what it hides.
      if (!action->isSeparator() && s.Visible) QVERIFY2(action->isEnabled() == s.Enabled, item.name);
      QVERIFY2(action->isVisible() == s.Visible, item.name);
    }
    // Program memory and controller firmware are offered for Cobalt-Kyro only.
    QCOMPARE(child<QMenu>("MenuCobalt_Kyro")->menuAction()->isVisible(), modul == 5);
    if (modul == 5) QCOMPARE(child<QMenu>("MenuCobalt_Kyro")->title(), QStringLiteral("Cobalt-Kyro"));
    QVERIFY(child<QMenu>("MenuSteuerung")->menuAction()->isEnabled());
    QVERIFY(!child<QAction>("MenuNeu")->isEnabled());
    QVERIFY(child<QAction>("MenuSpeichern")->isEnabled());
  }
  // Controller types 10 to 13 keep the controller menu disabled even when connected.
  setModul(11);
  rig_->form->EnableWinKomponenten(false);
  rig_->window->showState();
  QVERIFY(!child<QMenu>("MenuSteuerung")->menuAction()->isEnabled());
}

void MenusWindowTest::theToolbarsCheckWhatWasTypedWhenAnEditIsLeft() {
  child<QAction>("MenuAbmessungen")->trigger();
  QCOMPARE(child<QToolBar>("AbmessungenToolBar")->isVisible(), rig_->form->MenuAbmessungen.Checked);
  if (!child<QToolBar>("AbmessungenToolBar")->isVisible()) child<QAction>("MenuAbmessungen")->trigger();
  QVERIFY(child<QToolBar>("AbmessungenToolBar")->isVisible());

  auto* breite = child<QLineEdit>("xAMEdit");
  breite->setFocus();
  breite->selectAll();
  QTest::keyClicks(breite, QStringLiteral("-5"));
  QTest::keyClick(breite, Qt::Key_Return);
  QCOMPARE(breite->text(), QStringLiteral("100.00"));
  QCOMPARE(rig_->form->Abmessungen.Plattenbreite, 100.0);

  // A value typed and not left yet is taken before a command of the menu.
  breite->setFocus();
  breite->selectAll();
  QTest::keyClicks(breite, QStringLiteral("155,5"));
  child<QAction>("MenuAbmessungen")->trigger();
  QCOMPARE(rig_->form->Abmessungen.Plattenbreite, 155.5);
  QVERIFY(!child<QToolBar>("AbmessungenToolBar")->isVisible());

  child<QAction>("MenuNutzenfertigung")->trigger();
  QVERIFY(child<QToolBar>("NutzenfertigungToolBar")->isVisible());
  auto* anzahl = child<QLineEdit>("xNFAnzahlEdit");
  anzahl->setFocus();
  anzahl->selectAll();
  QTest::keyClicks(anzahl, QStringLiteral("0"));
  QTest::keyClick(anzahl, Qt::Key_Return);
  QCOMPARE(anzahl->text(), QStringLiteral("1"));
}

void MenusWindowTest::theDrawingSwitchesAndTheStatusBarAreThere() {
  auto* fraeswege = child<QToolButton>("DrawFraeswegeSpeedButton");
  const bool before = rig_->form->DrawFraeswege;
  fraeswege->click();
  QCOMPARE(rig_->form->DrawFraeswege, !before);
  QCOMPARE(fraeswege->isChecked(), !before);
  // The data-grid and multi-up switches belong to development mode.
  QVERIFY(!child<QToolButton>("DSGSpeedButton")->isVisible());
  QVERIFY(!child<QToolButton>("DrawNFSpeedButton")->isVisible());
  for (int i = 0; i < app::kStatusBarPanels; ++i) {
    const std::string name = "StatusBarPanel" + std::to_string(i);
    QCOMPARE(child<QLabel>(name.c_str())->text(), QString::fromStdString(rig_->form->StatusBar[i]));
  }
}

// The plot grid holds the opened plot's seven elements (row 0 of the grid is the table's header);
// opening switches the grids to the document table's page, and a command file hides the drawing's
// page.
void MenusWindowTest::inDevelopmentModeTheDataGridsShowAnOpenedPlot() {
  rig_.reset();
  rig_ = std::make_unique<apptest::WindowRig>(*factory_, 3, apptest::TestPointType::table(),
                                              std::vector<std::string>{"veltris", "/ENTWICKLUNG"});
  rig_->window->show();
  QTRY_VERIFY_WITH_TIMEOUT(rig_->form->bInitFertig, kTimeoutMs);
  auto* pages = child<QTabWidget>("SGPageControl");
  auto* dsg = child<QToolButton>("DSGSpeedButton");
  QVERIFY(dsg->isVisible());
  dsg->click();
  QVERIFY(pages->isVisible());
  pages->setCurrentWidget(child<QWidget>("HPGLTabSheet"));
  auto* grid = child<QTableView>("HPGLStringGrid");
  QCOMPARE(grid->model()->rowCount(), 0);

  const auto open = [this](const std::string& name, const std::string& text) {
    const auto path = rig_->folder() / name;
    std::ofstream(path) << text;
    // Open is offered once the document is closed.
    if (rig_->form->bGeaendert) rig_->ui.pushAnswer(platform::MsgResult::No);
    child<QAction>("MenuSchliessen")->trigger();
    rig_->ui.pushFileAnswer(platform::FileDialogResult{path.string(), 1});
    child<QAction>("MenuOeffnen")->trigger();
  };
  open("plot.plt", "IN;PU0,0;PD400,0,400,400;");
  QCOMPARE(rig_->form->Dokumenttyp, panel::DocumentKind::Hpgl);
  QVERIFY(pages->isVisible());
  QCOMPARE(pages->currentWidget(), child<QWidget>("DatenTabSheet"));
  pages->setCurrentWidget(child<QWidget>("HPGLTabSheet"));
  QCOMPARE(grid->model()->rowCount(), 7);
  QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("UP"));
  QCOMPARE(grid->model()->index(5, 0).data().toString(), QStringLiteral("LINETO"));
  QCOMPARE(grid->model()->index(5, 3).data().toString(), QStringLiteral("10"));

  auto* drawPages = child<QTabWidget>("DrawPageControl");
  const int grafisch = drawPages->indexOf(child<QWidget>("GrafischTabSheet"));
  QVERIFY(drawPages->isTabVisible(grafisch));
  open("befehle.kdf", "#S200\n");
  QCOMPARE(rig_->form->Dokumenttyp, panel::DocumentKind::CommandFile);
  QVERIFY(!drawPages->isTabVisible(grafisch));
  QCOMPARE(drawPages->currentWidget(), child<QWidget>("TextuellTabSheet"));
  open("plot.plt", "IN;PU0,0;PD400,0,400,400;");
  QVERIFY(drawPages->isTabVisible(grafisch));
  QCOMPARE(drawPages->currentWidget(), child<QWidget>("GrafischTabSheet"));
}

void MenusWindowTest::theAboutDialogClosesItselfAfterTwoSeconds() {
  QVERIFY(child<QAction>("MenuInfo")->isEnabled());
  // The dialog runs its own event loop: it is looked at from inside it.
  bool seenVisible = false;
  QString title;
  QSize size;
  qint64 shownMs = -1;
  QTimer::singleShot(0, this, [&] {
    QElapsedTimer shown;
    shown.start();
    QTimer::singleShot(500, this, [&] {
      const auto* dialog = rig_->window->findChild<QDialog*>(QStringLiteral("InfoDlg"));
      if (dialog == nullptr) return;
      seenVisible = dialog->isVisible();
      title = dialog->windowTitle();
      size = dialog->size();
    });
    child<QAction>("MenuInfo")->trigger();
    shownMs = shown.elapsed();
  });
  QTRY_VERIFY_WITH_TIMEOUT(shownMs >= 0, kTimeoutMs);
  QVERIFY(seenVisible);
  QCOMPARE(title, QStringLiteral("Info"));
  QCOMPARE(size, QSize(342, 455));
  QVERIFY2(shownMs >= 1900 && shownMs < 10000, std::to_string(shownMs).c_str());
}

QTEST_MAIN(MenusWindowTest)
#include "MenusWindowTest.moc"
