// The menu commands that show the machine dialogs: parameters (with the link closed and the
// connection step after it), homing and jogging.
#include "MainForm.h"

namespace app {

namespace {

// The colours the dialogs are shown in (0xBBGGRR).
constexpr int kParameterHaupt = 0x00CC00;
constexpr int kParameterZweit = 0xFF8000;
constexpr int kSchwarz = 0x000000;
constexpr int kWeiss = 0xFFFFFF;
constexpr int kReferenzfahrtHintergrund = 0x3535FF;
constexpr int kManuelleFahrtHintergrund = 0x80FFFF;

}  // namespace

void TMainForm::MenuParameterOnClick(const std::function<void()>& zeigen) {
  if (laeuft_) return;
  machine::Maschinenparameter p = services_.params.snapshot();
  try {
    machine::CommandLayer(p, backends_, services_.params.bAbbruch).Steuerung_trennen();
  } catch (int) {
    // The connection step after the dialog replaces the link in any case.
  }
  bSteuerungVerbunden = false;
  ParameterDlg.Farben = {kParameterHaupt, kParameterZweit, kSchwarz, kWeiss, kSchwarz, kWeiss};
  zeigen();
  Modul_Initialisieren();
}

void TMainForm::MenuReferenzfahrtOnClick(const std::function<void()>& zeigen) {
  if (laeuft_) return;
  ReferenzfahrtForm.Hintergrundfarbe = kReferenzfahrtHintergrund;
  ReferenzfahrtForm.Schriftfarbe = kWeiss;
  ReferenzfahrtForm.bHerstellermodus = bHerstellermodus;
  zeigen();
  StatusBarAktualisieren();
}

void TMainForm::MenuManuelleFahrtOnClick(const std::function<void()>& zeigen) {
  if (laeuft_) return;
  ManuelleFahrtForm.Hintergrundfarbe = kManuelleFahrtHintergrund;
  ManuelleFahrtForm.bHerstellermodus = bHerstellermodus;
  zeigen();
  StatusBarAktualisieren();
}

}  // namespace app
