// The structure of the menu bar and the copy of the model's menu states onto it.
#include "MainMenus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace appqt {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

using M = app::TMainForm;

}  // namespace

MainMenus::MainMenus(QMainWindow& window, app::TMainForm& form, Runner command)
    : window_(window), form_(form), command_(std::move(command)) {
  const Entry separator{nullptr, nullptr, nullptr};
  addMenu("MenuDatei", &M::MenuDatei, QKeySequence(Qt::CTRL | Qt::Key_D),
          {{"MenuNeu", &M::MenuNeu, [](M& f) { f.MenuNeuOnClick(); }},
           {"MenuOeffnen", &M::MenuOeffnen, [](M& f) { f.MenuOeffnenOnClick(); }},
           separator,
           {"MenuImportieren", &M::MenuImportieren, [](M& f) { f.MenuImportierenOnClick(); }},
           separator,
           {"MenuSpeichern", &M::MenuSpeichern, [](M& f) { f.MenuSpeichernOnClick(); }},
           {"MenuSpeichernUnter", &M::MenuSpeichernUnter, [](M& f) { f.MenuSpeichernUnterOnClick(); }},
           {"MenuSpeichernUndSchliessen", &M::MenuSpeichernUndSchliessen,
            [](M& f) { f.MenuSpeichernUndSchliessenOnClick(); }},
           separator,
           {"MenuSchliessen", &M::MenuSchliessen, [](M& f) { f.MenuSchliessenOnClick(); }},
           separator,
           {"MenuFile1", &M::MenuFile1, [](M& f) { f.MenuFile1Click(); }},
           {"MenuFile2", &M::MenuFile2, [](M& f) { f.MenuFile2Click(); }},
           {"MenuFile3", &M::MenuFile3, [](M& f) { f.MenuFile3Click(); }},
           {"MenuFile4", &M::MenuFile4, [](M& f) { f.MenuFile4Click(); }}});
  addMenu("MenuAnsicht", &M::MenuAnsicht, QKeySequence(),
          {{"MenuAbmessungen", &M::MenuAbmessungen, [](M& f) { f.MenuAbmessungenOnClick(); }, true},
           {"MenuNutzenfertigung", &M::MenuNutzenfertigung, [](M& f) { f.MenuNutzenfertigungOnClick(); }, true}});
  addMenu(
      "MenuEinstellungen", &M::MenuEinstellungen, QKeySequence(Qt::CTRL | Qt::Key_E),
      {{"MenuParameter", &M::MenuParameter, [](M& f) { f.MenuParameterOnClick(); }},
       separator,
       {"MenuToolDef", &M::MenuToolDef, [](M& f) { f.MenuToolDefOnClick(); }},
       {"MenuE2", &M::MenuE2, nullptr},
       {"MenuUSBIOFirmwareEinspielen", &M::MenuUSBIOFirmwareEinspielen, [](M& f) { f.MenuUSBIOFirmwareOnClick(); }}});
  addMenu("MenuSteuerung", &M::MenuSteuerung, QKeySequence(Qt::CTRL | Qt::Key_S),
          {{"MenuReset", &M::MenuReset, [](M& f) { f.MenuResetOnClick(); }},
           {"MenuReferenzfahrt", &M::MenuReferenzfahrt, [](M& f) { f.MenuReferenzfahrtOnClick(); }},
           {"MenuManuelleFahrt", &M::MenuManuelleFahrt, [](M& f) { f.MenuManuelleFahrtOnClick(); }},
           {"MenuS1", &M::MenuS1, nullptr},
           // Hidden and without a handler (MenuWerkstkNullpunktAnOnClick and MenuParkpositionAnOnClick
           // would do nothing): the travels to the stored positions are the jogging dialog's.
           {"MenuWerkstueckNullpunktAn", &M::MenuWerkstueckNullpunktAn, nullptr},
           {"MenuParkpositionAn", &M::MenuParkpositionAn, nullptr}});
  addMenu(
      "MenuCobalt_Kyro", &M::MenuCobalt_Kyro, QKeySequence(),
      {{"MenuFestwertspeicherLoeschen", &M::MenuFestwertspeicherLoeschen,
        [](M& f) { f.MenuFestwertspeicherLoeschenOnClick(); }},
       {"MenuAusgabeInFestwertspeicher", &M::MenuAusgabeInFestwertspeicher,
        [](M& f) { f.MenuAusgabeInFestwertspeicherOnClick(); }},
       {"MenuKyro1", &M::MenuKyro1, nullptr},
       {"MenuWerkzeuglaengeMessen", &M::MenuWerkzeuglaengeMessen, [](M& f) { f.MenuWerkzeuglaengeMessenOnClick(); }},
       {"MenuKyro2", &M::MenuKyro2, nullptr},
       {"MenuFirmwareEinspielen", &M::MenuFirmwareEinspielen, [](M& f) { f.MenuFirmwareEinspielenOnClick(); }}});
  addBarItem("MenuInfo", &M::MenuInfo, QKeySequence(Qt::CTRL | Qt::Key_I), [](M& f) { f.MenuInfoOnClick(); });
  addBarItem("MenuBeenden", &M::MenuBeenden, QKeySequence(Qt::CTRL | Qt::Key_B), [](M& f) { f.MenuBeendenOnClick(); });
}

void MainMenus::addMenu(const char* name, State state, const QKeySequence& shortcut,
                        const std::vector<Entry>& entries) {
  QMenu* menu = window_.menuBar()->addMenu(QString());
  menu->setObjectName(QString::fromLatin1(name));
  menus_.emplace_back(menu, state);
  for (const Entry& entry : entries) {
    if (entry.handler == nullptr && entry.state != nullptr && (form_.*entry.state).Caption == "-") {
      QAction* line = menu->addSeparator();
      line->setObjectName(QString::fromLatin1(entry.name));
      items_.emplace_back(line, entry.state);
    } else if (entry.name == nullptr) {
      menu->addSeparator();
    } else {
      QAction* action = connectItem(menu->addAction(QString()), entry.name, entry.state, entry.handler);
      action->setCheckable(entry.checkable);
    }
  }
  if (shortcut.isEmpty()) return;
  // The shortcut opens the menu, as clicking its title does.
  auto* opener = new QShortcut(shortcut, &window_);
  opener->setObjectName(QString::fromLatin1(name) + QStringLiteral("Shortcut"));
  QObject::connect(opener, &QShortcut::activated, &window_, [this, menu] {
    QAction* title = menu->menuAction();
    if (title->isEnabled() && title->isVisible()) window_.menuBar()->setActiveAction(title);
  });
}

void MainMenus::addBarItem(const char* name, State state, const QKeySequence& shortcut, Handler handler) {
  QAction* action = connectItem(window_.menuBar()->addAction(QString()), name, state, std::move(handler));
  action->setShortcut(shortcut);
}

QAction* MainMenus::connectItem(QAction* action, const char* name, State state, Handler handler) {
  action->setObjectName(QString::fromLatin1(name));
  items_.emplace_back(action, state);
  if (handler) {
    QObject::connect(action, &QAction::triggered, &window_,
                     [this, handler = std::move(handler)] { command_([this, &handler] { handler(form_); }); });
  }
  return action;
}

void MainMenus::showState() {
  // Each change of an item lays the menu bar out anew: only what differs is set, since the
  // window shows its state after every event of a run.
  const auto show = [](QAction* action, const app::MenuItemState& s) {
    if (!action->isSeparator()) {
      const QString text = qs(s.Caption);
      if (action->text() != text) action->setText(text);
    }
    if (action->isVisible() != s.Visible) action->setVisible(s.Visible);
    // Qt disables a hidden action of its own accord; the flag is set whatever it shows.
    action->setEnabled(s.Enabled);
    if (action->isCheckable() && action->isChecked() != s.Checked) action->setChecked(s.Checked);
  };
  for (const auto& [menu, state] : menus_) {
    const app::MenuItemState& s = form_.*state;
    const QString title = qs(s.Caption);
    if (menu->title() != title) menu->setTitle(title);
    show(menu->menuAction(), s);
  }
  for (const auto& [action, state] : items_) show(action, form_.*state);
}

}  // namespace appqt
