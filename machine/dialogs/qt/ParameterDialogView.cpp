// Widgets of the parameter dialog and the copy between them and the model.
#include "ParameterDialogView.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>

#include "DialogColours.h"

namespace machineqt {

namespace {

// What the masks of the edits let through: whole numbers of up to n digits, or up to 999.99.
QValidator* ziffern(int n, QObject* parent) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\s*\\d{0,%1}\\s*").arg(n)), parent);
}
QValidator* dezimal(QObject* parent) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\s*\\d{0,3}([.,]\\d{0,2})?\\s*")), parent);
}

QLineEdit* edit(QWidget* parent, const QString& name, QValidator* (*maske)(QObject*)) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setValidator(maske(e));
  return e;
}

const char* const kAchsen[4] = {"x", "y", "z", "u"};

constexpr int kBreite = 640;
constexpr int kHoehe = 429;

}  // namespace

ParameterDialogView::ParameterDialogView(machine::TParameterDlg& model, QWidget* parent)
    : QtSafeDialog(parent), model_(model) {
  setObjectName(QStringLiteral("ParameterDlg"));
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  // A dialog border: the size is fixed (see aktivieren).
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  resize(kBreite, kHoehe);
  seiten_ = new QTabWidget(this);
  seiten_->setObjectName(QStringLiteral("PageControl"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(seiten_);

  const auto knoepfe = [this](QWidget* seite, const char* ok, const char* abbrechen) {
    auto* zeile = new QHBoxLayout;
    zeile->addStretch();
    auto* okKnopf = new QPushButton(QStringLiteral("&OK"), seite);
    okKnopf->setObjectName(QString::fromLatin1(ok));
    auto* abbrechenKnopf = new QPushButton(QStringLiteral("&Abbrechen"), seite);
    abbrechenKnopf->setObjectName(QString::fromLatin1(abbrechen));
    zeile->addWidget(okKnopf);
    zeile->addWidget(abbrechenKnopf);
    connect(okKnopf, &QPushButton::clicked, this, [this] {
      uebernehmen();
      model_.modulOKBitBtnClick();
      QDialog::done(Accepted);
    });
    connect(abbrechenKnopf, &QPushButton::clicked, this, [this] { reject(); });
    return zeile;
  };

  // Tab 1: the controller type and its port.
  auto* seite1 = new QWidget;
  seite1->setObjectName(QStringLiteral("TabSheet1"));
  auto* modulPanel = new QGroupBox(QStringLiteral("Schrittmotorsteuerkarten-Typ"), seite1);
  modulPanel->setObjectName(QStringLiteral("modulPanel"));
  secondAreas_.push_back(modulPanel);
  auto* typLayout = new QVBoxLayout(modulPanel);
  auto* typGruppe = new QButtonGroup(this);
  for (std::size_t i = 0; i < typen_.size(); ++i) {
    const auto& b = model_.TypButtons[i];
    typen_[i] = new QRadioButton(QString::fromUtf8(b.caption), modulPanel);
    typen_[i]->setObjectName(QString::fromLatin1(b.name));
    typGruppe->addButton(typen_[i], static_cast<int>(i));
    typLayout->addWidget(typen_[i]);
  }
  connect(typGruppe, &QButtonGroup::idClicked, this, [this](int index) {
    if (fuellen_) return;
    // std::invoke rather than `(model_.*click)()`: with the sanitizers, GCC 12 loads the object of
    // that call on its virtual path only and reports the call as one through a bad object.
    std::invoke(model_.TypButtons[static_cast<std::size_t>(index)].Click, model_);
    anzeigen();
  });
  auto* lptcomPanel = new QWidget(seite1);
  lptcomPanel->setObjectName(QStringLiteral("lptcomPanel"));
  secondAreas_.push_back(lptcomPanel);
  auto* lptcomLayout = new QVBoxLayout(lptcomPanel);
  lptcomLabel_ = new QLabel(lptcomPanel);
  lptcomLabel_->setObjectName(QStringLiteral("lptcomLabel"));
  secondHeadings_.push_back(lptcomLabel_);
  lptcomLayout->addWidget(lptcomLabel_);
  comPanel_ = new QWidget(lptcomPanel);
  comPanel_->setObjectName(QStringLiteral("comPanel"));
  auto* comLayout = new QVBoxLayout(comPanel_);
  com_ = new QComboBox(comPanel_);
  com_->setObjectName(QStringLiteral("ComComboBox"));
  baud_ = new QComboBox(comPanel_);
  baud_->setObjectName(QStringLiteral("BaudrateComboBox"));
  comLayout->addWidget(com_);
  comLayout->addWidget(baud_);
  lptPanel_ = new QWidget(lptcomPanel);
  lptPanel_->setObjectName(QStringLiteral("lptPanel"));
  auto* lptLayout = new QGridLayout(lptPanel_);
  const std::array<const machine::DialogRadioButton*, 3> lptModell{&model_.lptRadioButton1, &model_.lptRadioButton2,
                                                                   &model_.lptRadioButton3};
  for (std::size_t i = 0; i < lpt_.size(); ++i) {
    lpt_[i] = new QRadioButton(qs(lptModell[i]->Caption), lptPanel_);
    lpt_[i]->setObjectName(QStringLiteral("lptRadioButton%1").arg(i + 1));
    lptLayout->addWidget(lpt_[i], static_cast<int>(i), 0);
  }
  lptEdit_ = new QLineEdit(lptPanel_);
  lptEdit_->setObjectName(QStringLiteral("lptEdit"));
  lptEdit_->installEventFilter(this);
  lptLayout->addWidget(lptEdit_, 2, 1);
  connect(lptEdit_, &QLineEdit::selectionChanged, this, [this] {
    if (fuellen_) return;
    model_.lptEditOnClick();
    lpt_[2]->setChecked(true);
  });
  connect(lptEdit_, &QLineEdit::textEdited, this, [this] {
    model_.lptEditOnClick();
    lpt_[2]->setChecked(true);
  });
  lptcomLayout->addWidget(comPanel_);
  lptcomLayout->addWidget(lptPanel_);
  lptcomLayout->addStretch();
  auto* oben1 = new QHBoxLayout;
  oben1->addWidget(modulPanel);
  oben1->addWidget(lptcomPanel);
  auto* s1 = new QVBoxLayout(seite1);
  s1->addLayout(oben1);
  s1->addLayout(knoepfe(seite1, "modulOKBitBtn", "modulAbbrechenBitBtn"));
  seiten_->addTab(seite1, QStringLiteral("Schrittmotorsteuerkarten-Typ"));

  // Tab 2: speeds.
  auto* seite2 = new QWidget;
  seite2->setObjectName(QStringLiteral("TabSheet2"));
  auto* f2 = new QFormLayout;
  const char* const geschwTexte[4] = {
      "Startgeschwindigkeit:", "Arbeitsgeschwindigkeit:", "Eilgeschwindigkeit:", "Rampenlänge:"};
  const char* const einheiten[4] = {"Schritte/sec.", "Schritte/sec.", "Schritte/sec.", "msec."};
  for (std::size_t i = 0; i < geschw_.size(); ++i) {
    geschw_[i] = edit(
        seite2, QStringLiteral("xGeschwMaskEdit%1").arg(i + 1),
        i < 3 ? +[](QObject* p) { return ziffern(5, p); } : +[](QObject* p) { return ziffern(4, p); });
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(geschw_[i]);
    zeile->addWidget(new QLabel(QString::fromUtf8(einheiten[i]), seite2));
    f2->addRow(QString::fromUtf8(geschwTexte[i]), zeile);
  }
  auto* s2 = new QVBoxLayout(seite2);
  s2->addLayout(f2);
  s2->addStretch();
  s2->addLayout(knoepfe(seite2, "GeschwigkeitOKBitBtn", "GeschwindigkeitAbbrechenBitBtn"));
  seiten_->addTab(seite2, QStringLiteral("Geschwindigkeit"));

  // Tab 3: the machine.
  auto* seite3 = new QWidget;
  seite3->setObjectName(QStringLiteral("TabSheet3"));
  auto* achsen = new QGridLayout;
  for (const auto& [text, spalte] : {std::pair{"Übersetzung mm/U", 1}, std::pair{"Motorschritte / U", 2}}) {
    mainHeadings_.push_back(new QLabel(QString::fromUtf8(text), seite3));
    achsen->addWidget(mainHeadings_.back(), 0, spalte);
  }
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(QStringLiteral("%1-Achse:").arg(QLatin1String(kAchsen[i])), seite3);
    uebersetz_[static_cast<std::size_t>(i)] =
        edit(seite3, QStringLiteral("%1UebersetzMaskEdit").arg(QLatin1String(kAchsen[i])), dezimal);
    motStep_[static_cast<std::size_t>(i)] = edit(
        seite3, QStringLiteral("%1MotStepMaskEdit").arg(QLatin1String(kAchsen[i])),
        +[](QObject* p) { return ziffern(4, p); });
    achsen->addWidget(label, i + 1, 0);
    achsen->addWidget(uebersetz_[static_cast<std::size_t>(i)], i + 1, 1);
    achsen->addWidget(motStep_[static_cast<std::size_t>(i)], i + 1, 2);
    if (i == 3) uZeile_.insert(uZeile_.end(), {label, uebersetz_[3], motStep_[3]});
  }
  auto* gruppenLayout = new QHBoxLayout;
  for (const auto& [modell, name] : std::initializer_list<std::pair<machine::ParameterRadioGroup*, const char*>>{
           {&model_.SteuersignalRadioGroup, "SteuersignalRadioGroup"},
           {&model_.SchrittbetriebRadioGroup, "SchrittbetriebRadioGroup"},
           {&model_.RuhestromRadioGroup, "RuhestromRadioGroup"},
           {&model_.ZBetriebRadioGroup, "ZBetriebRadioGroup"},
           {&model_.UBetriebRadioGroup, "UBetriebRadioGroup"}}) {
    gruppen_.push_back(neueGruppe(*modell, name, seite3));
    gruppenLayout->addWidget(gruppen_.back().box);
    secondAreas_.push_back(gruppen_.back().box);
  }
  auto* s3 = new QVBoxLayout(seite3);
  s3->addLayout(achsen);
  s3->addLayout(gruppenLayout);
  s3->addStretch();
  s3->addLayout(knoepfe(seite3, "MaschineOKBitBtn", "MaschineAbbrechenBitBtn"));
  seiten_->addTab(seite3, QStringLiteral("Maschine"));

  // Tab 4: homing.
  auto* seite4 = new QWidget;
  seite4->setObjectName(QStringLiteral("TabSheet4"));
  auto* ref = new QGridLayout;
  for (const auto& [text, spalte] : {std::pair{"Referenzabstand", 1}, std::pair{"Reihenfolge", 3}}) {
    mainHeadings_.push_back(new QLabel(QString::fromUtf8(text), seite4));
    ref->addWidget(mainHeadings_.back(), 0, spalte);
  }
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(QStringLiteral("%1-Achse:").arg(QLatin1String(kAchsen[i])), seite4);
    refOffset_[static_cast<std::size_t>(i)] =
        edit(seite4, QStringLiteral("%1RefOffsetMaskEdit").arg(QLatin1String(kAchsen[i])), dezimal);
    auto* mm = new QLabel(QStringLiteral("mm"), seite4);
    refNr_[static_cast<std::size_t>(i)] = edit(
        seite4, QStringLiteral("%1RefNrMaskEdit").arg(QLatin1String(kAchsen[i])),
        +[](QObject* p) { return ziffern(1, p); });
    ref->addWidget(label, i + 1, 0);
    ref->addWidget(refOffset_[static_cast<std::size_t>(i)], i + 1, 1);
    ref->addWidget(mm, i + 1, 2);
    ref->addWidget(refNr_[static_cast<std::size_t>(i)], i + 1, 3);
    if (i == 3) uZeile_.insert(uZeile_.end(), {label, refOffset_[3], mm, refNr_[3]});
  }
  auto* refFreqBox = new QGroupBox(QStringLiteral("Ref. Geschwindigkeit"), seite4);
  refFreqBox->setObjectName(QStringLiteral("RefFreqGroupBox"));
  secondAreas_.push_back(refFreqBox);
  auto* rf = new QHBoxLayout(refFreqBox);
  refFreq_ = edit(
      refFreqBox, QStringLiteral("RefFreqMaskEdit"), +[](QObject* p) { return ziffern(4, p); });
  rf->addWidget(refFreq_);
  rf->addWidget(new QLabel(QStringLiteral("Schritte/sec."), refFreqBox));
  auto* s4 = new QVBoxLayout(seite4);
  s4->addLayout(ref);
  s4->addWidget(refFreqBox);
  s4->addStretch();
  s4->addLayout(knoepfe(seite4, "ReferenzOKBitBtn", "ReferenzAbbrechenBitBtn"));
  seiten_->addTab(seite4, QStringLiteral("Referenz"));

  pages_ = {seite1, seite2, seite3, seite4};
  connect(seiten_, &QTabWidget::currentChanged, this, [this](int tab) {
    model_.PageControlChange(tab);
    if (auto* w = findChild<QWidget*>(qs(model_.Fokus))) w->setFocus();
  });
}

ParameterDialogView::Gruppe ParameterDialogView::neueGruppe(machine::ParameterRadioGroup& modell, const char* name,
                                                            QWidget* parent) {
  Gruppe g;
  g.modell = &modell;
  g.box = new QGroupBox(qs(modell.Caption), parent);
  g.box->setObjectName(QString::fromLatin1(name));
  new QVBoxLayout(g.box);
  g.knoepfe = new QButtonGroup(g.box);
  return g;
}

void ParameterDialogView::gruppeAnzeigen(Gruppe& g) {
  // The items are rebuilt at each activation (the drive-signal group changes with the type).
  for (QAbstractButton* b : g.knoepfe->buttons()) {
    g.knoepfe->removeButton(b);
    delete b;
  }
  for (std::size_t i = 0; i < g.modell->Items.size(); ++i) {
    auto* b = new QRadioButton(qs(g.modell->Items[i]), g.box);
    g.knoepfe->addButton(b, static_cast<int>(i));
    g.box->layout()->addWidget(b);
    b->setChecked(g.modell->ItemIndex == static_cast<int>(i));
  }
  g.box->setVisible(g.modell->Visible);
}

void ParameterDialogView::aktivieren() {
  model_.OnActivate();
  anzeigen();
  // The designed size, or what the controls of this type need in a larger font.
  setFixedSize(QSize(kBreite, kHoehe).expandedTo(minimumSizeHint()));
}

bool ParameterDialogView::eventFilter(QObject* watched, QEvent* event) {
  // A click into the address edit chooses " Adresse:".
  if (watched == lptEdit_ && event->type() == QEvent::MouseButtonPress && !fuellen_) {
    model_.lptEditOnClick();
    lpt_[2]->setChecked(true);
  }
  return QtSafeDialog::eventFilter(watched, event);
}

void ParameterDialogView::farbenAnzeigen() {
  // Every text is given its colour on its own area, so the dialog reads the same on a light or a
  // dark desktop theme. Edits, lists and buttons keep the theme's own text on the theme's base.
  const auto& f = model_.Farben;
  hintergrund(this, f[0]);
  schrift(this, f[2]);
  for (QWidget* seite : pages_) hintergrund(seite, f[0]);
  for (QLabel* label : mainHeadings_) schrift(label, f[4]);
  for (QWidget* area : secondAreas_) {
    hintergrund(area, f[1]);
    if (qobject_cast<QGroupBox*>(area) != nullptr) {
      // A group box draws its title in its own text colour: the title is the heading, the
      // controls inside are texts on the second area.
      schrift(area, f[5]);
      for (QWidget* child : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) schrift(child, f[3]);
    } else {
      schrift(area, f[3]);
    }
  }
  for (QLabel* label : secondHeadings_) schrift(label, f[5]);
}

int ParameterDialogView::exec() {
  aktivieren();
  return QDialog::exec();
}

void ParameterDialogView::open() {
  aktivieren();
  QDialog::open();
}

void ParameterDialogView::done(int result) {
  // Every close that is not OK is Cancel: nothing is read from the controls.
  if (result != Accepted) model_.AbbrechenBitBtnClick();
  QDialog::done(result);
}

void ParameterDialogView::anzeigen() {
  fuellen_ = true;
  setWindowTitle(qs(model_.Caption));
  for (std::size_t i = 0; i < typen_.size(); ++i) {
    typen_[i]->setVisible(model_.TypButtons[i].Visible);
    typen_[i]->setChecked(model_.TypButtons[i].Checked);
  }
  lptcomLabel_->setText(qs(model_.lptcomLabel));
  comPanel_->setVisible(model_.comPanelVisible);
  lptPanel_->setVisible(model_.lptPanelVisible);
  com_->clear();
  for (const auto& item : model_.ComComboBox.Items) com_->addItem(qs(item));
  com_->setCurrentIndex(model_.ComComboBox.ItemIndex);
  baud_->clear();
  for (const auto& item : model_.BaudrateComboBox.Items) baud_->addItem(qs(item));
  baud_->setCurrentIndex(model_.BaudrateComboBox.ItemIndex);
  lpt_[0]->setChecked(model_.lptRadioButton1.Checked);
  lpt_[1]->setChecked(model_.lptRadioButton2.Checked);
  lpt_[2]->setChecked(model_.lptRadioButton3.Checked);
  lptEdit_->setText(qs(model_.lptEdit));
  for (std::size_t i = 0; i < 4; ++i) {
    geschw_[i]->setText(qs(model_.GeschwMaskEdits[i]));
    uebersetz_[i]->setText(qs(model_.UebersetzMaskEdits[i]));
    motStep_[i]->setText(qs(model_.MotStepMaskEdits[i]));
    refOffset_[i]->setText(qs(model_.RefOffsetMaskEdits[i]));
    refNr_[i]->setText(qs(model_.RefNrMaskEdits[i]));
  }
  refFreq_->setText(qs(model_.RefFreqMaskEdit));
  for (auto& g : gruppen_) gruppeAnzeigen(g);
  for (QWidget* w : uZeile_) w->setVisible(model_.uZeileVisible);
  farbenAnzeigen();
  fuellen_ = false;
}

void ParameterDialogView::uebernehmen() {
  for (std::size_t i = 0; i < typen_.size(); ++i) model_.TypButtons[i].Checked = typen_[i]->isChecked();
  model_.ComComboBox.ItemIndex = com_->currentIndex();
  model_.BaudrateComboBox.ItemIndex = baud_->currentIndex();
  model_.lptRadioButton1.Checked = lpt_[0]->isChecked();
  model_.lptRadioButton2.Checked = lpt_[1]->isChecked();
  model_.lptRadioButton3.Checked = lpt_[2]->isChecked();
  model_.lptEdit = lptEdit_->text().toStdString();
  for (std::size_t i = 0; i < 4; ++i) {
    model_.GeschwMaskEdits[i] = geschw_[i]->text().toStdString();
    model_.UebersetzMaskEdits[i] = uebersetz_[i]->text().toStdString();
    model_.MotStepMaskEdits[i] = motStep_[i]->text().toStdString();
    model_.RefOffsetMaskEdits[i] = refOffset_[i]->text().toStdString();
    model_.RefNrMaskEdits[i] = refNr_[i]->text().toStdString();
  }
  model_.RefFreqMaskEdit = refFreq_->text().toStdString();
  for (auto& g : gruppen_) g.modell->ItemIndex = g.knoepfe->checkedId();
}

}  // namespace machineqt
