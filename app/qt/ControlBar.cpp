// Widgets of the two toolbars, the copy of the model's edits onto them, and their events.
#include "ControlBar.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace appqt {

namespace {

constexpr int kEditBreite = 64;
constexpr int kKnopfhoehe = 19;

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ControlBar::ControlBar(app::TMainForm& form, Runner command, Runner call, QWidget* parent)
    : QWidget(parent), form_(form), command_(std::move(command)), call_(std::move(call)) {
  setObjectName(QStringLiteral("ControlBar"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  Bar abmessungen =
      buildBar("AbmessungenToolBar", &app::TMainForm::AbmessungenToolBar, &app::TMainForm::AbmessungenOnExit);
  addEdit(abmessungen, " Breite: ", "xAMEdit", &app::TMainForm::xAMEdit);
  addEdit(abmessungen, " Höhe: ", "yAMEdit", &app::TMainForm::yAMEdit);
  addEdit(abmessungen, " Tiefe (default): ", "zAMEdit", &app::TMainForm::zAMEdit);
  addEdit(abmessungen, " Fräserdurchmesser: ", "AMFDurchmesserEdit", &app::TMainForm::AMFDurchmesserEdit);
  addEdit(abmessungen, " Sicherheitsebene: ", "zAMSicherEdit", &app::TMainForm::zAMSicherEdit);
  addButton(abmessungen, "AMAnpassenButton", &app::TMainForm::AMAnpassenButton,
            &app::TMainForm::ABAnpassenButtonOnClick);
  column->addWidget(abmessungen.widget);
  bars_.push_back(std::move(abmessungen));

  Bar nutzen = buildBar("NutzenfertigungToolBar", &app::TMainForm::NutzenfertigungToolBar,
                        &app::TMainForm::NutzenfertigungOnExit);
  addEdit(nutzen, nullptr, "xNFAbstandEdit", &app::TMainForm::xNFAbstandEdit, "Abstand in x (mm)");
  addEdit(nutzen, nullptr, "yNFAbstandEdit", &app::TMainForm::yNFAbstandEdit, "Abstand in y (mm)");
  addEdit(nutzen, nullptr, "xNFAnzahlEdit", &app::TMainForm::xNFAnzahlEdit, "Anzahl in x");
  addEdit(nutzen, nullptr, "yNFAnzahlEdit", &app::TMainForm::yNFAnzahlEdit, "Anzahl in y");
  addButton(nutzen, "NFAnpassenButton", &app::TMainForm::NFAnpassenButton, &app::TMainForm::NFAnpassenButtonOnClick);
  column->addWidget(nutzen.widget);
  bars_.push_back(std::move(nutzen));
}

ControlBar::Bar ControlBar::buildBar(const char* name, app::ControlState app::TMainForm::*state,
                                     void (app::TMainForm::*onExit)()) {
  Bar bar;
  bar.widget = new QToolBar(this);
  bar.widget->setObjectName(QString::fromLatin1(name));
  bar.widget->setMovable(false);
  bar.widget->setFloatable(false);
  bar.state = state;
  bar.onExit = onExit;
  bar.widget->addWidget(new QLabel(qs((form_.*state).Caption)));
  return bar;
}

void ControlBar::addEdit(Bar& bar, const char* label, const char* name, app::EditState app::TMainForm::*state,
                         const char* hint) {
  Edit edit;
  if (label != nullptr) {
    edit.label = new QLabel(QString::fromUtf8(label));
    bar.widget->addWidget(edit.label);
  }
  edit.widget = new QLineEdit;
  edit.widget->setObjectName(QString::fromLatin1(name));
  edit.widget->setFixedWidth(kEditBreite);
  if (hint != nullptr) edit.widget->setToolTip(QString::fromUtf8(hint));
  // A disabled edit takes the toolbar's colour, an enabled one the window's.
  QPalette palette = edit.widget->palette();
  palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Button));
  edit.widget->setPalette(palette);
  edit.state = state;
  bar.widget->addWidget(edit.widget);
  const std::size_t index = bars_.size();
  // The bar is moved into bars_ once built; its index there is known now.
  connect(edit.widget, &QLineEdit::editingFinished, this,
          [this, index] { call_([this, index] { takeOver(bars_[index]); }); });
  bar.edits.push_back(edit);
}

void ControlBar::addButton(Bar& bar, const char* name, app::ControlState app::TMainForm::*state,
                           void (app::TMainForm::*handler)()) {
  auto* button = new QToolButton;
  button->setObjectName(QString::fromLatin1(name));
  button->setText(qs((form_.*state).Caption));
  button->setFixedHeight(kKnopfhoehe);
  connect(button, &QToolButton::clicked, this, [this, handler] { command_([this, handler] { (form_.*handler)(); }); });
  buttons_.emplace_back(bar.widget->addWidget(button), state);
}

void ControlBar::takeOver(Bar& bar) {
  for (Edit& edit : bar.edits) {
    (form_.*edit.state).Text = edit.widget->text().toStdString();
    // The check may give back the text shown before: the next showing writes it whatever it is.
    edit.shown.clear();
  }
  (form_.*bar.onExit)();
}

bool ControlBar::typedInto(const Bar& bar) const {
  for (const Edit& edit : bar.edits) {
    if (edit.widget->isEnabled() && edit.widget->text() != edit.shown) return true;
  }
  return false;
}

void ControlBar::commitEdits() {
  for (Bar& bar : bars_) {
    if (bar.widget->isVisible() && typedInto(bar)) takeOver(bar);
  }
}

void ControlBar::showState() {
  setVisible(form_.ControlBar.Visible);
  setEnabled(form_.ControlBar.Enabled);
  for (Bar& bar : bars_) {
    bar.widget->setVisible((form_.*bar.state).Visible);
    for (Edit& edit : bar.edits) {
      const app::EditState& state = form_.*edit.state;
      const QString text = qs(state.Text);
      // A text the user is typing stays until the model has a new one of its own.
      if (text != edit.shown) {
        edit.widget->setText(text);
        edit.shown = text;
      }
      edit.widget->setEnabled(state.Enabled);
      if (edit.label != nullptr) edit.label->setEnabled(state.Enabled);
    }
  }
  for (const auto& [action, state] : buttons_) action->setVisible((form_.*state).Visible);
}

}  // namespace appqt
