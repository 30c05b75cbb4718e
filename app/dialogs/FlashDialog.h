// Model of the program-memory dialog "Kestrin-Mikrocontroller Unit": the seven program slots of a
// controller of type 5 or 6 with their occupancy, the listing, the erasure of one slot or of the
// whole memory, and the writing of the current job into a slot, with every command and answer in
// its log pane.
//
// Thread context: the model belongs to the GUI thread; every public member function is called
// there. The operations with the controller run on the dialog's own worker, one at a time: while
// one runs, every control is locked, the close button and the close itself included. The worker
// never writes the model: it posts its log lines and the end of the operation to the GUI thread,
// in order, and shows failure boxes by invoke-and-wait. Questions are asked on the GUI thread
// before an operation starts.
//
// Blocking: the handlers return at once; the destructor waits for a running operation to end.
// Ownership: the services and the controller side must outlive the model.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/ControlState.h"
#include "machine/ProtocolBackend.h"
#include "platform/Canvas.h"
#include "platform/CommandWorker.h"
#include "platform/GuiDispatcher.h"
#include "platform/UiServices.h"

namespace app {

inline constexpr int kProgrammplaetze = 7;
inline constexpr platform::Colour kFarbeBelegt = platform::rgb(255, 0, 0);
inline constexpr platform::Colour kFarbeFrei = platform::rgb(0, 128, 0);
inline constexpr platform::Colour kFarbeBefehl = platform::rgb(0, 0, 0);
inline constexpr platform::Colour kFarbeAntwort = platform::rgb(0, 0, 255);
// Longest log line kept: a rendered answer may be several times as long as its bytes.
inline constexpr std::size_t kLogZeileMax = 1024;
// Most lines the log pane keeps; the oldest go first.
inline constexpr std::size_t kLogZeilenMax = 20000;

// What the dialog asks of the controller side.
class FlashSteuerung {
 public:
  virtual ~FlashSteuerung() = default;
  // Worker: the protocol driver of the connected controller; throws HANDLE_COM_PORT_ERROR when
  // there is none.
  virtual machine::ProtocolBackend& zelkoCOM() = 0;
  // Worker: the pass count through the command layer.
  virtual void Programmdurchlaeufe_hinterlegen(int count) = 0;
  // GUI thread, before a write is posted: takes what the job needs (the document, the job
  // options, the machine parameters) as it stands now.
  virtual void AuftragVorbereiten() = 0;
  // Worker: the whole milling run of the job taken by AuftragVorbereiten, as a live run (never a
  // simulation) with absolute moves; throws the failure code that ends it.
  virtual void cncFraesen() = 0;
  // GUI thread: shows a failure code in the box captioned with the product name.
  virtual void Steuerungsfehler_melden(int code) = 0;
  // GUI thread: the full path of the open document; empty when it has no file of its own.
  virtual std::string Dokumentpfad() = 0;
};

// What the model asks of its window. GUI thread only.
class TFlashDlgView {
 public:
  virtual ~TFlashDlgView() = default;
  // The model changed: show its state.
  virtual void showState() = 0;
  // Close the dialog (the close timer of erase-all mode).
  virtual void closeDialog() = 0;
};

struct FlashDlgServices {
  platform::UiServices& ui;
  platform::GuiDispatcher& gui;
  // Set while the dialog is shown: the motion primitives then issue absolute moves.
  std::atomic<bool>& bAusgabeInFestwertspeicher;
};

struct SlotButton {
  std::string Caption;
  bool Down = false;
  bool Enabled = true;
  platform::Colour FontColour = kFarbeBefehl;
};

struct LogZeile {
  std::string Text;
  platform::Colour Farbe = kFarbeBefehl;
  bool operator==(const LogZeile&) const = default;
};

class TFlashDlg {
 public:
  TFlashDlg(FlashDlgServices services, FlashSteuerung& steuerung);
  ~TFlashDlg();
  TFlashDlg(const TFlashDlg&) = delete;
  TFlashDlg& operator=(const TFlashDlg&) = delete;

  void setView(TFlashDlgView* view) { view_ = view; }
  // Called on the GUI thread each time an operation has ended and the controls are back.
  void setOnIdle(std::function<void()> onIdle) { onIdle_ = std::move(onIdle); }

  // The two menu commands set the mode before the dialog is shown.
  void setAlleLoeschenModus(bool on) { alleLoeschenModus_ = on; }
  bool alleLoeschenModus() const { return alleLoeschenModus_; }

  // Slot 1 down, erase-all mode off.
  void OnCreate();
  // Every time the dialog is shown: pass count "1", then the erase-all command in erase-all mode,
  // otherwise the slot selection; the recording flag set.
  void OnActivate();
  // False while an operation runs: the dialog cannot close then.
  bool OnCloseQuery() const { return !busy_; }
  // The recording flag cleared.
  void OnClose();
  // In erase-all mode the timer closes the dialog once the erasure has ended.
  void CloseTimerTimer();
  // The slot button `nummer` (1-7) was pressed: it goes down, the slots are queried and the slot
  // is listed.
  void SpeedButtonClick(int nummer);
  void ProgrammSchreibenButtonClick();
  void ProgrammAuslesenButtonClick();
  void ProgrammLoeschenButtonClick();
  void AlleProgrammeLoeschenButtonClick();
  void SchiessenBitBtnClick();

  // An operation runs on the worker.
  bool busy() const { return busy_; }
  int slot() const { return slot_; }

  // ---- State shown by the window
  std::string Caption = "Kestrin-Mikrocontroller Unit";
  std::string DurchlaeufeEdit = "1";
  ControlState DurchlaeufeEditControl{.Caption = "Durchläufe: "};
  ControlState ProgrammGroupBox{.Caption = ""};
  std::array<SlotButton, kProgrammplaetze> SpeedButton;
  ControlState ProgrammSchreibenButton{.Caption = "Programm schreiben"};
  ControlState ProgrammAuslesenButton{.Caption = "Programm auslesen"};
  ControlState ProgrammLoeschenButton{.Caption = "Programm löschen"};
  ControlState AlleProgrammeLoeschenButton{.Caption = "alle Programme löschen"};
  ControlState SchiessenBitBtn{.Caption = "&Schließen"};
  ControlState CloseTimer{.Enabled = false, .Caption = ""};
  std::vector<LogZeile> RichEdit;

 private:
  enum Operation { kOpAuswahl = 1, kOpLesen, kOpLoeschen, kOpAlleLoeschen, kOpSchreiben };

  // Worker side: the operations and what they show.
  class Ablauf;

  void BedienelementeFreigeben(bool frei);
  // What the next operation works on, handed to the worker.
  void setAuftrag(int durchlaeufe, std::string kopf);
  // Posts `task` to the GUI thread; it runs (and the state is shown) only while the model exists.
  void toGui(std::function<void(TFlashDlg&)> task);
  // Locks the controls and posts `operation`; false (controls unlocked again) when the worker
  // did not take it.
  bool starten(Operation operation);
  void ausfuehren(int operation);
  // GUI thread: the worker's lines and results.
  void zeileAnhaengen(LogZeile zeile);
  void belegungAnzeigen(const std::array<bool, kProgrammplaetze>& belegt);
  void fertig();
  void anzeigen();

  FlashDlgServices services_;
  FlashSteuerung& steuerung_;
  TFlashDlgView* view_ = nullptr;
  std::function<void()> onIdle_;
  bool alleLoeschenModus_ = false;
  bool busy_ = false;
  int slot_ = 1;
  // Taken on the GUI thread when an operation is posted; read by the worker.
  std::mutex auftragMutex_;
  int auftragSlot_ = 1;
  int durchlaeufe_ = 0;
  std::string programmKopf_;
  // Expires with the model; closures posted by the worker check it first.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
  // Last member: destroyed (and so joined) first.
  platform::CommandWorker worker_;
};

// The header of a recorded job: the document's full path, its modification date and time
// ("dd.mm.yyyy hh:mm:ss", local time) and STX; STX alone for a document without a file of its own
// or whose file is missing. An '@' or a control byte in the path becomes '_' (the controller's
// listing would otherwise be taken for a priority answer or cut short), the path is written in
// Windows-1252, and a path too long for one command keeps its end.
std::string ProgrammKopfErzeugen(const std::string& dokumentpfad);

}  // namespace app
