// The main window's life: creation, the one-time initialisation, the connection step, menus and
// drawing, the configuration file, and the close.
#include <chrono>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <system_error>
#include <utility>

#include "MainFormLauf.h"
#include "Uncaught.h"
#include "app/ConfigFile.h"
#include "app/ProgramFiles.h"
#include "machine/MachineParameters.h"
#include "machine/TraceLog.h"
#include "panel/DrawContext.h"
#include "panel/NewDocument.h"
#include "panel/PanelDrawing.h"
#include "platform/NumberFormat.h"
#include "platform/ProgramPath.h"
#include "platform/SerialPort.h"

namespace app {

namespace {

// How long the window's end waits for a running job before it cuts the job off from the
// controller, and as long again before it gives up on the job.
constexpr std::chrono::seconds kLaufEndeWartezeit{10};

// The serial protocol controllers open their port at the parameter file's rate; a rate the
// serial port cannot be set to at all would leave the program unconnected without a word.
bool baudrateEinstellbar(const machine::Maschinenparameter& p) {
  return !machine::istProtokollTyp(p.Modul) || platform::SerialPort::baudrateSupported(p.Baudrate);
}

}  // namespace

TMainForm::TMainForm(MainFormServices services)
    : ParameterDlg(
          machine::MachineDialogServices{services.ui, services.gui, services.clock, services.params, backends_}),
      ReferenzfahrtForm(
          machine::MachineDialogServices{services.ui, services.gui, services.clock, services.params, backends_}),
      ManuelleFahrtForm(
          machine::MachineDialogServices{services.ui, services.gui, services.clock, services.params, backends_}),
      services_(std::move(services)),
      flashAnbindung_(std::make_unique<FlashAnbindung>(*this)),
      FlashDlg(FlashDlgServices{services_.ui, services_.gui, bAusgabeInFestwertspeicher}, *flashAnbindung_),
      WZLMessungForm(services_.gui,
                     WzlHooks{.messungStarten = [this] { return WerkzeuglaengeMessungStarten(); },
                              .Achsen_anhalten =
                                  [this] {
                                    machine::Maschinenparameter p = services_.params.snapshot();
                                    machine::CommandLayer(p, backends_, services_.params.bAbbruch).Achsen_anhalten();
                                  },
                              .Steuerungsfehler_melden =
                                  [this](int code) {
                                    machine::Maschinenparameter p = services_.params.snapshot();
                                    machine::CommandLayer(p, backends_, services_.params.bAbbruch)
                                        .Steuerungsfehler_melden(services_.ui, code, kProgrammname);
                                  },
                              .showUnexpectedFault =
                                  [this](std::exception_ptr fault) {
                                    if (!closing_) handleUncaught(services_.ui, fault);
                                  }}),
      FraesThread([this] { WerkzeuglaengeMessen(); }, [this] { FraesenAusfuehren(); }) {
  if (!services_.folderWritable) services_.folderWritable = folderWritable;
  // The ends of the dialogs' commands, for the close after a termination signal.
  FlashDlg.setOnIdle([this] { nachArbeitsende(); });
  ReferenzfahrtForm.setOnIdle([this] { nachArbeitsende(); });
  ManuelleFahrtForm.setOnIdle([this] { nachArbeitsende(); });
  // The double beep for refused input and files that are not handled (GUI thread).
  FehlerSignal = [this] {
    services_.ui.Beep(440, 200);
    services_.clock.sleepMillis(100);
    services_.ui.Beep(440, 200);
  };
  plotReader = formats::hpglPlotReader();
  datenlistenEinsetzen();
}

TMainForm::~TMainForm() {
  closing_ = true;
  if (!FraesThread.running() || FraesThread.end()) return;
  // The window goes while a run is active (its close refuses that, so only an abnormal end gets
  // here): stop the run and keep serving its requests until the worker can be ended. The wait
  // is bounded: a run that does not end is cut off from the controller (every wait on the link
  // fails at once), and a worker that still does not end leaves with the program.
  stopRun();
  const auto start = std::chrono::steady_clock::now();
  bool getrennt = false;
  while (!FraesThread.end()) {
    services_.gui.runPending();
    const auto waited = std::chrono::steady_clock::now() - start;
    if (!getrennt && waited > kLaufEndeWartezeit) {
      getrennt = true;
      machine::Protokoll_schreiben("~TMainForm(): Lauf endet nicht, Verbindung wird getrennt");
      try {
        machine::Maschinenparameter p = services_.params.snapshot();
        machine::CommandLayer(p, backends_, services_.params.bAbbruch).Steuerung_trennen();
      } catch (int) {
      }
    }
    if (waited > 2 * kLaufEndeWartezeit) {
      machine::Protokoll_schreiben("~TMainForm(): Lauf endet nicht, Programmende");
      std::_Exit(EXIT_FAILURE);
    }
  }
}

void TMainForm::OnCreate(const std::vector<std::string>& args) {
  Caption = kProgrammname;
  FlashDlg.OnCreate();
  WZLMessungForm.OnCreate();

  // The program's own files: beside the executable, or in the XDG folder when that is not
  // writable. Chosen once, here.
  const ProgramFiles files =
      chooseProgramFiles(services_.executable, services_.folderWritable, services_.fallbackFolder);
  if (files.fallback) {
    std::error_code ec;
    std::filesystem::create_directories(files.folder, ec);
    std::clog << "veltris: " << services_.executable.parent_path().string()
              << " ist nicht beschreibbar; Parameter, Konfiguration und Protokoll liegen in " << files.folder.string()
              << "\n";
  }
  Programmordner = files.folder;
  platform::setProgramFolder(files.folder);
  services_.params.update([&](machine::Maschinenparameter& p) { p.Parameterdatei = files.Parameterdatei.string(); });
  Konfigdatei = files.Konfigdatei;

  machine::Protokoll_loeschen();
  machine::Protokoll_schreiben("Programmordner: " + files.folder.string() + (files.fallback ? " (XDG)" : ""));

  schalter_ = Schalter_lesen(args);
  bHerstellermodus = schalter_.bHerstellermodus;
  bEntwicklungsmodus = schalter_.bEntwicklungsmodus;
  bProtokollmodus = schalter_.bProtokollmodus;
  for (int i = 0; i < schalter_.timeCount; ++i) Dateizeiten_stempeln();
  bWZLModus = false;

  bInitFertig = false;
  Dokumenttyp = panel::DocumentKind::None;
  Griffpunkt = panel::kKeinGriff;
  // ControlBar, LeftPanel and OptionenPanel are shown in the desktop's button-face colour, which
  // the Qt panels take by themselves; only the drawing colours are set here.
  Farben = panel::Palette{};
  // The open and save dialogs start in the program's folder until the configuration names the
  // folder of the last document.
  Dialogordner = services_.executable.parent_path().string();
  DSGSpeedButtonDown = false;
  DrawPageControlSeite = DrawPage::Grafisch;
  TextuellTabSheet.Visible = bEntwicklungsmodus;
  SGPageControlSeite = SGPage::Daten;
  bSteuerungVerbunden = false;

  FraesThread.start();
}

void TMainForm::NeuesDokument() {
  panel::StringGrid_Neu(*this);
  Dokumenttyp = panel::DocumentKind::Panel;
  bGeaendert = false;
  AbmessungenInitialize();
  NutzenfertigungInitialize();
  SimulationslaufTrackBarOnChange();
  SimulationslaufCheckBoxOnClick();
  EnableWinKomponenten(false);
  MenuGestaltung(false);
  ReihenfolgeSG_Neu_Aufbauen();
}

bool TMainForm::OnActivate() {
  MenuGestaltung(MenuOeffnen.Enabled);
  Caption = kProgrammname;
  if (activated_) return false;
  activated_ = true;
  return true;
}

void TMainForm::InitTimerTimer() {
  if (bInitFertig) return;
  Konfig_Laden();
  ToolBarsAnzeigen();
  MenuFile1.Caption = "&1 " + ohneKurztasten(File_1);

  machine::Maschinenparameter p = services_.params.snapshot();
  std::string error;
  if (!machine::Parameter_Laden(p, &error)) {
    machine::Protokoll_schreiben("Parameter_Laden(): " + p.Parameterdatei + " ist nicht lesbar");
    // Said once, here: the defaults hold, and the file is kept rather than overwritten.
    datendateiNichtLesbar(p.Parameterdatei,
                          error +
                              "\n\nEs gelten die Vorgabewerte der Maschinenparameter. Die Datei bleibt "
                              "erhalten: bevor die Parameter gespeichert werden, wird sie umbenannt in\n" +
                              p.unreadableFileBackup);
  }
  services_.params.assign(p);

  bInitFertig = true;
  Modul_Initialisieren();
  AnsichtNeuZeichnen();
}

void TMainForm::Modul_Initialisieren() {
  services_.params.update([](machine::Maschinenparameter& p) {
    p.Verbindungstext.clear();
    p.Schnittstellentext.clear();
  });
  StatusBarAktualisieren();

  machine::Maschinenparameter p = services_.params.snapshot();
  machine::CommandLayer steuerung(p, backends_, services_.params.bAbbruch);
  bool verbunden = false;
  std::string modell;
  try {
    steuerung.Steuerung_trennen();
  } catch (int) {
    // A link that fails to close is replaced all the same.
  }
  try {
    modell = steuerung.Steuerung_erzeugen(services_.backendFactory);
  } catch (int) {
    modell = machine::Steuerungsname(p.Modul);
  }

  Fenstertitel = Fenstertitel_bilden(modell, schalter_);
  Caption = Fenstertitel;

  GummiRectSpeedButtonClick(bGummiRect);
  SimulationslaufCheckBoxOnClick();
  SimulationslaufTrackBar.Min = 2;
  SimulationslaufTrackBar.Max = 25;
  SimulationslaufTrackBar.Position = 10;
  SimulationslaufTrackBarOnChange();

  const bool einstellbar = baudrateEinstellbar(p);
  if (!einstellbar) {
    const std::string rate = platform::formatInt(p.Baudrate);
    machine::Protokoll_schreiben("Modul_Initialisieren(): Baudrate " + rate + " nicht einstellbar");
    services_.ui.messageBox("Die Baudrate " + rate +
                                " kann an der seriellen Schnittstelle nicht eingestellt werden!\n" +
                                "Bitte unter \"Einstellungen\" > \"Parameter\" eine andere Baudrate wählen.\n",
                            kProgrammname, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  }
  try {
    steuerung.Schnittstelle_anzeigen();
    if (einstellbar && steuerung.Steuerung_verbinden(p.Schnittstellentext)) {
      steuerung.Version_abfragen();
      verbunden = true;
    }
  } catch (int code) {
    // No controller, a wrong port or one that does not answer: unconnected, without a message.
    machine::Protokoll_schreiben("Modul_Initialisieren(): keine Verbindung, Fehlercode " + std::to_string(code));
    verbunden = false;
  }
  bSteuerungVerbunden = verbunden;
  services_.params.update([&](machine::Maschinenparameter& shared) {
    shared.Verbindungstext = p.Verbindungstext;
    shared.Schnittstellentext = p.Schnittstellentext;
    shared.Baudratentext = p.Baudratentext;
  });

  EnableWinKomponenten(false);
  MenuGestaltung(MenuOeffnen.Enabled);
  RightPageControlOnChange();
}

void TMainForm::OnResize() {
  machine::Protokoll_schreiben("OnResize()");
  // During a run the bitmap keeps the drawing the run draws its cut on; the run's end redraws.
  if (bInitFertig && !laeuft_) {
    PlatziereKomponenten();
    AnsichtNeuZeichnen();
  }
  machine::Protokoll_schreiben("OnResize() :: End");
}

bool TMainForm::OnCloseQuery() {
  // The run draws on the window and may still ask its question: it has to end first, and so
  // does every other worker that talks to the controller, whose link the close ends. The
  // refusal is heard, so that the user knows the close was not lost.
  if (maschineArbeitet()) {
    machine::Protokoll_schreiben(laeuft_ ? "OnCloseQuery(): ein Lauf ist aktiv"
                                         : "OnCloseQuery(): die Steuerung arbeitet");
    services_.ui.Beep(440, 100);
    return false;
  }
  if (!bEntwicklungsmodus && bGeaendert) {
    const auto answer = services_.ui.messageBox("Möchten Sie die Datei speichern?\n", kProgrammname,
                                                platform::MsgButtons::YesNo, platform::MsgIcon::Question);
    // A save that was cancelled or failed keeps the program open: the changes are not lost.
    if (answer == platform::MsgResult::Yes && !MenuSpeichernUnterOnClick()) return false;
  }
  // A termination signal has asked the question already.
  if (bEntwicklungsmodus || terminationSignal_ != 0) return true;
  return services_.ui.messageBox("Möchten Sie das Programm wirklich beenden?\n", kProgrammname,
                                 platform::MsgButtons::YesNo, platform::MsgIcon::Question) == platform::MsgResult::Yes;
}

void TMainForm::OnClose() {
  // Each step on its own, so that a failing one does not skip the others.
  try {
    Konfig_Speichern();
  } catch (const std::exception& e) {
    machine::Protokoll_schreiben(std::string("OnClose(): Konfig_Speichern: ") + e.what());
  }
  // The opened files' lists go now; a run still walking one keeps its own copy.
  HPGLDatenmodul.OnDestroy();
  DINISODatenmodul.OnDestroy();
  DXFDatenmodul.OnDestroy();
  try {
    if (FraesThread.running() && !FraesThread.end()) {
      machine::Protokoll_schreiben("OnClose(): TTVXThread ist beschäftigt");
    }
  } catch (const std::exception& e) {
    machine::Protokoll_schreiben(std::string("OnClose(): TTVXThread: ") + e.what());
  }
  // Nothing is left switched on when the program goes: a command file's own lines may have
  // switched an output on that no check box knows of. A close after a signal has done it already.
  if (!signalSchliessen_) outputsOff();
  try {
    machine::Maschinenparameter p = services_.params.snapshot();
    machine::CommandLayer(p, backends_, services_.params.bAbbruch).Steuerung_trennen();
  } catch (int code) {
    machine::Protokoll_schreiben("OnClose(): Steuerung_trennen: Fehlercode " + std::to_string(code));
  } catch (const std::exception& e) {
    machine::Protokoll_schreiben(std::string("OnClose(): Steuerung_trennen: ") + e.what());
  }
  bSteuerungVerbunden = false;
  machine::endTraceLog();
}

void TMainForm::AnsichtNeuZeichnen() {
  panel::DrawContext context = zeichenKontext();
  context.formatPaint = [this, &context](panel::DocumentKind kind) {
    switch (kind) {
      case panel::DocumentKind::Hpgl:
        HPGLDatenmodul.Ansicht.liveDrawing = false;
        HPGLDatenmodul.HPGL_Paint(context, true);
        break;
      case panel::DocumentKind::DinIso:
        DINISODatenmodul.Ansicht.liveDrawing = false;
        DINISODatenmodul.DINISO_Paint(context);
        break;
      case panel::DocumentKind::Dxf:
        DXFDatenmodul.Ansicht.liveDrawing = false;
        DXFDatenmodul.DXF_Paint(context);
        break;
      case panel::DocumentKind::CommandFile:
        KDFDatenmodul.Ansicht.liveDrawing = false;
        KDFDatenmodul.KDF_Paint(context);
        break;
      case panel::DocumentKind::Panel:
      case panel::DocumentKind::None:
        break;
    }
  };
  panel::AnsichtNeuZeichnen(context);
}

void TMainForm::Konfig_Laden() {
  std::string error;
  const Konfiguration k = app::Konfig_Laden(Konfigdatei, &error);
  if (!error.empty()) datendateiNichtLesbar(Konfigdatei.string(), error);
  if (!k.Verzeichnis.empty()) {
    Verzeichnis = k.Verzeichnis;
    Dialogordner = Verzeichnis;
  }
  File_1 = k.File_1;
  File_2 = k.File_2;
  File_3 = k.File_3;
  File_4 = k.File_4;
  MenuAbmessungen.Checked = k.Abmessungen;
  MenuNutzenfertigung.Checked = k.Nutzenfertigung;
  DrawFraeswege = k.DrawFraeswege;
  DrawNummer = k.DrawNummer;
  DrawLeerfahrten = k.DrawLeerfahrten;
  ToolDef = k.ToolDef;
}

bool TMainForm::Konfig_Speichern() {
  Konfiguration k;
  k.Verzeichnis = Verzeichnis;
  k.File_1 = File_1;
  k.File_2 = File_2;
  k.File_3 = File_3;
  k.File_4 = File_4;
  k.Abmessungen = MenuAbmessungen.Checked;
  k.Nutzenfertigung = MenuNutzenfertigung.Checked;
  k.DrawFraeswege = DrawFraeswege;
  k.DrawNummer = DrawNummer;
  k.DrawLeerfahrten = DrawLeerfahrten;
  k.ToolDef = ToolDef;
  return app::Konfig_Speichern(Konfigdatei, k, services_.ui);
}

int TMainForm::modul() const { return services_.params.snapshot().Modul; }

void TMainForm::datendateiNichtLesbar(const std::string& path, const std::string& reason) {
  services_.ui.messageBox(path + "\n" + reason, kProgrammname, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

}  // namespace app
