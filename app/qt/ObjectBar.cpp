// Buttons of the object bar and its pop-out panels.
#include "ObjectBar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace appqt {

namespace {

constexpr int kKnopfBreite = 80;

}  // namespace

ObjectBar::ObjectBar(app::TMainForm& form, Command command, QWidget* overlay, QWidget* parent)
    : QWidget(parent), form_(form), command_(std::move(command)) {
  setObjectName(QStringLiteral("LeftPanel"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(2);

  GummiRectSpeedButton_ = button(this, "GummiRectSpeedButton", QStringLiteral("Gummi"), QString(), nullptr);
  GummiRectSpeedButton_->setCheckable(true);
  connect(GummiRectSpeedButton_, &QToolButton::toggled, this,
          [this](bool down) { command_([this, down] { form_.GummiRectSpeedButtonClick(down); }); });
  column->addWidget(GummiRectSpeedButton_);

  ToolSpeedButton_ = button(this, "ToolSpeedButton", QStringLiteral("TOOL"), QStringLiteral("lade Tool"),
                            [this] { form_.ToolSpeedButtonClick(); });
  column->addWidget(ToolSpeedButton_);
  objektKnoepfe_.push_back(ToolSpeedButton_);

  using app::ObjektKnopf;
  const auto objekt = [this, column](const char* name, const QString& caption, const QString& hint, ObjektKnopf knopf) {
    QToolButton* b = button(this, name, caption, hint, [this, knopf] { form_.ObjektSpeedButtonClick(knopf); });
    column->addWidget(b);
    objektKnoepfe_.push_back(b);
  };
  objekt("PlanSpeedButton", QStringLiteral("PLAN"), QStringLiteral("zeichne Planfräsen"), ObjektKnopf::Plan);
  objekt("PunktSpeedButton", QStringLiteral("PUNKT"), QStringLiteral("zeichne Punkt/Bohrung"), ObjektKnopf::Punkt);
  objekt("LinieSpeedButton", QStringLiteral("LINIE"), QStringLiteral("zeichne Linie"), ObjektKnopf::Linie);
  RechteckSpeedButton_ = button(this, "RechteckSpeedButton", QStringLiteral("RECHTECK"),
                                QStringLiteral("zeichne Rechteck"), [this] { form_.RechteckSpeedButtonClick(); });
  column->addWidget(RechteckSpeedButton_);
  objektKnoepfe_.push_back(RechteckSpeedButton_);
  objekt("VieleckSpeedButton", QStringLiteral("VIELECK"), QStringLiteral("zeichne Vieleck"), ObjektKnopf::Vieleck);
  objekt("KreisSpeedButton", QStringLiteral("KREIS"), QStringLiteral("zeichne Kreis"), ObjektKnopf::Kreis);
  objekt("KreisbogenSpeedButton", QStringLiteral("BOGEN"), QStringLiteral("zeichne Kreisbogen"),
         ObjektKnopf::Kreisbogen);
  objekt("TextSpeedButton", QStringLiteral("ABC"), QStringLiteral("zeichne Text"), ObjektKnopf::Text);
  objekt("HPGLSpeedButton", QStringLiteral("HPGL"), QStringLiteral("zeichne HPGL, PLT"), ObjektKnopf::Hpgl);
  objekt("HinweisSpeedButton", QStringLiteral("REM"), QStringLiteral("Hinweis"), ObjektKnopf::Hinweis);
  objekt("BiblioSpeedButton", QStringLiteral("Biblio"), QStringLiteral("zeichne Makro"), ObjektKnopf::Biblio);
  column->addStretch();

  auto* linie = new QFrame(this);
  linie->setFrameShape(QFrame::HLine);
  linie->setFrameShadow(QFrame::Sunken);
  column->addWidget(linie);
  column->addWidget(toggle("DrawFraeswegeSpeedButton", QStringLiteral("Fräswege"), QStringLiteral("Fräswege anzeigen"),
                           &app::TMainForm::DrawFraeswege, &app::TMainForm::DrawFraeswegeSpeedButtonOnClick));
  column->addWidget(toggle("DrawNummerSpeedButton", QStringLiteral("Nummern"), QStringLiteral("Konturnummern anzeigen"),
                           &app::TMainForm::DrawNummer, &app::TMainForm::DrawNummerSpeedButtonOnClick));
  column->addWidget(toggle("DrawLeerfahrtenSpeedButton", QStringLiteral("Leerfahrten"),
                           QStringLiteral("Leerfahrten anzeigen"), &app::TMainForm::DrawLeerfahrten,
                           &app::TMainForm::DrawLeerfahrtenSpeedButtonOnClick));
  DrawNFSpeedButton_ = toggle("DrawNFSpeedButton", QStringLiteral("Nutzen"), QStringLiteral("Nutzenfertigung anzeigen"),
                              &app::TMainForm::DrawNF, &app::TMainForm::DrawNFSpeedButtonOnClick);
  column->addWidget(DrawNFSpeedButton_);
  DSGSpeedButton_ = toggle("DSGSpeedButton", QStringLiteral("Daten"), QStringLiteral("Daten-StringGrid zeigen"),
                           &app::TMainForm::DSGSpeedButtonDown, &app::TMainForm::DSGSpeedButtonOnClick);
  column->addWidget(DSGSpeedButton_);

  ToolPanel_ = new QFrame(overlay);
  ToolPanel_->setObjectName(QStringLiteral("ToolPanel"));
  auto* tools = new QHBoxLayout(ToolPanel_);
  tools->setContentsMargins(2, 2, 2, 2);
  // T1SpeedButton ... T7SpeedButton, one per tool of the tool table.
  for (int slot = 0; slot < panel::kToolCount; ++slot) {
    const QByteArray name = QStringLiteral("T%1SpeedButton").arg(slot + 1).toLatin1();
    QToolButton* t = button(ToolPanel_, name.constData(), QStringLiteral("T%1").arg(slot + 1),
                            QStringLiteral("T%1").arg(slot + 1), [this, slot] { form_.TSpeedButtonClick(slot); });
    t->setFixedWidth(32);
    tools->addWidget(t);
  }

  RechteckPanel_ = new QFrame(overlay);
  RechteckPanel_->setObjectName(QStringLiteral("RechteckPanel"));
  auto* rechtecke = new QHBoxLayout(RechteckPanel_);
  rechtecke->setContentsMargins(2, 2, 2, 2);
  const std::pair<const char*, ObjektKnopf> varianten[] = {{"Rechteck1SpeedButton", ObjektKnopf::Rechteck1},
                                                           {"Rechteck2SpeedButton", ObjektKnopf::Rechteck2},
                                                           {"Rechteck3SpeedButton", ObjektKnopf::Rechteck3}};
  const QString hints[] = {QStringLiteral("Rechteck aus zwei Ecken"), QStringLiteral("Rechteck aus Mitte und Größe"),
                           QStringLiteral("Rechteck aus Ecke und Größe")};
  for (int i = 0; i < 3; ++i) {
    const ObjektKnopf knopf = varianten[i].second;
    QToolButton* r = button(RechteckPanel_, varianten[i].first, QStringLiteral("R%1").arg(i + 1), hints[i],
                            [this, knopf] { form_.ObjektSpeedButtonClick(knopf); });
    r->setFixedWidth(32);
    rechtecke->addWidget(r);
  }
  for (QFrame* pop : {ToolPanel_, RechteckPanel_}) {
    pop->setFrameShape(QFrame::Panel);
    pop->setFrameShadow(QFrame::Raised);
    pop->setAutoFillBackground(true);
    pop->hide();
  }
}

QToolButton* ObjectBar::button(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                               std::function<void()> handler) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(caption);
  b->setToolTip(hint);
  b->setFixedWidth(kKnopfBreite);
  if (handler) connect(b, &QToolButton::clicked, this, [this, handler = std::move(handler)] { command_(handler); });
  return b;
}

QToolButton* ObjectBar::toggle(const char* name, const QString& caption, const QString& hint,
                               bool app::TMainForm::*flag, void (app::TMainForm::*handler)(bool)) {
  QToolButton* b = button(this, name, caption, hint, nullptr);
  b->setCheckable(true);
  connect(b, &QToolButton::clicked, this, [this, handler](bool down) {
    app::TMainForm& form = form_;
    command_([&form, handler, down] { (form.*handler)(down); });
  });
  toggles_.emplace_back(b, flag);
  return b;
}

void ObjectBar::placePanel(QFrame* panel, const QToolButton* opener) {
  QWidget* overlay = panel->parentWidget();
  const QPoint topLeft = mapTo(overlay, QPoint(width(), opener->y() - 6));
  panel->adjustSize();
  panel->move(topLeft);
  panel->raise();
}

void ObjectBar::showState() {
  setEnabled(form_.LeftPanel.Enabled);
  setVisible(form_.LeftPanel.Visible);
  GummiRectSpeedButton_->setVisible(form_.GummiRectSpeedButton.Visible);
  {
    const QSignalBlocker blocker(GummiRectSpeedButton_);
    GummiRectSpeedButton_->setChecked(form_.bGummiRect);
  }
  for (QToolButton* b : objektKnoepfe_) b->setVisible(form_.ObjektSpeedButtons.Visible);
  DSGSpeedButton_->setVisible(form_.DSGSpeedButton.Visible);
  DrawNFSpeedButton_->setVisible(form_.DrawNFSpeedButton.Visible);
  for (const auto& [b, flag] : toggles_) {
    const QSignalBlocker blocker(b);
    b->setChecked(form_.*flag);
  }
  const bool shown = form_.LeftPanel.Visible;
  ToolPanel_->setVisible(shown && form_.ToolPanel.Visible);
  RechteckPanel_->setVisible(shown && form_.RechteckPanel.Visible);
  ToolPanel_->setEnabled(form_.LeftPanel.Enabled);
  RechteckPanel_->setEnabled(form_.LeftPanel.Enabled);
  if (ToolPanel_->isVisible()) placePanel(ToolPanel_, ToolSpeedButton_);
  if (RechteckPanel_->isVisible()) placePanel(RechteckPanel_, RechteckSpeedButton_);
}

}  // namespace appqt
