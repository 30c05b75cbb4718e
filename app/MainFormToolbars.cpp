// The two toolbars of the main window: the panel size and cutter ("Abmessungen") and the grid of
// copies ("Nutzenfertigung"), their edits, the checks of what was typed and the fit buttons.
#include "MainForm.h"
#include "machine/TextConvert.h"
#include "machine/TraceLog.h"
#include "platform/NumberFormat.h"

namespace app {

namespace {

// What an edit takes when its text is out of range.
constexpr double kPlattenmassDefault = 100.0;
constexpr double kFraeserdurchmesserDefault = 2.0;

bool gleich(const panel::TAbmessungen& a, const panel::TAbmessungen& b) {
  return a.Plattenbreite == b.Plattenbreite && a.Plattenhoehe == b.Plattenhoehe && a.Standardtiefe == b.Standardtiefe &&
         a.Fraeserdurchmesser == b.Fraeserdurchmesser && a.Sicherheitsebene == b.Sicherheitsebene;
}

bool gleich(const panel::TNutzenfertigung& a, const panel::TNutzenfertigung& b) {
  return a.xNFAbstand == b.xNFAbstand && a.yNFAbstand == b.yNFAbstand && a.xNFAnzahl == b.xNFAnzahl &&
         a.yNFAnzahl == b.yNFAnzahl;
}

std::string zweiStellen(double value) { return platform::formatFixed(value, 2); }

// A count that is no number, or below 2, is 1.
int anzahl(const std::string& text) {
  const int n = machine::Text_in_Ganzzahl(text);
  return n < 2 ? 1 : panel::NutzenAnzahlBegrenzen(n);
}

}  // namespace

bool TMainForm::dokumentwerteGeaendert(const panel::TAbmessungen& a, const panel::TNutzenfertigung& n) const {
  return !gleich(a, Abmessungen) || !gleich(n, Nutzenfertigung);
}

void TMainForm::ToolBarsAnzeigen() {
  AbmessungenToolBar.Visible = MenuAbmessungen.Checked;
  NutzenfertigungToolBar.Visible = MenuNutzenfertigung.Checked;
}

void TMainForm::MenuAbmessungenOnClick() {
  MenuAbmessungen.Checked = !MenuAbmessungen.Checked;
  ToolBarsAnzeigen();
}

void TMainForm::MenuNutzenfertigungOnClick() {
  MenuNutzenfertigung.Checked = Dokumenttyp == panel::DocumentKind::Panel && !MenuNutzenfertigung.Checked;
  ToolBarsAnzeigen();
  NutzenfertigungOnExit();
}

void TMainForm::AbmessungenInitialize() {
  machine::Protokoll_schreiben("AbmessungenInitialize()");
  const panel::TAbmessungen& a = Abmessungen;
  if (Dokumenttyp == panel::DocumentKind::Panel) {
    xAMEdit = EditState{platform::formatFixedSignificant(a.Plattenbreite, 6, 2), true};
    yAMEdit = EditState{platform::formatFixedSignificant(a.Plattenhoehe, 6, 2), true};
  } else {
    // A foreign file brings its own size; the panel size is not the user's to type.
    xAMEdit = EditState{"", false};
    yAMEdit = EditState{"", false};
  }
  zAMEdit.Text = zweiStellen(a.Standardtiefe);
  AMFDurchmesserEdit.Text = zweiStellen(a.Fraeserdurchmesser);
  zAMSicherEdit.Text = zweiStellen(a.Sicherheitsebene);
  machine::Protokoll_schreiben("AbmessungenInitialize() :: End");
}

void TMainForm::AbmessungenOnExit() {
  if (laeuft_) return;
  const panel::TAbmessungen vorher = Abmessungen;
  panel::TAbmessungen& a = Abmessungen;
  const bool panelDokument = Dokumenttyp == panel::DocumentKind::Panel;
  // The size edits of a foreign document are empty and disabled: reading them would reset the
  // size the file widened the panel to.
  if (panelDokument) {
    const double breite = machine::Text_in_Zahl(xAMEdit.Text);
    const double hoehe = machine::Text_in_Zahl(yAMEdit.Text);
    a.Plattenbreite = breite > 0.0 ? breite : kPlattenmassDefault;
    a.Plattenhoehe = hoehe > 0.0 ? hoehe : kPlattenmassDefault;
  }
  const double tiefe = machine::Text_in_Zahl(zAMEdit.Text);
  const double durchmesser = machine::Text_in_Zahl(AMFDurchmesserEdit.Text);
  const double sicherheit = machine::Text_in_Zahl(zAMSicherEdit.Text);
  a.Standardtiefe = tiefe <= 0.0 ? tiefe : 0.0;
  a.setFraeserdurchmesser(durchmesser > 0.0 ? durchmesser : kFraeserdurchmesserDefault);
  a.Sicherheitsebene = sicherheit >= 0.0 ? sicherheit : 0.0;

  if (panelDokument) {
    // The values are the document's: a change has to be saved like any other.
    if (dokumentwerteGeaendert(vorher, Nutzenfertigung)) bGeaendert = true;
    if (a.Standardtiefe != vorher.Standardtiefe &&
        services_.ui.messageBox("Möchten Sie 'alle Tiefen neu setzen'?\n", kProgrammname, platform::MsgButtons::YesNo,
                                platform::MsgIcon::Question) == platform::MsgResult::Yes)
      epumAlleTiefenNeuSetzenClick();
  }
  AbmessungenInitialize();
  AnsichtNeuZeichnen();
}

void TMainForm::ABAnpassenButtonOnClick() {
  // Only a panel document has a size of its own, and a drawing of no size leaves it as it is.
  if (laeuft_ || Dokumenttyp != panel::DocumentKind::Panel) return;
  const panel::TAbmessungen vorher = Abmessungen;
  if (Ausdehnung.xMax > 0.0 && Ausdehnung.yMax > 0.0) {
    Abmessungen.Plattenbreite = platform::boundedValue(Ausdehnung.xMax);
    Abmessungen.Plattenhoehe = platform::boundedValue(Ausdehnung.yMax);
  }
  if (dokumentwerteGeaendert(vorher, Nutzenfertigung)) bGeaendert = true;
  AbmessungenInitialize();
  AnsichtNeuZeichnen();
}

void TMainForm::NutzenfertigungInitialize() {
  machine::Protokoll_schreiben("NutzenfertigungInitialize()");
  panel::TNutzenfertigung& n = Nutzenfertigung;
  xNFAbstandEdit.Text = zweiStellen(n.xNFAbstand);
  yNFAbstandEdit.Text = zweiStellen(n.yNFAbstand);
  if (n.xNFAnzahl <= 0) n.xNFAnzahl = 1;
  if (n.yNFAnzahl <= 0) n.yNFAnzahl = 1;
  xNFAnzahlEdit.Text = platform::formatInt(n.xNFAnzahl);
  yNFAnzahlEdit.Text = platform::formatInt(n.yNFAnzahl);
  machine::Protokoll_schreiben("NutzenfertigungInitialize() :: End");
}

void TMainForm::NutzenfertigungOnExit() {
  if (laeuft_) return;
  const panel::TNutzenfertigung vorher = Nutzenfertigung;
  panel::TNutzenfertigung& n = Nutzenfertigung;
  const double xAbstand = machine::Text_in_Zahl(xNFAbstandEdit.Text);
  const double yAbstand = machine::Text_in_Zahl(yNFAbstandEdit.Text);
  n.xNFAbstand = xAbstand > 0.0 ? xAbstand : 0.0;
  n.yNFAbstand = yAbstand > 0.0 ? yAbstand : 0.0;
  n.xNFAnzahl = anzahl(xNFAnzahlEdit.Text);
  n.yNFAnzahl = anzahl(yNFAnzahlEdit.Text);
  if (Dokumenttyp == panel::DocumentKind::Panel && dokumentwerteGeaendert(Abmessungen, vorher)) bGeaendert = true;
  NutzenfertigungInitialize();
  AnsichtNeuZeichnen();
  // The panel takes the size of the drawing with its copies; a foreign document keeps its size.
  ABAnpassenButtonOnClick();
}

void TMainForm::NFAnpassenButtonOnClick() {
  xNFAbstandEdit.Text = zweiStellen(AusdehnungEinzeln.xMax);
  yNFAbstandEdit.Text = zweiStellen(AusdehnungEinzeln.yMax);
  NutzenfertigungOnExit();
}

}  // namespace app
