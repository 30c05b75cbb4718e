// The colours and the maker mode the machine dialogs (parameters, homing, jogging) are shown with.
#include "MainForm.h"

namespace app {

namespace {

// 0xBBGGRR.
constexpr int kParameterHaupt = 0x00CC00;
constexpr int kParameterZweit = 0xFF8000;
constexpr int kSchwarz = 0x000000;
constexpr int kWeiss = 0xFFFFFF;
constexpr int kReferenzfahrtHintergrund = 0x3535FF;
constexpr int kManuelleFahrtHintergrund = 0x80FFFF;

}  // namespace

void TMainForm::maschinendialogVorbereiten(ModalDialog dialog) {
  switch (dialog) {
    case ModalDialog::Parameter:
      ParameterDlg.Farben = {kParameterHaupt, kParameterZweit, kSchwarz, kWeiss, kSchwarz, kWeiss};
      break;
    case ModalDialog::Referenzfahrt:
      ReferenzfahrtForm.Hintergrundfarbe = kReferenzfahrtHintergrund;
      ReferenzfahrtForm.Schriftfarbe = kWeiss;
      ReferenzfahrtForm.bHerstellermodus = bHerstellermodus;
      break;
    case ModalDialog::ManuelleFahrt:
      ManuelleFahrtForm.Hintergrundfarbe = kManuelleFahrtHintergrund;
      ManuelleFahrtForm.bHerstellermodus = bHerstellermodus;
      break;
    default:
      break;
  }
}

}  // namespace app
