// The jogging dialog's handlers on the GUI thread and its four commands on the worker: relay
// off and on, travel to a stored position, and one jog step.
#include "JoggingDialog.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>

#include "machine/ControllerFamily.h"
#include "machine/FailureCodes.h"
#include "machine/TextConvert.h"
#include "machine/TraceLog.h"
#include "platform/NumberFormat.h"

namespace machine {

namespace {

constexpr const char* kFehlerText = "- - -";
// A step width that is a whole number of steps stays that number, though its product in
// floating point may lie a hair above it.
constexpr double kRundungsSpiel = 1e-9;

std::string zahlText(double value) { return "  " + platform::formatFixed(value, 2); }

bool gueltigeSchrittweite(double mm) { return std::isfinite(mm) && mm > 0.0; }

// The jog of a key (-1/+1 x, -2/+2 y, -3/+3 z); 0 for any other key.
int tastenFahrachse(int key) {
  switch (static_cast<JogKey>(key)) {
    case JogKey::PageUp:
      return -3;
    case JogKey::PageDown:
      return +3;
    case JogKey::Left:
      return -1;
    case JogKey::Up:
      return -2;
    case JogKey::Right:
      return +1;
    case JogKey::Down:
      return +2;
    case JogKey::Escape:
      break;
  }
  return 0;
}

// The step/direction controllers have no output of the travel; their back-end would report it as
// a wrong output number before and after every travel.
bool hatAnfahrAusgang(int modul) { return familyOf(modul) != ControllerFamily::TaktRicht; }

// The difference of two step positions, held within the 32-bit range (the command layer refuses
// what the controllers cannot take).
int differenz(int a, int b) {
  const std::int64_t d = static_cast<std::int64_t>(a) - b;
  if (d > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (d < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(d);
}

}  // namespace

double* gespeichertePosition(Maschinenparameter& p, int zeile, int achse) {
  if (achse < 0 || achse > 2) return nullptr;
  switch (zeile) {
    case 1:
      return std::array<double*, 3>{&p.xWerkstücknullpunkt, &p.yWerkstücknullpunkt, &p.zWerkstücknullpunkt}[achse];
    case 2:
      return std::array<double*, 3>{&p.xParkposition, &p.yParkposition, &p.zParkposition}[achse];
    case 3:
      return std::array<double*, 3>{&p.xWZLMessposition, &p.yWZLMessposition, &p.zWZLMessposition}[achse];
    case 4:
      return std::array<double*, 3>{&p.xWZWechselposition, &p.yWZWechselposition, &p.zWZWechselposition}[achse];
    default:
      return nullptr;
  }
}

TManuelleFahrtForm::TManuelleFahrtForm(MachineDialogServices services) : services_(services), gui_(services.gui) {
  Meldungstitel = Caption;
  const std::array<std::string, 4> kopf{" Bezeichnung", " x-Achse", " y-Achse", " z-Achse"};
  aktStringGrid[0] = kopf;
  posStringGrid[0] = kopf;
  aktStringGrid[1][0] = "  akt. Position";
  posStringGrid[1][0] = " Werkstücknullpunkt";
  posStringGrid[2][0] = " Parkposition";
  posStringGrid[3][0] = " Werkzeuglängen-Messposition";
  posStringGrid[4][0] = " Werkzeugwechsel-Position";
}

TManuelleFahrtForm::~TManuelleFahrtForm() { dialogWorkerBeenden(services_, worker_, &CommandLayer::Achsen_anhalten); }

void TManuelleFahrtForm::melden(int code) { dialogFehlerMelden(services_, code, Meldungstitel); }

void TManuelleFahrtForm::fehlerSignal() {
  services_.ui.Beep(440, 200);
  services_.clock.sleepMillis(100);
  services_.ui.Beep(440, 200);
}

void TManuelleFahrtForm::KnoepfeFreigeben(bool bedienbar, bool abbrechenSichtbar, bool schliessenSichtbar) {
  SchrittweiteRadioGroup.Enabled = bedienbar;
  SchrittweiteMaskEdit.Enabled = bedienbar;
  Panel.Enabled = bedienbar;
  TastaturCheckBox.Enabled = bedienbar;
  AbbrechenBitBtn.Visible = abbrechenSichtbar;
  SchliessenBitBtn.Visible = schliessenSichtbar;
}

void TManuelleFahrtForm::OnActivate() {
  if (Top > kMaxTop) Top = kMaxTop;
  const Maschinenparameter p = services_.params.snapshot();
  SpeedScrollBar.Min = p.Startfreq;
  SpeedScrollBar.Max = p.Eilfreq;
  SpeedScrollBar_OnChange(p.Eilfreq);
  posGridZeilenauswahl = true;
  posGridEditieren = false;
  RelaisON_BitBtn.Visible = true;
  RelaisOFF_BitBtn.Visible = true;
  KnoepfeFreigeben(true, false, true);
  laeuft_ = 0;

  worker_.reset();
  worker_ = std::make_unique<platform::CommandWorker>([this](int befehl) { ausfuehren(befehl); });
  worker_->start();

  Maschinenparameter init = p;
  CommandLayer steuerung(init, services_.backends, services_.params.bAbbruch);
  try {
    steuerung.U_Achse_einstellen();
    steuerung.InitializeSteuerung(bHerstellermodus);
    PositionenAnzeigen(positionLesen(steuerung, false));
  } catch (int code) {
    PositionenAnzeigen(std::nullopt);
    melden(code);
  }
}

void TManuelleFahrtForm::SchrittweiteRadioGroup_OnClick(int itemIndex) {
  SchrittweiteRadioGroup.ItemIndex = itemIndex;
  switch (itemIndex) {
    case 0:
      Schrittweite = 0.05;
      break;
    case 1:
      Schrittweite = 0.10;
      break;
    case 2:
      Schrittweite = 1.00;
      break;
    case 3: {
      const double wert = Text_in_Zahl(SchrittweiteMaskEdit.Text);
      if (gueltigeSchrittweite(wert)) {
        Schrittweite = wert;
      } else {
        schrittweiteVerwerfen();
      }
      break;
    }
    default:
      break;
  }
}

void TManuelleFahrtForm::SchrittweiteMaskEdit_OnClick() { SchrittweiteRadioGroup_OnClick(3); }

void TManuelleFahrtForm::schrittweiteVerwerfen() {
  services_.ui.Beep(440, 100);
  SchrittweiteMaskEdit.Text = platform::formatFixed(Schrittweite, 2);
}

void TManuelleFahrtForm::SchrittweiteMaskEdit_OnExit(const std::string& text) {
  const double wert = Text_in_Zahl(text);
  // A negative width would move against the button's direction, and 0 would move nothing.
  if (!gueltigeSchrittweite(wert)) {
    schrittweiteVerwerfen();
    return;
  }
  SchrittweiteMaskEdit.Text = platform::formatFixed(wert, 2);
  // The free width counts only while it is the chosen item; otherwise the item shown would not
  // be the width the machine moves.
  if (SchrittweiteRadioGroup.ItemIndex == 3) Schrittweite = wert;
}

void TManuelleFahrtForm::SpeedScrollBar_OnChange(int position) {
  SpeedScrollBar.Position = position;
  SpeedAnzeigeLabel = platform::formatInt(position) + " Hz";
}

void TManuelleFahrtForm::TastaturCheckBoxOnClick(bool checked) {
  TastaturChecked = checked;
  KeyPreview = checked;
}

bool TManuelleFahrtForm::posten(int befehl) {
  if (!worker_) return false;
  {
    std::lock_guard lock(auftragMutex_);
    auftrag_ = Auftrag{
        befehl,       services_.params.snapshot(), Schrittweite, SpeedScrollBar.Position, Fahrachse, PositionsZeile,
        RelaisAusgang};
  }
  // A stop request left by a command that has ended is not meant for this one. It is dropped once
  // the worker, idle, takes this command: a click while a move runs is dropped with its post and
  // takes no stop away from that move.
  if (!worker_->post(befehl, [this] { services_.params.bAbbruch = false; })) {
    std::lock_guard lock(auftragMutex_);
    auftrag_.reset();
    return false;
  }
  ++laeuft_;
  return true;
}

void TManuelleFahrtForm::joggen(int code) {
  if (EditierenDown) return;
  Fahrachse = code;
  posten(kVerfahren);
}

void TManuelleFahrtForm::tastenJoggen(int code) {
  // A held key repeats faster than a step runs: a repeat must not hold up the GUI thread, nor
  // wait in its queue to start a step after the key has come up.
  if (faehrt()) return;
  joggen(code);
}

void TManuelleFahrtForm::OnShortCut(int key, bool wiederholung) {
  if (!TastaturChecked || EditierenDown) return;
  if (static_cast<JogKey>(key) == JogKey::Escape) {
    AbbrechenBitBtn_OnClick();
    return;
  }
  const int code = tastenFahrachse(key);
  if (code == 0) return;
  if (!wiederholung) {
    wiederholteTaste_ = 0;
    tastenJoggen(code);
    return;
  }
  if (faehrt() || wiederholteTaste_ == key) return;
  // The release of the key may be queued behind this repeat: the step waits until the events
  // queued now have been served.
  wiederholteTaste_ = key;
  gui_.post([this, key, code] {
    if (wiederholteTaste_ != key) return;
    wiederholteTaste_ = 0;
    if (TastaturChecked && !EditierenDown) tastenJoggen(code);
  });
}

void TManuelleFahrtForm::OnKeyUp(int key) {
  if (wiederholteTaste_ == key) wiederholteTaste_ = 0;
}

void TManuelleFahrtForm::RelaisOFFBitBtn_OnClick() { posten(kRelaisAus); }

void TManuelleFahrtForm::RelaisONBitBtn_OnClick() { posten(kRelaisEin); }

void TManuelleFahrtForm::AnfahrenBitBtn_OnClick() {
  if (EditierenDown) return;
  posten(kPositionAnfahren);
}

void TManuelleFahrtForm::ausfuehren(int befehl) {
  std::optional<Auftrag> auftrag;
  {
    std::lock_guard lock(auftragMutex_);
    auftrag.swap(auftrag_);
  }
  if (!auftrag) return;
  CommandLayer steuerung(auftrag->params, services_.backends, services_.params.bAbbruch);
  try {
    switch (befehl) {
      case kRelaisAus:
        RelaisAus(steuerung, *auftrag);
        break;
      case kRelaisEin:
        RelaisEin(steuerung, *auftrag);
        break;
      case kPositionAnfahren:
        PositionAnfahren(steuerung, *auftrag);
        break;
      case kVerfahren:
        Verfahren(steuerung, *auftrag);
        break;
      default:
        break;
    }
  } catch (...) {
    // A fault that is no failure code ends the command too; the dialog's buttons come back as
    // after any other end.
    reportDialogFault(services_, gui_, steuerung, &CommandLayer::haltAxes, std::current_exception());
    gui_.post([this] {
      KeyPreview = TastaturChecked;
      KnoepfeFreigeben(true, false, true);
    });
  }
  gui_.post([this] {
    if (laeuft_ > 0) --laeuft_;
    if (laeuft_ == 0 && onIdle_) onIdle_();
  });
}

void TManuelleFahrtForm::relaisSchalten(CommandLayer& steuerung, const Auftrag& a, int wert) {
  try {
    steuerung.Ausgangssignal_setzen(a.relaisAusgang, wert);
    steuerung.Befehle_ausfuehren();
  } catch (int code) {
    gui_.invokeAndWait([&] { melden(code); });
  }
}

std::optional<std::array<double, 3>> TManuelleFahrtForm::positionLesen(CommandLayer& steuerung, bool fehler) {
  if (fehler) return std::nullopt;
  return std::array<double, 3>{steuerung.Position_mm_abfragen('x'), steuerung.Position_mm_abfragen('y'),
                               steuerung.Position_mm_abfragen('z')};
}

void TManuelleFahrtForm::PositionenAnzeigen(const std::optional<std::array<double, 3>>& position) {
  AktPositionGueltig = position.has_value();
  if (position) AktPosition = *position;
  for (int achse = 0; achse < 3; ++achse)
    aktStringGrid[1][achse + 1] = position ? zahlText((*position)[achse]) : kFehlerText;
  Maschinenparameter p = services_.params.snapshot();
  for (int zeile = 1; zeile <= 4; ++zeile)
    for (int achse = 0; achse < 3; ++achse)
      posStringGrid[zeile][achse + 1] = zahlText(*gespeichertePosition(p, zeile, achse));
}

void TManuelleFahrtForm::positionenAktualisieren() {
  Maschinenparameter p = services_.params.snapshot();
  CommandLayer steuerung(p, services_.backends, services_.params.bAbbruch);
  try {
    PositionenAnzeigen(positionLesen(steuerung, false));
  } catch (int code) {
    PositionenAnzeigen(std::nullopt);
    melden(code);
  }
}

// What a failed move shows: after a stop the position as it now is, after any other failure
// the dashes; then the failure itself.
void TManuelleFahrtForm::nachFehler(CommandLayer& steuerung, int code) {
  std::optional<std::array<double, 3>> position;
  if (code == USER_ABORT) {
    try {
      position = positionLesen(steuerung, false);
    } catch (int) {
    }
  }
  Protokoll_schreiben(Meldungstitel + ": Fehlercode " + platform::formatInt(code));
  gui_.post([this, position] { PositionenAnzeigen(position); });
  gui_.invokeAndWait([&] { melden(code); });
}

void TManuelleFahrtForm::Verfahren(CommandLayer& steuerung, const Auftrag& a) {
  gui_.post([this] {
    KnoepfeFreigeben(false, true, false);
    KeyPreview = false;
  });
  const Maschinenparameter& p = a.params;
  const int achse = a.fahrachse < 0 ? -a.fahrachse : a.fahrachse;
  const std::array<double, 4> uebersetz{p.xUebersetz, p.yUebersetz, p.zUebersetz, p.uUebersetz};
  const std::array<int, 4> motStep{p.xMotStep, p.yMotStep, p.zMotStep, p.uMotStep};
  int s = 0;
  if (achse >= 1 && achse <= 4 && uebersetz[achse - 1] != 0.0)
    s = platform::saturatingTrunc(
        std::ceil(a.schrittweite * motStep[achse - 1] / uebersetz[achse - 1] - kRundungsSpiel));
  try {
    steuerung.Endgeschwindigkeit_einstellen(kJogIndex, a.speed);
    switch (a.fahrachse) {
      case 1:
        steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, s, 0, 0, 1);
        break;
      case -1:
        steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, -s, 0, 0, 1);
        break;
      case 2:
        steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, 0, s, 0, 1);
        break;
      case -2:
        steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, 0, -s, 0, 1);
        break;
      case 3:
        steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, 0, 0, s, 1);
        break;
      case -3:
        steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, 0, 0, -s, 1);
        break;
      default:
        break;
    }
    const auto position = positionLesen(steuerung, false);
    gui_.post([this, position] { PositionenAnzeigen(position); });
  } catch (int code) {
    nachFehler(steuerung, code);
  }
  gui_.post([this] {
    KeyPreview = TastaturChecked;
    KnoepfeFreigeben(true, false, true);
  });
}

void TManuelleFahrtForm::PositionAnfahren(CommandLayer& steuerung, const Auftrag& a) {
  gui_.post([this] { KnoepfeFreigeben(false, true, false); });
  try {
    steuerung.Endgeschwindigkeit_einstellen(kJogIndex, a.speed);
    const int ax = steuerung.Position_abfragen('x');
    const int ay = steuerung.Position_abfragen('y');
    const int az = steuerung.Position_abfragen('z');
    Maschinenparameter p = a.params;
    const auto ziel = [&](int achse, char letter, int aktuell) {
      const double* mm = gespeichertePosition(p, a.zeile, achse);
      return mm ? steuerung.mm_in_Schritte(letter, *mm) : aktuell;
    };
    const int f = ziel(0, 'x', ax);
    const int g = ziel(1, 'y', ay);
    const int h = ziel(2, 'z', az);
    const bool ausgang = hatAnfahrAusgang(a.params.Modul);
    if (ausgang) steuerung.Ausgangssignal_setzen(kAnfahrAusgang, 0);
    if (ax == f && ay == g) {
      steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, 0, 0, differenz(h, az), 1);
    } else {
      // Up to z = 0 first, across in x, then in y, and down to the target last.
      steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, 0, 0, differenz(0, az), 1);
      steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, differenz(f, ax), 0, 0, 1);
      steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, 0, differenz(g, ay), 0, 1);
      steuerung.Vektorfahrt_ausfuehren(1, kJogIndex, 0, 0, h, 1);
    }
    if (ausgang) steuerung.Ausgangssignal_setzen(kAnfahrAusgang, 1);
    const auto position = positionLesen(steuerung, false);
    gui_.post([this, position] { PositionenAnzeigen(position); });
  } catch (int code) {
    nachFehler(steuerung, code);
  }
  gui_.post([this] { KnoepfeFreigeben(true, false, true); });
}

bool TManuelleFahrtForm::posStringGridSelectCell(int col, int row) {
  if (row < 1 || row > 4 || col < 0 || col > 3) return false;
  if (EditierenDown && col == 0) return false;
  PositionsZeile = row;
  posGridCol = col;
  if (EditierenDown) {
    posGridZeilenauswahl = false;
    posGridEditieren = true;
  } else {
    posGridZeilenauswahl = true;
    posGridEditieren = false;
  }
  return true;
}

void TManuelleFahrtForm::posStringGridSetEditText(int col, int row, const std::string& text) {
  if (!EditierenDown || row < 1 || row > 4 || col < 1 || col > 3) return;
  posStringGrid[row][col] = text;
}

void TManuelleFahrtForm::EditierenSpeedButton_OnClick(bool down) {
  // The stored positions are not changed under a move that may be travelling to one of them.
  if (faehrt()) return;
  EditierenDown = down;
  SchrittweiteRadioGroup.Enabled = !down;
  SchrittweiteMaskEdit.Enabled = !down;
  SpeedScrollBar.Enabled = !down;
  Panel.Enabled = !down;
  TastaturCheckBox.Enabled = !down;
  if (down) return;
  posGridZeilenauswahl = true;
  posGridEditieren = false;
  services_.params.update([&](Maschinenparameter& p) {
    for (int zeile = 1; zeile <= 4; ++zeile)
      for (int achse = 0; achse < 3; ++achse)
        *gespeichertePosition(p, zeile, achse) = Text_in_Zahl(posStringGrid[zeile][achse + 1]);
  });
  Parameter_Speichern(services_.params.snapshot(), services_.ui);
  positionenAktualisieren();
}

void TManuelleFahrtForm::LoeschenBitBtn_OnClick() {
  if (faehrt() || EditierenDown) return;
  services_.params.update([&](Maschinenparameter& p) {
    for (int achse = 0; achse < 3; ++achse)
      if (double* v = gespeichertePosition(p, PositionsZeile, achse)) *v = 0.0;
  });
  positionenAktualisieren();
}

void TManuelleFahrtForm::ZuweisenBitBtn_OnClick() {
  if (faehrt() || EditierenDown) return;
  if (!AktPositionGueltig) {
    fehlerSignal();
    return;
  }
  services_.params.update([&](Maschinenparameter& p) {
    for (int achse = 0; achse < 3; ++achse)
      if (double* v = gespeichertePosition(p, PositionsZeile, achse)) *v = AktPosition[achse];
  });
  positionenAktualisieren();
}

void TManuelleFahrtForm::AbbrechenBitBtn_OnClick() {
  // A stop with nothing under way would leave a stop request for the next move.
  if (!faehrt()) return;
  Maschinenparameter p = services_.params.snapshot();
  CommandLayer steuerung(p, services_.backends, services_.params.bAbbruch);
  try {
    steuerung.Achsen_anhalten();
  } catch (int code) {
    melden(code);
  }
}

bool TManuelleFahrtForm::SchliessenBitBtn_OnClick() {
  Parameter_Speichern(services_.params.snapshot(), services_.ui);
  return true;
}

bool TManuelleFahrtForm::OnClose() {
  if (faehrt()) return false;
  if (worker_ && worker_->running() && !worker_->end()) return false;
  worker_.reset();
  return true;
}

}  // namespace machine
