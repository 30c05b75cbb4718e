// The menus of the main window: their enabled, visible and caption rules for the document state,
// the switches and the controller type, and the commands of the settings, controller and info
// menus that open dialogs or act on the controller.
#include <filesystem>
#include <string>

#include "MainForm.h"
#include "machine/MachineParameters.h"
#include "machine/TraceLog.h"

namespace app {

namespace {

// Longest document path shown whole in the caption; a longer one shows its file name.
constexpr std::size_t kTitelPfadZeichen = 40;

std::size_t utf8Length(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

std::string flag(bool on) { return on ? "1" : "0"; }

// Controller types with a program memory: Cobalt-Kyro and USB-Beryl.
bool hatProgrammspeicher(int typ) { return typ == 5 || typ == 6; }

}  // namespace

void TMainForm::MenuGestaltung(bool keinDokument) {
  machine::Protokoll_schreiben("MenuGestaltung(" + flag(keinDokument) + ")");
  Caption = Fenstertitel + (utf8Length(Dokumentpfad) <= kTitelPfadZeichen
                                ? Dokumentpfad
                                : std::filesystem::path(Dokumentpfad).filename().string());

  for (MenuItemState* item : {&MenuNeu, &MenuOeffnen, &MenuFile1, &MenuFile2, &MenuFile3, &MenuFile4})
    item->Enabled = keinDokument;
  for (MenuItemState* item : {&MenuImportieren, &MenuSpeichern, &MenuSpeichernUnter, &MenuSpeichernUndSchliessen,
                              &MenuSchliessen, &MenuAnsicht})
    item->Enabled = !keinDokument;
  MenuFile1.Visible = true;
  MenuFile2.Visible = false;
  MenuFile3.Visible = false;
  MenuFile4.Visible = false;
  MenuNutzenfertigung.Enabled = true;
  MenuE2.Visible = true;
  MenuUSBIOFirmwareEinspielen.Visible = true;
  // Travels to the stored positions are offered by the jogging dialog only.
  MenuS1.Visible = false;
  MenuWerkstueckNullpunktAn.Visible = false;
  MenuParkpositionAn.Visible = false;

  const int typ = modul();
  const bool verbunden = bSteuerungVerbunden;
  MenuCobalt_Kyro.Visible = hatProgrammspeicher(typ);
  if (typ == 5) MenuCobalt_Kyro.Caption = "Cobalt-Kyro";
  if (typ == 6) MenuCobalt_Kyro.Caption = "USB-Beryl";
  MenuFestwertspeicherLoeschen.Visible = true;
  MenuAusgabeInFestwertspeicher.Visible = true;
  MenuKyro1.Visible = true;
  MenuFestwertspeicherLoeschen.Enabled = verbunden;
  MenuAusgabeInFestwertspeicher.Enabled = !keinDokument && verbunden;
  // The tool-length measurement has no entry in the user interface.
  MenuWerkzeuglaengeMessen.Visible = bWZLModus;
  MenuKyro2.Visible = bWZLModus;
  MenuWerkzeuglaengeMessen.Enabled = false;
  WZLCheckBox.Enabled = false;
  WZLCheckBox.Checked = false;

  DSGSpeedButton.Visible = bEntwicklungsmodus;
  DrawNFSpeedButton.Visible = bEntwicklungsmodus;
  ControlBar.Visible = !keinDokument;
  LeftPanel.Visible = !keinDokument;
  DrawPageControl.Visible = !keinDokument;
  RightPageControl.Visible = !keinDokument;
  const bool panelDokument = Dokumenttyp == panel::DocumentKind::Panel;
  AMAnpassenButton.Visible = panelDokument;
  ObjektSpeedButtons.Visible = panelDokument;
  GummiRectSpeedButton.Visible = panelDokument && bEntwicklungsmodus;
  SGPageControl.Visible = !keinDokument && DSGSpeedButtonDown;
  machine::Protokoll_schreiben("MenuGestaltung(" + flag(keinDokument) + ") :: End");
}

void TMainForm::steuerungTrennen(const char* caller) {
  try {
    machine::Maschinenparameter p = services_.params.snapshot();
    machine::CommandLayer(p, backends_, services_.params.bAbbruch).Steuerung_trennen();
  } catch (int code) {
    machine::Protokoll_schreiben(std::string(caller) + ": Steuerung_trennen: Fehlercode " + std::to_string(code));
  }
  bSteuerungVerbunden = false;
}

void TMainForm::dialogEinsetzen(ModalDialog dialog, std::function<void()> show) {
  dialoge_.at(static_cast<std::size_t>(dialog)) = std::move(show);
}

bool TMainForm::hatDialog(ModalDialog dialog) const {
  return static_cast<bool>(dialoge_.at(static_cast<std::size_t>(dialog)));
}

bool TMainForm::dialogZeigen(ModalDialog dialog) {
  if (!hatDialog(dialog)) {
    services_.ui.Beep(440, 100);
    return false;
  }
  // A copy: the dialog may plug itself out while it is shown.
  const std::function<void()> show = dialoge_.at(static_cast<std::size_t>(dialog));
  show();
  return true;
}

void TMainForm::MenuParameterOnClick() {
  if (laeuft_) return;
  // The link stays as it is when there is no dialog to change its settings.
  if (!hatDialog(ModalDialog::Parameter)) {
    services_.ui.Beep(440, 100);
    return;
  }
  // The dialog may change the port and the controller type: the link is opened again after it,
  // however it was closed.
  steuerungTrennen("MenuParameterOnClick()");
  maschinendialogVorbereiten(ModalDialog::Parameter);
  dialogZeigen(ModalDialog::Parameter);
  Modul_Initialisieren();
}

void TMainForm::MenuToolDefOnClick() {
  if (laeuft_) return;
  dialogZeigen(ModalDialog::ToolDef);
}

void TMainForm::MenuResetOnClick() {
  if (laeuft_) return;
  machine::Maschinenparameter p = services_.params.snapshot();
  machine::CommandLayer steuerung(p, backends_, services_.params.bAbbruch);
  try {
    steuerung.Reset_durchfuehren();
  } catch (int code) {
    steuerung.Steuerungsfehler_melden(services_.ui, code, kProgrammname);
  }
  StatusBarAktualisieren();
}

void TMainForm::MenuReferenzfahrtOnClick() {
  if (laeuft_) return;
  maschinendialogVorbereiten(ModalDialog::Referenzfahrt);
  if (dialogZeigen(ModalDialog::Referenzfahrt)) StatusBarAktualisieren();
}

void TMainForm::MenuManuelleFahrtOnClick() {
  if (laeuft_) return;
  maschinendialogVorbereiten(ModalDialog::ManuelleFahrt);
  if (dialogZeigen(ModalDialog::ManuelleFahrt)) StatusBarAktualisieren();
}

void TMainForm::MenuFestwertspeicherLoeschenOnClick() {
  if (laeuft_ || !hatProgrammspeicher(modul())) return;
  FlashDlg.setAlleLoeschenModus(true);
  dialogZeigen(ModalDialog::FestwertspeicherLoeschen);
}

void TMainForm::MenuAusgabeInFestwertspeicherOnClick() {
  if (laeuft_ || !hatProgrammspeicher(modul())) return;
  if (!hatDialog(ModalDialog::AusgabeInFestwertspeicher)) {
    services_.ui.Beep(440, 100);
    return;
  }
  // The run's options are in sight while the user answers.
  RightPageControlSeite = RightPage::Fraesen;
  notifyView();
  if (services_.ui.messageBox("Wurden alle Fräsparameter richtig eingestellt?\n", kProgrammname,
                              platform::MsgButtons::YesNo, platform::MsgIcon::Question) != platform::MsgResult::Yes)
    return;
  FlashDlg.setAlleLoeschenModus(false);
  dialogZeigen(ModalDialog::AusgabeInFestwertspeicher);
}

void TMainForm::MenuWerkzeuglaengeMessenOnClick() {
  if (laeuft_ || !hatProgrammspeicher(modul())) return;
  WZLMessungForm.OnActivate(services_.params.snapshot());
  if (!dialogZeigen(ModalDialog::Werkzeuglaenge)) return;
  machine::Parameter_Speichern(services_.params.snapshot(), services_.ui);
}

void TMainForm::MenuInfoOnClick() { dialogZeigen(ModalDialog::Info); }

void TMainForm::MenuBeendenOnClick() {
  if (view_ != nullptr) view_->closeWindow();
}

}  // namespace app
