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
#include "panel/types/TypeHpgl.h"
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

// A command file has no drawing: its page is hidden and the file's text is in sight. Every other
// kind brings the drawing back into sight.
void drawingPageShown(TMainForm& form, bool shown) {
  if (shown && !form.GrafischTabSheet.Visible) form.DrawPageControlSeite = DrawPage::Grafisch;
  if (!shown) form.DrawPageControlSeite = DrawPage::Textuell;
  form.GrafischTabSheet.Visible = shown;
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
  SGPageControlSeite = SGPage::Daten;
  panel::StringGrid_Neu(*this);
  bDokumentBenannt = false;
  FormatAnzeigeVorbereiten();
  bGeaendert = true;
  AnsichtNeuZeichnen();
  machine::Protokoll_schreiben("MenuNeuOnClick() :: End");
}

void TMainForm::MenuOeffnenOnClick() {
  SGPageControlSeite = SGPage::Daten;
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
    drawingPageShown(*this, true);
    bDokumentBenannt = true;
    // The plots of the rows say once here what is wrong with them; every redraw reads them silently.
    panel::hpglReportDocumentFiles(*this, services_.ui);
    FormatAnzeigeVorbereiten();
    AnsichtNeuZeichnen();
    return true;
  }
  if (extension == ".hpgl" || extension == ".plt") {
    // The plot is read into a module of its own and taken over only when it could be read: a
    // refused plot (its messages have said why) leaves the open document and its plot as they were.
    formats::THPGLDataModule plot;
    plot.HPGL_Parser(Dokumentpfad, &services_.ui);
    if (!plot.readOk()) return false;
    DatenRichEdit = text.lines;
    resetJobOptions(*this);
    HPGLDatenmodul = std::move(plot);
    Dokumenttyp = panel::DocumentKind::Hpgl;
    drawingPageShown(*this, true);
    bDokumentBenannt = true;
    FormatAnzeigeVorbereiten();
    const panel::PanelAnsicht& welt = HPGLDatenmodul.Ansicht;
    Ausdehnung = panel::Extent{welt.xMin, welt.yMin, welt.xMax, welt.yMax};
    if (Ausdehnung.xMax > Abmessungen.Plattenbreite) Abmessungen.Plattenbreite = Ausdehnung.xMax;
    if (Ausdehnung.yMax > Abmessungen.Plattenhoehe) Abmessungen.Plattenhoehe = Ausdehnung.yMax;
    AnsichtNeuZeichnen();
    return true;
  }
  const bool developmentKind = extension == ".kdf" || extension == ".nc" || extension == ".dxf";
  if (!developmentKind || !bEntwicklungsmodus) {
    // Loaded into the text view, opened as nothing; a file type that is not handled at all beeps.
    DatenRichEdit = text.lines;
    resetJobOptions(*this);
    if (!developmentKind && FehlerSignal) FehlerSignal();
    return false;
  }
  if (extension == ".nc") {
    // As with plots: a program that fails to read (its boxes have said why) leaves the open
    // document as it was. One that stops at a word it does not handle opens with its path so far.
    formats::TDINISODataModule program;
    program.Ansicht.xShift = 0.0;
    program.Ansicht.yShift = 0.0;
    program.DINISO_Parser(Dokumentpfad, &services_.ui);
    if (!program.readOk()) return false;
    DINISODatenmodul = std::move(program);
    Dokumenttyp = panel::DocumentKind::DinIso;
  } else if (extension == ".dxf") {
    // A drawing that cannot be read to its end opens with what was read, as its message says.
    DXFDatenmodul.Ansicht.xShift = 0.0;
    DXFDatenmodul.Ansicht.yShift = 0.0;
    DXFDatenmodul.DXF_Parser(text.lines, &services_.ui);
    Dokumenttyp = panel::DocumentKind::Dxf;
  } else {
    KDFDatenmodul.Ansicht.xShift = 0.0;
    KDFDatenmodul.Ansicht.yShift = 0.0;
    KDFDatenmodul.KDF_Parser();
    Dokumenttyp = panel::DocumentKind::CommandFile;
  }
  drawingPageShown(*this, Dokumenttyp != panel::DocumentKind::CommandFile);
  DatenRichEdit = text.lines;
  resetJobOptions(*this);
  bDokumentBenannt = true;
  FormatAnzeigeVorbereiten();
  AnsichtNeuZeichnen();
  return true;
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
