// The program-memory dialog: its controls on the GUI thread and its operations with the
// controller on the dialog's worker.
#include "FlashDialog.h"

#include <sys/stat.h>

#include <ctime>
#include <exception>
#include <filesystem>
#include <utility>

#include "machine/FailureCodes.h"
#include "machine/TextConvert.h"
#include "machine/TraceLog.h"
#include "machine/UnexpectedFault.h"
#include "machine/serial/ZelkoAnswer.h"
#include "machine/serial/ZelkoComReceiver.h"
#include "platform/NumberFormat.h"
#include "platform/TextCodec.h"

namespace app {

namespace {

constexpr const char* kCaption = "Tessaly";
constexpr int kKurz = 64;
constexpr int kListe = 512;
constexpr int kKopf = 128;
constexpr int kLoeschen = 3000;
constexpr int kAlleLoeschen = 21000;
constexpr int kAufzeichnungsEnde = 3000;
// Longest header: one command of the protocol driver.
constexpr std::size_t kKopfMax = 127;
// How often an operation is offered to the worker, 50 ms each, before it is given up.
constexpr int kPostVersuche = 40;
// A listing that never ends with ACK is given up after this many answers.
constexpr int kListingMax = 1 << 20;
// Outputs of spindle, coolant pump and extraction.
constexpr int kAusgaenge[] = {1, 2, 3};

const std::string kEtx(1, machine::kZelkoEtx);
const std::string kStx(1, machine::kZelkoStx);
const std::string kLeer = std::string("E3") + machine::kZelkoBel;

std::string num(int n) { return platform::formatInt(n); }

bool beginsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// A command or answer as the pane shows it: control bytes as words, cut to the longest line.
std::string dargestellt(const std::string& bytes) {
  std::string text = machine::Steuerzeichen_darstellen(platform::cp1252ToUtf8(bytes));
  if (text.size() > kLogZeileMax) text.resize(kLogZeileMax);
  return text;
}

// "dd.mm.yyyy hh:mm:ss" of the file's last modification in local time; empty when it has none.
std::string aenderungszeit(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  std::tm local{};
  const std::time_t t = st.st_mtime;
  if (::localtime_r(&t, &local) == nullptr) return {};
  auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
  return two(local.tm_mday) + "." + two(local.tm_mon + 1) + "." + std::to_string(local.tm_year + 1900) + " " +
         two(local.tm_hour) + ":" + two(local.tm_min) + ":" + two(local.tm_sec);
}

}  // namespace

std::string ProgrammKopfErzeugen(const std::string& dokumentpfad) {
  if (dokumentpfad.empty()) return kStx;
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::path(dokumentpfad), error)) return kStx;
  const std::string zeit = aenderungszeit(dokumentpfad);
  if (zeit.empty()) return kStx;
  std::string pfad = platform::utf8ToCp1252(dokumentpfad);
  for (char& c : pfad) {
    // The controller's listing gives the header back: an '@' would open a priority answer in the
    // receiver, a control byte end the answer early.
    if (c == '@' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  }
  const std::size_t rest = 1 + zeit.size() + kStx.size();
  if (pfad.size() + rest > kKopfMax) pfad = pfad.substr(pfad.size() - (kKopfMax - rest));
  return pfad + " " + zeit + kStx;
}

// ---- Worker side

class TFlashDlg::Ablauf {
 public:
  Ablauf(TFlashDlg& dlg, int slot) : dlg_(dlg), slot_(slot) {}

  void auswahl() {
    try {
      ProgrammBelegungAnzeigen();
      lesen();
    } catch (int code) {
      melden(code);
    }
  }

  void lesen() {
    leeren();
    log("### Programm " + num(slot_) + " lesen ###");
    try {
      machine::ProtocolBackend& com = dlg_.steuerung_.zelkoCOM();
      const std::string befehl = "*PR" + num(slot_) + "\r";
      std::string antwort = senden(com, befehl, kListe, true);
      if (beginsWith(antwort, befehl.substr(0, 4))) {
        for (int n = 0;; ++n) {
          if (n >= kListingMax) throw machine::COMMUNICATION_ERROR;
          antwort = warten(com, kKurz, true);
          if (!antwort.empty() && antwort.back() == machine::kZelkoAck) break;
        }
      } else if (antwort == kLeer) {
        log("### Der Programmspeicher ist leer ! ###");
      }
      log("### Programm " + num(slot_) + " lesen - Ende ###");
    } catch (int code) {
      melden(code);
      log("### Programm " + num(slot_) + " lesen - Fehler ###");
    }
  }

  void loeschen() {
    try {
      ProgrammSpeicherplatzLoeschen(dlg_.steuerung_.zelkoCOM(), true);
      ProgrammBelegungAnzeigen();
      log("### Programm " + num(slot_) + " löschen - Ende ###");
    } catch (int code) {
      melden(code);
      log("### Programm " + num(slot_) + " löschen - Fehler ###");
    }
  }

  void alleLoeschen() {
    leeren();
    log("### alle Programme löschen ###");
    try {
      machine::ProtocolBackend& com = dlg_.steuerung_.zelkoCOM();
      senden(com, kEtx, kKurz, true);
      const std::string befehl = "*PEa\r";
      if (!beginsWith(senden(com, befehl, kKurz, true), befehl.substr(0, 4))) throw machine::COMMUNICATION_ERROR;
      const std::string ende = warten(com, kAlleLoeschen, true);
      if (ende.empty() || ende.front() != machine::kZelkoAck) throw machine::COMMUNICATION_ERROR;
      ProgrammBelegungAnzeigen();
      log("### alle Programme löschen - Ende ###");
    } catch (int code) {
      melden(code);
      log("### alle Programme löschen - Fehler ###");
    }
  }

  void schreiben(int durchlaeufe, const std::string& kopf) {
    leeren();
    log("### Programm " + num(slot_) + " schreiben! ###");
    log("...Programm löschen...");
    machine::ProtocolBackend* com = nullptr;
    // Set once the job's run has begun: a controller that does not record may run it instead.
    bool laufBegonnen = false;
    try {
      com = &dlg_.steuerung_.zelkoCOM();
      ProgrammSpeicherplatzLoeschen(*com, false);
      aufgezeichnet(senden(*com, "*PW" + num(slot_) + "\r", kKurz, true));
      aufgezeichnet(senden(*com, kopf, kKopf, true));
      log("...Durchlaufparameter: " + num(durchlaeufe) + " ...");
      dlg_.steuerung_.Programmdurchlaeufe_hinterlegen(durchlaeufe);
      log("...cncDaten übertragen...");
      com->Speichermodus_setzen(true);
      laufBegonnen = true;
      dlg_.steuerung_.cncFraesen();
      senden(*com, kEtx, kAufzeichnungsEnde, true);
      com->Speichermodus_setzen(false);
      ProgrammBelegungAnzeigen();
      log("### Programm " + num(slot_) + " schreiben - Ende ###");
    } catch (int code) {
      // The machine is made safe before the box, which waits for the user.
      if (com != nullptr) schreibenAbbrechen(*com, laufBegonnen);
      melden(code);
      log("### Programm " + num(slot_) + " schreiben - Fehler ###");
    } catch (...) {
      // A fault that is no failure code (out of memory, say) ends the write the same way, and is
      // shown once the machine is safe.
      const std::exception_ptr fault = std::current_exception();
      if (com != nullptr) schreibenAbbrechen(*com, laufBegonnen);
      unerwartetMelden(fault);
      log("### Programm " + num(slot_) + " schreiben - Fehler ###");
    }
  }

 private:
  // The program-write command and the header are taken with ACK. Anything else means that the
  // controller does not record: the job would run on the machine, so nothing of it may follow.
  static void aufgezeichnet(const std::string& antwort) {
    if (!antwort.empty() && antwort.front() == machine::kZelkoAck) return;
    throw machine::errorAnswerCode(antwort).value_or(machine::ACK_ERROR);
  }

  // The end of a failed write. The recording is ended and store mode switched off whatever the
  // ETX meets: the next run must move the machine, not be acknowledged and dropped. Once the job's
  // run has begun, the controller may have run it instead of recording it: as after a failed
  // job, the axes are halted and spindle, coolant pump and extraction switched off, whatever the
  // job's options said. What the controller did record is erased again: the rows before the
  // failure would be a program of their own, to be run from its panel.
  void schreibenAbbrechen(machine::ProtocolBackend& com, bool laufBegonnen) {
    bool beendet = false;
    try {
      senden(com, kEtx, kKurz, true);
      beendet = true;
    } catch (int) {
    }
    com.Speichermodus_setzen(false);
    if (!laufBegonnen) return;
    try {
      com.Achsen_anhalten();
    } catch (int) {
    }
    for (const int ausgang : kAusgaenge) {
      try {
        com.Ausgangssignal_setzen(ausgang, 0);
      } catch (int) {
      }
    }
    if (!beendet) return;
    try {
      ProgrammSpeicherplatzLoeschen(com, false);
      ProgrammBelegungAnzeigen();
    } catch (int) {
    }
  }

  // Erases the slot; an empty slot counts as erased.
  void ProgrammSpeicherplatzLoeschen(machine::ProtocolBackend& com, bool zeigen) {
    senden(com, kEtx, kKurz, zeigen);
    const std::string befehl = "*PE" + num(slot_) + "\r";
    if (!beginsWith(senden(com, befehl, kKurz, zeigen), befehl.substr(0, 4))) throw machine::COMMUNICATION_ERROR;
    const std::string ende = warten(com, kLoeschen, zeigen);
    if (!ende.empty() && ende.front() == machine::kZelkoAck) return;
    if (ende == kLeer) {
      if (zeigen) log("### Der Programmspeicher ist leer ! ###");
      return;
    }
    throw machine::COMMUNICATION_ERROR;
  }

  // Queries all seven slots and colours their buttons.
  void ProgrammBelegungAnzeigen() {
    machine::ProtocolBackend& com = dlg_.steuerung_.zelkoCOM();
    std::array<bool, kProgrammplaetze> belegt{};
    for (int n = 1; n <= kProgrammplaetze; ++n) belegt[static_cast<std::size_t>(n - 1)] = FAT_Lesen(com, n);
    dlg_.toGui([belegt](TFlashDlg& d) { d.belegungAnzeigen(belegt); });
  }

  static bool FAT_Lesen(machine::ProtocolBackend& com, int n) {
    const std::string befehl = "*FR" + num(n) + "\r";
    return !beginsWith(com.SendenUndWarten(befehl, kKurz), "*FR" + num(n) + " -,-");
  }

  std::string senden(machine::ProtocolBackend& com, const std::string& befehl, int ms, bool zeigen) {
    if (zeigen) zeile(dargestellt(befehl), kFarbeBefehl);
    const std::string antwort = com.SendenUndWarten(befehl, ms);
    if (zeigen) AntwortAnzeigen(antwort);
    return antwort;
  }

  std::string warten(machine::ProtocolBackend& com, int ms, bool zeigen) {
    com.WaitResp(ms);
    const std::string antwort = com.letzteAntwort();
    if (zeigen) AntwortAnzeigen(antwort);
    return antwort;
  }

  // An answer into the pane, in blue. The command before it is shown by senden as it goes out,
  // and leeren clears the pane.
  void AntwortAnzeigen(const std::string& antwort) { zeile(dargestellt(antwort), kFarbeAntwort); }

  void log(const std::string& text) { zeile(text, kFarbeBefehl); }

  void zeile(std::string text, platform::Colour farbe) {
    dlg_.toGui([z = LogZeile{std::move(text), farbe}](TFlashDlg& d) { d.zeileAnhaengen(z); });
  }

  void leeren() {
    dlg_.toGui([](TFlashDlg& d) { d.RichEdit.clear(); });
  }

  void unerwartetMelden(std::exception_ptr fault) {
    dlg_.services_.gui.invokeAndWait([this, fault, alive = std::weak_ptr<char>(dlg_.alive_)] {
      if (!alive.expired()) machine::showUnexpectedFault(dlg_.services_.ui, fault);
    });
  }

  void melden(int code) {
    dlg_.services_.gui.invokeAndWait([this, code, alive = std::weak_ptr<char>(dlg_.alive_)] {
      if (!alive.expired()) dlg_.steuerung_.Steuerungsfehler_melden(code);
    });
  }

  TFlashDlg& dlg_;
  int slot_;
};

// ---- GUI side

TFlashDlg::TFlashDlg(FlashDlgServices services, FlashSteuerung& steuerung)
    : services_(services), steuerung_(steuerung), worker_([this](int operation) { ausfuehren(operation); }) {
  for (int n = 0; n < kProgrammplaetze; ++n) SpeedButton[static_cast<std::size_t>(n)].Caption = num(n + 1);
  worker_.start();
}

TFlashDlg::~TFlashDlg() {
  // The dialog cannot close while an operation runs, but the program may end: the operation's
  // questions to the GUI thread are answered until the worker is idle and ends.
  while (worker_.running() && !worker_.end()) services_.gui.runPending();
}

void TFlashDlg::toGui(std::function<void(TFlashDlg&)> task) {
  services_.gui.post([this, alive = std::weak_ptr<char>(alive_), task = std::move(task)] {
    if (alive.expired()) return;
    task(*this);
    anzeigen();
  });
}

void TFlashDlg::anzeigen() {
  if (view_ != nullptr) view_->showState();
}

void TFlashDlg::OnCreate() {
  for (auto& button : SpeedButton) button.Down = false;
  SpeedButton[0].Down = true;
  slot_ = 1;
  alleLoeschenModus_ = false;
}

void TFlashDlg::OnActivate() {
  DurchlaeufeEdit = "1";
  services_.bAusgabeInFestwertspeicher = true;
  CloseTimer.Enabled = false;
  if (alleLoeschenModus_) {
    AlleProgrammeLoeschenButtonClick();
  } else {
    int down = 1;
    for (int n = 0; n < kProgrammplaetze; ++n)
      if (SpeedButton[static_cast<std::size_t>(n)].Down) down = n + 1;
    SpeedButtonClick(down);
  }
  anzeigen();
}

void TFlashDlg::OnClose() { services_.bAusgabeInFestwertspeicher = false; }

void TFlashDlg::CloseTimerTimer() {
  CloseTimer.Enabled = false;
  if (alleLoeschenModus_ && !busy_ && view_ != nullptr) view_->closeDialog();
}

void TFlashDlg::SchiessenBitBtnClick() {
  if (!busy_ && view_ != nullptr) view_->closeDialog();
}

void TFlashDlg::BedienelementeFreigeben(bool frei) {
  DurchlaeufeEditControl.Enabled = frei;
  ProgrammGroupBox.Enabled = frei;
  for (auto& button : SpeedButton) button.Enabled = frei;
  ProgrammSchreibenButton.Enabled = frei;
  ProgrammAuslesenButton.Enabled = frei;
  ProgrammLoeschenButton.Enabled = frei;
  AlleProgrammeLoeschenButton.Enabled = frei;
  // Closing mid-operation would leave a recording open in the controller.
  SchiessenBitBtn.Enabled = frei;
}

bool TFlashDlg::starten(Operation operation) {
  if (busy_) return false;
  BedienelementeFreigeben(false);
  busy_ = true;
  // The worker has shown the end of its last operation just before it goes back to waiting; a
  // click right after that end must not be lost while it gets there.
  bool posted = false;
  for (int versuch = 0; versuch < kPostVersuche && !posted; ++versuch) posted = worker_.post(operation);
  if (!posted) {
    busy_ = false;
    BedienelementeFreigeben(true);
    return false;
  }
  anzeigen();
  return true;
}

void TFlashDlg::ausfuehren(int operation) {
  int slot = 0;
  int durchlaeufe = 0;
  std::string kopf;
  {
    std::lock_guard lock(auftragMutex_);
    slot = auftragSlot_;
    durchlaeufe = durchlaeufe_;
    kopf = programmKopf_;
  }
  Ablauf ablauf(*this, slot);
  try {
    switch (operation) {
      case kOpAuswahl:
        ablauf.auswahl();
        break;
      case kOpLesen:
        ablauf.lesen();
        break;
      case kOpLoeschen:
        ablauf.loeschen();
        break;
      case kOpAlleLoeschen:
        ablauf.alleLoeschen();
        break;
      case kOpSchreiben:
        ablauf.schreiben(durchlaeufe, kopf);
        break;
      default:
        break;
    }
  } catch (...) {
    machine::Protokoll_schreiben("TFlashDlg: " + machine::unexpectedFaultText(std::current_exception()));
  }
  toGui([](TFlashDlg& d) { d.fertig(); });
}

void TFlashDlg::zeileAnhaengen(LogZeile zeile) {
  if (RichEdit.size() >= kLogZeilenMax) RichEdit.erase(RichEdit.begin());
  RichEdit.push_back(std::move(zeile));
}

void TFlashDlg::belegungAnzeigen(const std::array<bool, kProgrammplaetze>& belegt) {
  for (std::size_t n = 0; n < belegt.size(); ++n) SpeedButton[n].FontColour = belegt[n] ? kFarbeBelegt : kFarbeFrei;
}

void TFlashDlg::fertig() {
  busy_ = false;
  BedienelementeFreigeben(true);
  // Erase-all mode shows the dialog for its one command only.
  if (alleLoeschenModus_) CloseTimer.Enabled = true;
  if (onIdle_) onIdle_();
}

void TFlashDlg::setAuftrag(int durchlaeufe, std::string kopf) {
  std::lock_guard lock(auftragMutex_);
  auftragSlot_ = slot_;
  durchlaeufe_ = durchlaeufe;
  programmKopf_ = std::move(kopf);
}

void TFlashDlg::SpeedButtonClick(int nummer) {
  if (busy_ || nummer < 1 || nummer > kProgrammplaetze) return;
  for (int n = 0; n < kProgrammplaetze; ++n) SpeedButton[static_cast<std::size_t>(n)].Down = n + 1 == nummer;
  slot_ = nummer;
  setAuftrag(0, {});
  starten(kOpAuswahl);
}

void TFlashDlg::ProgrammAuslesenButtonClick() {
  if (busy_) return;
  setAuftrag(0, {});
  starten(kOpLesen);
}

void TFlashDlg::ProgrammLoeschenButtonClick() {
  if (busy_) return;
  RichEdit.clear();
  zeileAnhaengen({"### Programm " + num(slot_) + " löschen ###", kFarbeBefehl});
  const platform::MsgResult antwort =
      services_.ui.messageBox("Möchten Sie den Programmspeicherplatz wirklich löschen?\n", kCaption,
                              platform::MsgButtons::YesNo, platform::MsgIcon::Question, platform::MsgResult::No);
  if (antwort != platform::MsgResult::Yes) {
    zeileAnhaengen({"### Programm " + num(slot_) + " löschen - Abbruch ###", kFarbeBefehl});
    anzeigen();
    return;
  }
  setAuftrag(0, {});
  starten(kOpLoeschen);
}

void TFlashDlg::AlleProgrammeLoeschenButtonClick() {
  if (busy_) return;
  const platform::MsgResult antwort =
      services_.ui.messageBox("Möchten Sie wirklich den gesamten Festwertspeicher löschen?\n", kCaption,
                              platform::MsgButtons::YesNo, platform::MsgIcon::Question, platform::MsgResult::No);
  if (antwort != platform::MsgResult::Yes) {
    if (alleLoeschenModus_) CloseTimer.Enabled = true;
    anzeigen();
    return;
  }
  setAuftrag(0, {});
  starten(kOpAlleLoeschen);
}

void TFlashDlg::ProgrammSchreibenButtonClick() {
  if (busy_) return;
  const int durchlaeufe = machine::Text_in_Ganzzahl(DurchlaeufeEdit);
  if (durchlaeufe <= 0) {
    services_.ui.Beep(440, 100);
    anzeigen();
    return;
  }
  steuerung_.AuftragVorbereiten();
  setAuftrag(durchlaeufe, ProgrammKopfErzeugen(steuerung_.Dokumentpfad()));
  starten(kOpSchreiben);
}

}  // namespace app
