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

// Whether there is anything under the path; what is there but cannot be read (a folder, a FIFO)
// reaches the reader, which refuses it and says why.
bool fileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::exists(path, ec);
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
  oeffnen(chosen->path);
}

void TMainForm::ZuletztGeoeffneteDateiOeffnen(const std::string& path) {
  if (path.empty()) return;
  oeffnen(path);
}

void TMainForm::oeffnen(const std::string& path) {
  if (!fileExists(path)) return;
  // The path becomes the document's only once the file has opened: a refused file leaves the
  // path, the title and the open document as they were.
  const std::string bisherigerPfad = Dokumentpfad;
  const std::string bisherigeEndung = Dateiendung;
  Dokumentpfad = path;
  Dateiendung = lowerExtension(path);
  if (!DateiOeffnen(Dateiendung)) {
    Dokumentpfad = bisherigerPfad;
    Dateiendung = bisherigeEndung;
    // A refused file may have reset the job options already; the start button follows them.
    SimulationslaufTrackBarOnChange();
    SimulationslaufCheckBoxOnClick();
  }
}

void TMainForm::dateiAbgelehnt(const std::string& path, const std::string& reason, bool piepen) {
  if (piepen) services_.ui.Beep(880, 100);
  services_.ui.messageBox(path + "\n" + reason, kProgrammname, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

bool TMainForm::DateiOeffnen(const std::string& extension) {
  const platform::TextReadResult text = platform::readTextLines(Dokumentpfad);
  if (text.status != platform::ReadStatus::Ok) {
    dateiAbgelehnt(Dokumentpfad, text.error, true);
    return false;
  }

  if (extension == ".tvx") {
    // The document is read into a copy and taken over only when the whole file was readable:
    // a refused file leaves the open document as it was. DokumentOeffnen beeps itself.
    panel::TMainFormState candidate = *this;
    resetJobOptions(candidate);
    std::string reason;
    if (!panel::DokumentOeffnen(candidate, Dokumentpfad, services_.ui, &reason)) {
      dateiAbgelehnt(Dokumentpfad, reason, false);
      return false;
    }
    static_cast<panel::TMainFormState&>(*this) = std::move(candidate);
    DatenRichEdit = text.lines;
    Dokumenttyp = panel::DocumentKind::Panel;
    bDokumentBenannt = true;
    FormatAnzeigeVorbereiten();
    AnsichtNeuZeichnen();
    return true;
  }
  DatenRichEdit = text.lines;
  resetJobOptions(*this);
  const bool developmentKind = extension == ".kdf" || extension == ".nc" || extension == ".dxf";
  if (developmentKind && !bEntwicklungsmodus) return false;
  // Plots, command files, DIN/ISO programs and DXF drawings have no reader yet: refused like any
  // file type that is not handled.
  if (FehlerSignal) FehlerSignal();
  return false;
}

void TMainForm::FormatAnzeigeVorbereiten() {
  machine::Protokoll_schreiben("FormatAnzeigeVorbereiten()");
  AbmessungenInitialize();
  NutzenfertigungInitialize();
  if (Dokumenttyp == panel::DocumentKind::Panel) {
    RightPageControlSeite = RightPage::Einstellungen;
    iAktZeile = DatenStringGrid.RowCount() - 1;
    ReihenfolgeSG_Neu_Aufbauen();
  } else {
    RightPageControlSeite = RightPage::Fraesen;
  }
  bGeaendert = false;
  // The new document's simulation box and slider: the start button's caption and the pace
  // follow them (this also runs RightPageControlOnChange).
  SimulationslaufTrackBarOnChange();
  SimulationslaufCheckBoxOnClick();
  EnableWinKomponenten(false);
  MenuGestaltung(false);
  PlatziereKomponenten();
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
  MenuFile1.Caption = "&1 " + ohneKurztasten(File_1);
  MenuFile2.Caption = "&2 " + ohneKurztasten(File_2);
  MenuFile3.Caption = "&3 " + ohneKurztasten(File_3);
  MenuFile4.Caption = "&4 " + ohneKurztasten(File_4);
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
  std::string reason;
  if (!panel::DokumentImportieren(*this, chosen->path, &reason)) {
    dateiAbgelehnt(chosen->path, reason, true);
    return;
  }
  if (DatenStringGrid.RowCount() != rows) {
    bGeaendert = true;
    ReihenfolgeSG_Neu_Aufbauen();
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
