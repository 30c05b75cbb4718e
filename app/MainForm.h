// Model of the main window `TMainForm`: the state of its controls, menus and status bar on top of
// the panel state, and the handlers of program start, the run and its stop, the status bar and
// the close. The Qt main window is a view of it: it shows this state and calls these handlers.
//
// Thread context: the model belongs to the GUI thread; every public member function is called
// there. The run worker `FraesThread` never writes the model: it posts closures through the GUI
// dispatcher (progress, repaint requests, the unlock after a run, the status texts) and asks its
// questions by invoke-and-wait. Shared with the worker are only atomics (the connected flag, the
// simulation pace, the program-memory flag, the stop request of the parameter store), the
// parameter store (behind its mutex), the controller back-ends (replaced only while no run is
// active) and the drawing bitmap (a canvas that locks itself). A run works on a snapshot taken
// when it is posted.
//
// Blocking: OnCreate waits until the worker runs; a post and the end of the worker wait at most
// 50 ms for it to be idle; the connection step and the status refresh block on the controller;
// questions block until answered. The destructor ends the worker and, should a run still be
// active, stops it and waits for it.
#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/ControlState.h"
#include "app/DataGrids.h"
#include "app/RunWorker.h"
#include "app/Switches.h"
#include "app/dialogs/FlashDialog.h"
#include "app/dialogs/InfoDialog.h"
#include "app/dialogs/ToolLengthDialog.h"
#include "app/dialogs/ToolTableDialog.h"
#include "formats/DinIsoModule.h"
#include "formats/DxfModule.h"
#include "formats/HpglModule.h"
#include "formats/KdfModule.h"
#include "machine/CommandLayer.h"
#include "machine/ControllerBackends.h"
#include "machine/SharedParameters.h"
#include "machine/dialogs/HomingDialog.h"
#include "machine/dialogs/JoggingDialog.h"
#include "machine/dialogs/ParameterDialog.h"
#include "panel/DrawContext.h"
#include "panel/MainFormState.h"
#include "panel/MillingRun.h"
#include "panel/ObjectTypeTable.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/GuiDispatcher.h"
#include "platform/UiServices.h"

namespace app {

// Caption of the program's boxes and of the window before the title is built.
inline constexpr const char* kProgrammname = "Tessaly";

// Panels of the status bar: widths in pixels; the first two are centred.
inline constexpr int kStatusBarPanels = 5;
inline constexpr std::array<int, kStatusBarPanels> kStatusBarBreiten{120, 50, 185, 270, 185};

// Pages of `RightPageControl`, of `DrawPageControl` and of the data grids' `SGPageControl`.
enum class RightPage { Einstellungen, Fraesen };
enum class DrawPage { Grafisch, Textuell };
enum class SGPage { Daten, HPGL, DINISO, DXF };
inline constexpr std::size_t kSGPages = 4;

// The dialogs the main window shows modally, centred over itself.
enum class ModalDialog {
  Parameter,
  ToolDef,
  Referenzfahrt,
  ManuelleFahrt,
  FestwertspeicherLoeschen,
  AusgabeInFestwertspeicher,
  Werkzeuglaenge,
  Info
};
inline constexpr std::size_t kModalDialoge = 8;

// An edit of a toolbar: its text and whether it takes input (a disabled edit is shown in the
// toolbar's colour, an enabled one in the window colour).
struct EditState {
  std::string Text;
  bool Enabled = true;
};

enum class MouseButton { Left, Right, Middle };

// Object buttons that append a row, in the order of the left panel.
enum class ObjektKnopf {
  Plan,
  Punkt,
  Linie,
  Rechteck1,
  Rechteck2,
  Rechteck3,
  Vieleck,
  Kreis,
  Kreisbogen,
  Text,
  Hpgl,
  Hinweis,
  Biblio
};

// What the model asks of its window. Called on the GUI thread only.
class TMainFormView {
 public:
  virtual ~TMainFormView() = default;
  // The model changed on its own (a run's progress, its end, a status refresh): show its state.
  virtual void showState() = 0;
  // Copy the drawing bitmap to the paint box at (0, 0); the drawing code calls it after drawing.
  virtual void PaintBoxOnPaint() = 0;
  // Close the window the normal way: its close query and close handler run.
  virtual void closeWindow() {}
  // End the program at once with `status`, without the close query.
  virtual void endProgram(int /*status*/) {}
  // Place the panels, page controls and grids for the window's current size.
  virtual void placeComponents() {}
};

// What the main window works with. All references must outlive the model.
struct MainFormServices {
  platform::UiServices& ui;
  platform::GuiDispatcher& gui;
  // The drawing bitmap `ZeichenBitmap`. The run worker draws on it while the GUI thread may
  // repaint from it, so it must lock each call itself.
  platform::Canvas& canvas;
  platform::Clock& clock;
  machine::BackendFactory& backendFactory;
  machine::MachineParameterStore& params;
  const panel::ObjectTypeTable& objectTypes;
  // The running program: its folder and name give the program's own files.
  std::filesystem::path executable;
  // Where those files go when the executable's folder is not writable.
  std::filesystem::path fallbackFolder;
  std::function<bool(const std::filesystem::path&)> folderWritable;
};

class TMainForm : public panel::TMainFormState {
 public:
  explicit TMainForm(MainFormServices services);
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // The window that shows the model; null for none.
  void setView(TMainFormView* view) { view_ = view; }
  // The services the model shows its boxes through; the window shows what a handler lets
  // through with them.
  platform::UiServices& uiServices() const { return services_.ui; }
  // Plugs in the dialog the menus show for `dialog`: `show` shows it modally, centred over the
  // window, and returns when it has closed. An empty `show` takes it out again; a menu whose
  // dialog is not plugged in gives one short beep.
  void dialogEinsetzen(ModalDialog dialog, std::function<void()> show);
  bool hatDialog(ModalDialog dialog) const;

  // ---- Program start, initialisation and close
  // Creation: program files, trace log, switches, drawing state, the run worker (started and
  // awaited). `args` are all arguments, the program path first.
  void OnCreate(const std::vector<std::string>& args);
  // A new panel document, shown as the document the program starts with.
  void NeuesDokument();
  // Every activation of the window: menus for the document state, then the bare program name as
  // the caption. True on the first one only: then the window arms its InitTimer, whose one tick
  // calls InitTimerTimer.
  bool OnActivate();
  // The one-time initialisation: configuration, toolbars, parameters, connection, redraw. Later
  // calls do nothing.
  void InitTimerTimer();
  // The connection step: back-end of the configured type, title, port texts, link, version.
  void Modul_Initialisieren();
  // After the window (and with it the bitmap) changed its size.
  void OnResize();
  // Whether the window may close: never while a run, or another worker that talks to the
  // controller, is active (the refusal beeps); in
  // development mode and after a termination signal without a question, otherwise after
  // "Möchten Sie das Programm wirklich beenden?". A changed document is offered for saving first.
  bool OnCloseQuery();
  // Saves the configuration, ends the worker, closes the link and deletes the trace log; each
  // step runs whatever the others did.
  void OnClose();

  // ---- Menus, toolbars and drawing
  // The menus, the title and the panels for the document state: `keinDokument` when no document
  // is open. Also after the connection step and the firmware commands.
  void MenuGestaltung(bool keinDokument);
  void ToolBarsAnzeigen();
  void MenuAbmessungenOnClick();
  // Multi-up production can be switched on for a panel document only.
  void MenuNutzenfertigungOnClick();
  // The toolbars' edits from the document values, and the check of what was typed into them: a
  // value out of range takes its default, without a message. The panel size of a foreign
  // document is never taken from the (empty) size edits. A changed value of a panel document
  // marks it changed.
  void AbmessungenInitialize();
  void AbmessungenOnExit();
  // The panel takes the size of the drawing.
  void ABAnpassenButtonOnClick();
  void NutzenfertigungInitialize();
  void NutzenfertigungOnExit();
  // The spacings of the copies from the size of one copy.
  void NFAnpassenButtonOnClick();
  // The settings and controller menus. Each does nothing while a run is active; a dialog the
  // window does not have gives one short beep.
  void MenuParameterOnClick();
  void MenuToolDefOnClick();
  void MenuResetOnClick();
  void MenuReferenzfahrtOnClick();
  void MenuManuelleFahrtOnClick();
  void MenuFestwertspeicherLoeschenOnClick();
  void MenuAusgabeInFestwertspeicherOnClick();
  void MenuWerkzeuglaengeMessenOnClick();
  void MenuInfoOnClick();
  void MenuBeendenOnClick();
  // The firmware tools: after the question, the controller link is closed and the tool started
  // without waiting for it; a tool that is not there only beeps and leaves the link open.
  void MenuFirmwareEinspielenOnClick();
  void MenuUSBIOFirmwareOnClick();
  // The drawing switches: each sets its flag to the button's state and redraws.
  void DrawNFSpeedButtonOnClick(bool down);
  void DrawFraeswegeSpeedButtonOnClick(bool down);
  void DrawNummerSpeedButtonOnClick(bool down);
  void DrawLeerfahrtenSpeedButtonOnClick(bool down);
  // Shows the data grids while the button is down.
  void DSGSpeedButtonOnClick(bool down);
  // After a change of the drawing's or the data grids' page, and after the selected HPGL/PLT row
  // has been drawn while the grids are shown: the grid of the page in sight takes the element
  // list of the window's format module for it (HPGLDatenEintragen and its siblings); in a panel
  // document whose selected row is an HPGL/PLT row, the plot grid takes that row's plot. The
  // document table's page takes nothing.
  void DrawPageControlOnChange();
  // Replaces what writes the element list of `page` into its grid (the window's module, as
  // plugged in at creation); an empty `fill` takes it out. A page without one keeps its grid.
  void datenlisteEinsetzen(SGPage page, std::function<void(panel::StringGrid&)> fill);
  // The window places its panels and grids for its size; ControlBarPaint also redraws.
  void PlatziereKomponenten();
  void ControlBarPaint();
  // Redraw of the open document into the bitmap, then copied to the screen.
  void AnsichtNeuZeichnen();
  void Konfig_Laden();
  // False when the file could not be written (a warning has been shown).
  bool Konfig_Speichern();

  // ---- Document commands of the "Datei" menu
  void MenuNeuOnClick();
  void MenuOeffnenOnClick();
  void MenuImportierenOnClick();
  // False when nothing was saved (refused, cancelled or failed).
  bool MenuSpeichernOnClick();
  bool MenuSpeichernUnterOnClick();
  void MenuSpeichernUndSchliessenOnClick();
  // False when the close was given up because the save it asked for did not happen.
  bool MenuSchliessenOnClick();
  void MenuFile1Click() { ZuletztGeoeffneteDateiOeffnen(File_1); }
  void MenuFile2Click() { ZuletztGeoeffneteDateiOeffnen(File_2); }
  void MenuFile3Click() { ZuletztGeoeffneteDateiOeffnen(File_3); }
  void MenuFile4Click() { ZuletztGeoeffneteDateiOeffnen(File_4); }
  void ZuletztGeoeffneteDateiOeffnen(const std::string& path);
  // Opens `Dokumentpfad` by its lower-case extension. False when the file was refused: a file
  // that cannot be read or is no panel document beeps and says why in a box naming it; a type
  // that is not handled gives the error signal.
  bool DateiOeffnen(const std::string& extension);
  void FormatAnzeigeVorbereiten();
  void ZuletztGeoeffneteDateienSpeichern();
  // The filter texts of the open dialog for the current mode, and of the save dialog.
  std::string oeffnenFilter() const;
  static std::string speichernFilter();

  // ---- The run
  // Takes the run's snapshot and posts the milling run to the worker; dropped silently while a
  // run is active or the worker does not become idle within 50 ms.
  void FraesenStartenBitBtnClick();
  // Stop: only while a run is active. Connected: the decelerated stop (which sets the stop
  // request); otherwise the stop request alone.
  void AnhaltenBitBtnClick();
  // The window previews the keys: Escape stops.
  void OnKeyPress(char key);
  // Locks (true) or unlocks (false) the window for a run.
  void EnableWinKomponenten(bool laeuft);
  // After the user toggled SimulationslaufCheckBox / moved SimulationslaufTrackBar.
  void SimulationslaufCheckBoxOnClick();
  void SimulationslaufTrackBarOnChange();
  // A run has been posted and has not yet finished.
  bool laeuft() const { return laeuft_; }
  // The run worker exists (between OnCreate and its end at close).
  bool FraesThreadLaeuft() const { return FraesThread.running(); }

  // ---- Termination signals (SIGINT, SIGTERM, SIGHUP), delivered on the GUI thread
  // The first one stops whatever talks to the controller: a job, a tool-length measurement, a
  // homing run or a jog (stop request and halt; a job's stop path switches the outputs off), or a
  // job being written into the program memory (the stop request alone: the write ends the
  // recording and store mode). Once that has ended, spindle, coolant and extraction are switched
  // off and the window closes the normal way. A second one switches the outputs off (unless a
  // recording still runs, which would take them) and ends the program at once.
  void OnTerminationSignal(int signal);

  // ---- Editing a panel document: the paint box, the object buttons, the properties and order
  // grids. Each handler does nothing while a run is active or while no panel document is open.
  // Every change of the document sets bGeaendert; selecting leaves it as it was.
  // Paint box, in bitmap pixels: a left press inside the panel selects the object under it and
  // grabs the handle under it (or, in rubber-band mode, starts the band); moves with the button
  // held drag the grabbed handle; moves without it show the handle under the pointer.
  void PaintBoxOnMouseDown(MouseButton button, int x, int y);
  void PaintBoxOnMouseMove(int x, int y);
  void PaintBoxOnMouseUp(MouseButton button);
  void GummiRectSpeedButtonClick(bool down);
  // The buttons that open the tool and rectangle sub-panels.
  void ToolSpeedButtonClick();
  void RechteckSpeedButtonClick();
  // T1 .. T7: a TOOL row for slot 0 .. 6.
  void TSpeedButtonClick(int slot);
  // A new row of the button's type, selected and shown. The plot button asks for the plot file
  // (a cancel still adds the row), the library button for the panel document (a cancel adds
  // none); a path the document cannot hold is refused with a box. A type that has no new row
  // yet only beeps.
  void ObjektSpeedButtonClick(ObjektKnopf knopf);
  // Properties grid: a cell selected, then clicked; the editors' write-back; the popup menu.
  void esgOnSelectCell(int column, int row);
  void esgOnClick();
  // A text the document cannot hold beeps and the editor shows the old text again.
  void esgMaskEditOnExit(const std::string& text);
  void esgComboBoxOnChange(int index);
  void esgButtonOnClick();
  void epumAlleTiefenNeuSetzenClick();
  void epumDisablenClick();
  void epumEnablenClick();
  // Order grid: a line selected; the order buttons.
  void rsgOnSelectCell(int row);
  void NachObenSpeedButtonClick();
  void NachUntenSpeedButtonClick();
  // Asks first, except in development mode.
  void DelSpeedButtonClick();
  // Rebuilds the order grid, shows the selected row's properties (redrawing the panel), sets the
  // order buttons, and shows the "Einstellungen" page.
  void ReihenfolgeSG_Neu_Aufbauen();
  // Redraws the panel and refills the properties grid.
  void EigenschaftenAktualisieren();

  // ---- Status bar
  void StatusBarAktualisieren();
  void RightPageControlOnChange();

  // ---- State shown by the window
  std::string Caption;
  std::string Fenstertitel;
  std::array<std::string, kStatusBarPanels> StatusBar;

  MenuItemState MenuDatei{.Caption = "&Datei"};
  MenuItemState MenuNeu{.Caption = "&Neu"};
  MenuItemState MenuOeffnen{.Caption = "Ö&ffnen..."};
  MenuItemState MenuImportieren{.Caption = "&Importieren..."};
  MenuItemState MenuSpeichern{.Caption = "&Speichern"};
  MenuItemState MenuSpeichernUnter{.Caption = "Speichern &unter..."};
  MenuItemState MenuSpeichernUndSchliessen{.Caption = "Speichern und Schließen"};
  MenuItemState MenuSchliessen{.Caption = "Sch&ließen"};
  MenuItemState MenuFile1{.Caption = "&1"};
  MenuItemState MenuFile2{.Visible = false, .Caption = "&2"};
  MenuItemState MenuFile3{.Visible = false, .Caption = "&3"};
  MenuItemState MenuFile4{.Visible = false, .Caption = "&4"};
  MenuItemState MenuAnsicht{.Caption = "&Ansicht"};
  MenuItemState MenuAbmessungen{.Caption = "&Abmessungen"};
  MenuItemState MenuEinstellungen{.Caption = "&Einstellungen"};
  MenuItemState MenuParameter{.Caption = "Parame&ter"};
  MenuItemState MenuToolDef{.Caption = "Tool-Einstellungen"};
  MenuItemState MenuE2{.Caption = "-"};
  MenuItemState MenuUSBIOFirmwareEinspielen{.Caption = "USB-IO-Firmware einspielen..."};
  MenuItemState MenuSteuerung{.Caption = "&Steuerung"};
  MenuItemState MenuReset{.Caption = "&Reset"};
  MenuItemState MenuReferenzfahrt{.Caption = "Referenz&fahrt"};
  MenuItemState MenuManuelleFahrt{.Caption = "&Manuelle Fahrt"};
  MenuItemState MenuS1{.Visible = false, .Caption = "-"};
  MenuItemState MenuWerkstueckNullpunktAn{.Visible = false, .Caption = "&Werkstücknullpunkt anfahren"};
  MenuItemState MenuParkpositionAn{.Visible = false, .Caption = "&Parkposition anfahren"};
  MenuItemState MenuCobalt_Kyro{.Visible = false, .Caption = ""};
  MenuItemState MenuFestwertspeicherLoeschen{.Caption = "Festwertspeicher &löschen"};
  MenuItemState MenuAusgabeInFestwertspeicher{.Caption = "&Ausgabe in den Festwertspeicher"};
  MenuItemState MenuKyro1{.Caption = "-"};
  MenuItemState MenuWerkzeuglaengeMessen{.Enabled = false, .Visible = false, .Caption = "&Werkzeuglänge messen"};
  MenuItemState MenuKyro2{.Visible = false, .Caption = "-"};
  MenuItemState MenuFirmwareEinspielen{.Caption = "Firmware einspielen..."};
  MenuItemState MenuInfo{.Caption = "&Info"};
  MenuItemState MenuBeenden{.Caption = "&Beenden"};

  ControlState ControlBar;
  ControlState AbmessungenToolBar{.Caption = "Abmessungen:"};
  EditState xAMEdit;
  EditState yAMEdit;
  EditState zAMEdit;
  EditState AMFDurchmesserEdit;
  EditState zAMSicherEdit;
  ControlState AMAnpassenButton{.Caption = "anpassen"};
  ControlState NutzenfertigungToolBar{.Caption = "Nutzenfertigung:"};
  EditState xNFAbstandEdit;
  EditState yNFAbstandEdit;
  EditState xNFAnzahlEdit;
  EditState yNFAnzahlEdit;
  ControlState NFAnpassenButton{.Caption = "anpassen"};
  ControlState LeftPanel;
  // The object buttons of the left panel, TOOL to the note and the library button.
  ControlState ObjektSpeedButtons;
  // The drawing switches shown in development mode only; DSGSpeedButton is down while the data
  // grids are shown. The other switches show the drawing flags of the panel state.
  ControlState DSGSpeedButton{.Visible = false, .Caption = ""};
  bool DSGSpeedButtonDown = false;
  ControlState DrawNFSpeedButton{.Visible = false, .Caption = ""};
  ControlState DrawPageControl;
  DrawPage DrawPageControlSeite = DrawPage::Grafisch;
  ControlState GrafischTabSheet{.Caption = "Grafisch"};
  ControlState TextuellTabSheet{.Visible = false, .Caption = "Textuell"};
  // The data grids over the drawing: the document table and the element lists of the format
  // modules (row 0 stays empty, element k in row k).
  ControlState SGPageControl{.Visible = false, .Caption = ""};
  SGPage SGPageControlSeite = SGPage::Daten;
  panel::StringGrid HPGLStringGrid{kHPGLSpalten, 1};
  panel::StringGrid DINISOStringGrid{kDINISOSpalten, 1};
  panel::StringGrid DXFStringGrid{kDXFSpalten, 1};
  ControlState RightPageControl;
  ControlState ERTabSheet{.Caption = "Einstellungen"};
  RightPage RightPageControlSeite = RightPage::Einstellungen;
  // The object bar's pop-out panels and its rubber-band button (shown in development mode).
  ControlState ToolPanel{.Visible = false, .Caption = ""};
  ControlState RechteckPanel{.Visible = false, .Caption = ""};
  ControlState GummiRectSpeedButton{.Visible = false, .Caption = ""};
  // The left button went down in the paint box and has not come up.
  bool bMaustasteGedrueckt = false;
  ControlState FraesenTabSheet{.Caption = "Fräsen"};
  ControlState vorBearbeitungGroupBox{.Caption = " vor Bearbeitung "};
  ControlState waehrendBearbeitungGroupBox{.Caption = " während Bearbeitung "};
  // Enabled flag of nachBearbeitungRadioGroup; its choice is in the panel state.
  ControlState nachBearbeitungRadioGroupControl;
  ControlState FortschrittsanzeigeLabel{.Visible = false, .Caption = "Fortschritt:"};
  // Flags of FortschrittsanzeigeProgressBar; its position is in the panel state.
  ControlState FortschrittsanzeigeProgressBarControl{.Visible = false, .Caption = ""};
  ControlState FraesenStartenBitBtn{.Caption = "&Fräsvorgang starten"};
  ControlState AnhaltenBitBtn{.Visible = false, .Caption = "&Anhalten"};

  // The tool-table and about dialogs, created with the window and shown on demand.
  TToolDefForm ToolDefForm;
  // The machine dialogs, created with the window; their views show them on demand.
  machine::TParameterDlg ParameterDlg;
  machine::TReferenzfahrtForm ReferenzfahrtForm;
  machine::TManuelleFahrtForm ManuelleFahrtForm;
  TInfoDlg InfoDlg;
  // The window's own format modules: the plot file, the DIN/ISO program, the DXF drawing and
  // the command file opened last. They are the program's only ones: no program-wide
  // DINISODataModule, DXFDataModule, KDFDataModule or HPGLDataModule is made beside them, since
  // nothing would use it.
  formats::THPGLDataModule HPGLDatenmodul;
  formats::TDINISODataModule DINISODatenmodul;
  formats::TDXFDataModule DXFDatenmodul;
  formats::TKDFDataModule KDFDatenmodul;

  // Switches besides the maker mode of the panel state.
  bool bEntwicklungsmodus = false;
  bool bProtokollmodus = false;
  bool bWZLModus = false;

  bool bInitFertig = false;
  bool bGeaendert = false;
  // Lower-case extension of the file chosen last, with its dot.
  std::string Dateiendung;
  // The open document has a file of its own; a new one is saved through the save-as dialog.
  bool bDokumentBenannt = false;
  // Lines of the text view: the file opened last, as it stands.
  std::vector<std::string> DatenRichEdit;
  // Initial folder of the open and save dialogs.
  std::string Dialogordner;
  // Controller link opened and identified; read by the worker too.
  std::atomic<bool> bSteuerungVerbunden{false};
  // Pause after each simulated move in ms (slider position x 6); read by the running worker.
  std::atomic<int> Simulationspause{60};
  // A job is being recorded into the controller's program memory; read by the motion primitives.
  std::atomic<bool> bAusgabeInFestwertspeicher{false};

  // Files: chosen once by OnCreate.
  std::filesystem::path Programmordner;
  std::filesystem::path Konfigdatei;
  // Last folder and recent files of the configuration file.
  std::string Verzeichnis;
  std::string File_1;
  std::string File_2;
  std::string File_3;
  std::string File_4;

 private:
  struct PendingRun {
    panel::RunSnapshot snapshot;
    bool verbunden = false;
    // The opened plot, program and drawing as they were when the run was posted, and the lines
    // of an opened command file.
    formats::THPGLDataModule plot;
    formats::TDINISODataModule program;
    formats::TDXFDataModule drawing;
    std::vector<std::string> commandLines;
  };

  // The job as it stands now, for a run or a recording (GUI thread).
  PendingRun auftragNehmen();

  // Editing is possible: a panel document, no run.
  bool bearbeitbar() const;
  // The drawing context of the window: copies to the screen and refreshes the data grid in
  // sight after the selected plot row.
  panel::DrawContext zeichenKontext();
  // The element lists of the window's format modules, each into its page's grid.
  void datenlistenEinsetzen();
  // The plot the plot grid shows: the selected HPGL/PLT row's in a panel document, else the
  // opened plot file's.
  void plotDatenEintragen(panel::StringGrid& grid);
  // A redraw of the panel document into the bitmap, after the initialisation only.
  void panelNeuZeichnen();
  // Moves the selected row by `verschieben` and, when it moved, rebuilds the grids.
  void reihenfolgeAendern(bool (*verschieben)(panel::TMainFormState&));
  // Appends a row through the type's new-row role, selects it and rebuilds the grids.
  void objektAnhaengen(panel::KonturTyp typ, const panel::NewRowRequest& request);
  // A path for a plot or sub-drawing row from the open dialog: empty when cancelled; none when
  // refused because the document cannot hold it (a box says so).
  std::optional<std::string> dateiWaehlen(const char* filter, const char* fileName, const std::string& initialDir);

  // Runs on the worker.
  void FraesenAusfuehren();
  void WerkzeuglaengeMessen();
  // The hooks of a run's context that reach the GUI thread: progress, repaints, questions,
  // redraw, the error signal.
  void kontextEinrichten(panel::RunContext& context);
  // The tool-length measurement on the worker with the run's command layer and maker mode.
  std::function<void()> werkzeuglaengeMessung(machine::CommandLayer& steuerung, bool herstellermodus);
  // Posts the tool-length measurement (command 1) to the run worker; false when it was busy.
  bool WerkzeuglaengeMessungStarten();
  struct Lauf;
  class FlashAnbindung;
  struct PendingMessung {
    machine::Maschinenparameter params;
    bool herstellermodus = false;
  };
  // Posts `task` to the GUI thread; it is skipped once the model is gone.
  void toGui(std::function<void()> task);
  // Repaint request from the worker: at most one is queued at a time.
  void requestRepaint();
  void notifyView();
  // The five status texts. `position` reads an axis in mm and may throw a failure code; a failure
  // shows dashes and writes a trace line. While connected, an empty `position` leaves the
  // position text empty for the caller to fill. Clears the connection text in the store when
  // not connected.
  std::array<std::string, kStatusBarPanels> statusTexte(bool verbunden, const std::function<double(char)>& position);
  int modul() const;
  void stopRun();
  // A job, a measurement, a program-memory operation, a homing run or a jog is under way: a worker
  // talks to the controller.
  bool maschineArbeitet() const;
  // Stops what maschineArbeitet finds under way; its end comes to nachArbeitsende.
  void arbeitAnhalten();
  // GUI thread, when a worker's command has ended: after a termination signal, the close goes on
  // once nothing is under way any more.
  void nachArbeitsende();
  // Spindle, coolant and extraction off, each failure only traced (GUI thread, connected only).
  void outputsOff();
  // After a termination signal, once no job runs: outputs off, then the window closes.
  void closeAfterSignal();
  // Starts the first of the firmware tools at `relativePaths` that is there, after `question`.
  void FirmwareToolStarten(const char* question, std::initializer_list<const char*> relativePaths);
  // Closes the controller link (a failure only traced) and marks the window unconnected.
  void steuerungTrennen(const char* caller);
  // A drawing switch: its flag set to the button's state and the view redrawn, outside a run.
  void zeichenschalterSetzen(bool& flag, bool down);
  // Shows `dialog` when the window has it; otherwise one short beep and false.
  bool dialogZeigen(ModalDialog dialog);
  // The colours and the maker mode a machine dialog is shown with (parameters, homing, jogging).
  void maschinendialogVorbereiten(ModalDialog dialog);
  // Whether the document values differ, for the modified mark.
  bool dokumentwerteGeaendert(const panel::TAbmessungen& a, const panel::TNutzenfertigung& n) const;
  // Opens the file at `path` as Open and the recent files do; a refused file leaves the path.
  void oeffnen(const std::string& path);
  // A file that was refused: a box naming the file and the reason, after the 880 Hz beep when
  // `piepen` (the document reader beeps itself).
  void dateiAbgelehnt(const std::string& path, const std::string& reason, bool piepen);
  // The parameter or configuration file exists but cannot be read: a box naming it and the
  // reason; the program goes on with the defaults.
  void datendateiNichtLesbar(const std::string& path, const std::string& reason);

  MainFormServices services_;
  TMainFormView* view_ = nullptr;
  std::array<std::function<void()>, kModalDialoge> dialoge_;
  std::array<std::function<void(panel::StringGrid&)>, kSGPages> datenlisten_;
  machine::ControllerBackends backends_;
  Schalter schalter_;
  bool activated_ = false;
  bool laeuft_ = false;
  // A tool-length measurement has been posted and its end has not yet reached the GUI thread.
  bool messungLaeuft_ = false;
  bool closing_ = false;
  // The termination signal that asked the program to end; 0 for none.
  int terminationSignal_ = 0;
  // The close after that signal has begun.
  bool signalSchliessen_ = false;
  std::mutex pendingMutex_;
  std::optional<PendingRun> pendingRun_;
  std::atomic<bool> repaintQueued_{false};
  // Expires with the model; closures posted by the worker check it before they touch the model.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
  // What a job recorded into the program memory, and a measurement, work on: taken on the GUI
  // thread when they are posted.
  std::optional<PendingRun> pendingFlash_;
  std::optional<PendingMessung> pendingMessung_;
  std::unique_ptr<FlashAnbindung> flashAnbindung_;

 public:
  // The program-memory and tool-length dialogs, created with the window. Their workers use the
  // controller back-ends, so they go before them.
  TFlashDlg FlashDlg;
  TWZLMessungForm WZLMessungForm;

 private:
  // Last member: destroyed (and so joined) first, while everything it uses still exists.
  TTVXThread FraesThread;
};

}  // namespace app
