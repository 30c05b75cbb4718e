// The "Datei" menu of the main window: new, open by extension, import, save, save as, save and
// close, close, the recent file, and the window title that goes with them.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/ConfigFile.h"
#include "app/MainForm.h"
#include "machine/TraceLog.h"
#include "panel/DocumentFile.h"
#include "panel/NewDocument.h"
#include "platform/TextFile.h"

namespace app {

namespace {

constexpr const char* kTvxFilter = "Tessaly (*.tvx)|*.tvx|";

std::string lowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

// The job options a freshly opened file starts with.
void resetJobOptions(panel::TMainFormState& state) {
  state.ReferenzfahrtCheckBox.Checked = false;
  state.WZLCheckBox.Checked = false;
  state.WSNullpunktCheckBox.Checked = true;
  state.SpindelmotorCheckBox.Checked = false;
  state.KuehlmittelpumpeCheckBox.Checked = false;
  state.AbsaugungCheckBox.Checked = false;
  state.nachBearbeitungRadioGroup.ItemIndex = 0;
  state.SimulationslaufCheckBox.Checked = false;
  state.SimulationslaufTrackBar.Position = 10;
}

bool isForeignKind(panel::DocumentKind kind) {
  return kind == panel::DocumentKind::Hpgl || kind == panel::DocumentKind::CommandFile ||
         kind == panel::DocumentKind::DinIso || kind == panel::DocumentKind::Dxf;
}

}  // namespace

std::string TMainForm::oeffnenFilter() const {
  std::string filter = std::string(kTvxFilter) + "HPGL-Dateien (*.hpgl, *.plt)|*.hpgl;*.plt|";
  if (bEntwicklungsmodus) {
    filter +=
        "DXF-Dateien (*.dxf)|*.dxf|Zelko-Daten-Format (*.kdf)|*.kdf|DINISO-Dateien (*.nc)|*.nc|"
        "alle Dateien (*.*)|*.*";
  }
  return filter;
}

std::string TMainForm::speichernFilter() { return "Tessaly (*.tvx)|*.tvx|alle Dateien (*.*)|*.*"; }

void TMainForm::MenuNeuOnClick() {
  machine::Protokoll_schreiben("MenuNeuOnClick()");
  Dokumenttyp = panel::DocumentKind::Panel;
  panel::StringGrid_Neu(*this);
  bDokumentBenannt = false;
  FormatAnzeigeVorbereiten();
  bGeaendert = true;
  AnsichtNeuZeichnen();
  machine::Protokoll_schreiben("MenuNeuOnClick() :: End");
}

void TMainForm::MenuOeffnenOnClick() {
  platform::FileDialogRequest request;
  request.filter = oeffnenFilter();
  request.fileName = "*.tvx";
  request.initialDir = Dialogordner;
  const auto chosen = services_.ui.openFileDialog(request);
  if (!chosen) return;
  Dokumentpfad = chosen->path;
  Dateiendung = lowerExtension(chosen->path);
  if (fileExists(Dokumentpfad)) DateiOeffnen(Dateiendung);
}

void TMainForm::ZuletztGeoeffneteDateiOeffnen(const std::string& path) {
  if (path.empty()) return;
  Dokumentpfad = path;
  Dateiendung = lowerExtension(path);
  if (fileExists(path)) DateiOeffnen(Dateiendung);
}

void TMainForm::DateiOeffnen(const std::string& extension) {
  const platform::TextReadResult text = platform::readTextLines(Dokumentpfad);
  DatenRichEdit = text.status == platform::ReadStatus::Ok ? text.lines : std::vector<std::string>{};

  if (extension == ".tvx") {
    // The document is read into a copy and taken over only when the whole file was readable:
    // an unreadable file beeps and leaves the open document as it was.
    panel::TMainFormState candidate = *this;
    resetJobOptions(candidate);
    if (!panel::DokumentOeffnen(candidate, Dokumentpfad, services_.ui)) return;
    static_cast<panel::TMainFormState&>(*this) = std::move(candidate);
    Dokumenttyp = panel::DocumentKind::Panel;
    bDokumentBenannt = true;
    FormatAnzeigeVorbereiten();
    AnsichtNeuZeichnen();
    return;
  }
  resetJobOptions(*this);
  const bool developmentKind = extension == ".kdf" || extension == ".nc" || extension == ".dxf";
  if (developmentKind && !bEntwicklungsmodus) return;
  // Plots, command files, DIN/ISO programs and DXF drawings have no reader yet: refused like any
  // file type that is not handled.
  if (FehlerSignal) FehlerSignal();
}

void TMainForm::FormatAnzeigeVorbereiten() {
  machine::Protokoll_schreiben("FormatAnzeigeVorbereiten()");
  if (Dokumenttyp == panel::DocumentKind::Panel) {
    iAktZeile = DatenStringGrid.RowCount() - 1;
  }
  bGeaendert = false;
  RightPageControlOnChange();
  EnableWinKomponenten(false);
  MenuGestaltung(false);
  ZuletztGeoeffneteDateienSpeichern();
  machine::Protokoll_schreiben("FormatAnzeigeVorbereiten() :: End");
}

void TMainForm::ZuletztGeoeffneteDateienSpeichern() {
  machine::Protokoll_schreiben("ZuletztGeoeffneteDateienSpeichern()");
  // A document that has no file of its own yet is not a file to open again.
  if (bDokumentBenannt) {
    Konfiguration recent;
    recent.Verzeichnis = Verzeichnis;
    recent.File_1 = File_1;
    if (rememberRecentFile(recent, Dokumentpfad)) {
      File_1 = recent.File_1;
      Verzeichnis = recent.Verzeichnis;
      Dialogordner = Verzeichnis;
      Konfig_Speichern();
    }
  }
  MenuFile1.Caption = "&1 " + File_1;
  MenuFile2.Caption = "&2 " + File_2;
  MenuFile3.Caption = "&3 " + File_3;
  MenuFile4.Caption = "&4 " + File_4;
  machine::Protokoll_schreiben("ZuletztGeoeffneteDateienSpeichern() :: End");
}

void TMainForm::MenuImportierenOnClick() {
  platform::FileDialogRequest request;
  request.filter = kTvxFilter;
  request.fileName = "*.tvx";
  request.initialDir = Dialogordner;
  const auto chosen = services_.ui.openFileDialog(request);
  if (!chosen) return;
  Dateiendung = lowerExtension(chosen->path);
  if (!fileExists(chosen->path) || Dateiendung != ".tvx") return;
  const int rows = DatenStringGrid.RowCount();
  if (panel::DokumentImportieren(*this, chosen->path) && DatenStringGrid.RowCount() != rows) {
    bGeaendert = true;
    AnsichtNeuZeichnen();
  }
}

bool TMainForm::MenuSpeichernOnClick() {
  // An opened plot or program is no panel document: writing one over it would destroy the file.
  if (isForeignKind(Dokumenttyp) || Dokumenttyp == panel::DocumentKind::None) {
    if (FehlerSignal) FehlerSignal();
    return false;
  }
  if (!bDokumentBenannt) return MenuSpeichernUnterOnClick();
  if (!panel::DokumentSpeichern(*this, Dokumentpfad, services_.ui)) return false;
  bGeaendert = false;
  ZuletztGeoeffneteDateienSpeichern();
  return true;
}

bool TMainForm::MenuSpeichernUnterOnClick() {
  if (isForeignKind(Dokumenttyp) || Dokumenttyp == panel::DocumentKind::None) {
    if (FehlerSignal) FehlerSignal();
    return false;
  }
  platform::FileDialogRequest request;
  request.filter = speichernFilter();
  request.fileName = Dokumentpfad;
  request.initialDir = Dialogordner;
  request.defaultExt = "tvx";
  const auto chosen = services_.ui.saveFileDialog(request);
  if (!chosen) return false;
  if (!panel::DokumentSpeichern(*this, chosen->path, services_.ui)) return false;
  Dokumentpfad = chosen->path;
  bDokumentBenannt = true;
  bGeaendert = false;
  ZuletztGeoeffneteDateienSpeichern();
  Caption = Fenstertitel + Dokumentpfad;
  return true;
}

void TMainForm::MenuSpeichernUndSchliessenOnClick() {
  if (MenuSpeichernOnClick()) MenuSchliessenOnClick();
}

bool TMainForm::MenuSchliessenOnClick() {
  if (bGeaendert) {
    const auto answer = services_.ui.messageBox("Möchten Sie die Datei speichern?\n", kProgrammname,
                                                platform::MsgButtons::YesNo, platform::MsgIcon::Question);
    // A save that is cancelled or fails keeps the document open rather than losing it.
    if (answer == platform::MsgResult::Yes && !MenuSpeichernUnterOnClick()) return false;
  }
  bGeaendert = false;
  Dokumenttyp = panel::DocumentKind::None;
  Dokumentpfad.clear();
  bDokumentBenannt = false;
  Konfig_Speichern();
  MenuGestaltung(true);
  return true;
}

}  // namespace app
