// Model of the jogging dialog `TManuelleFahrtForm` "Manuelle Fahrt": jogging by a step width
// along one axis at a chosen speed (buttons or arrow keys), the relay output, the current
// position, and the four stored positions (travel to one, assign the current position, clear,
// or type them in), with its worker `TManuelleFahrtThread` that runs the moves.
//
// Thread context: the model belongs to the GUI thread; its view calls every handler there. The
// worker (created at each activation, ended at close) runs one command at a time on a copy of
// the parameters, the step width, the speed, the axis and the stored-position row taken when the
// command was posted; it changes the model only through closures posted to the GUI thread and
// shows boxes there while it waits. OnActivate and the position refreshes on the GUI thread
// block on the controller; a post and the close wait at most 50 ms for the worker. The services
// must outlive the model.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "machine/CommandLayer.h"
#include "machine/dialogs/DialogControls.h"
#include "machine/dialogs/MachineDialogServices.h"
#include "platform/CommandWorker.h"

namespace machine {

// Keys of the keyboard control.
enum class JogKey { Escape = 27, PageUp = 33, PageDown = 34, Left = 37, Up = 38, Right = 39, Down = 40 };

class TManuelleFahrtForm {
 public:
  static constexpr int kRelaisAus = 1;
  static constexpr int kRelaisEin = 2;
  static constexpr int kPositionAnfahren = 3;
  static constexpr int kVerfahren = 4;
  // Speed index of the jogging speed.
  static constexpr int kJogIndex = 8;
  // Output switched off before and on after the approach moves.
  static constexpr int kAnfahrAusgang = 76;
  static constexpr int kMaxTop = 120;

  explicit TManuelleFahrtForm(MachineDialogServices services);
  ~TManuelleFahrtForm();
  TManuelleFahrtForm(const TManuelleFahrtForm&) = delete;
  TManuelleFahrtForm& operator=(const TManuelleFahrtForm&) = delete;

  void setOnChanged(std::function<void()> onChanged) { gui_.onChanged = std::move(onChanged); }
  // Called on the GUI thread each time the last command posted has ended.
  void setOnIdle(std::function<void()> onIdle) { onIdle_ = std::move(onIdle); }

  // Each showing: colours, speed range, a new worker, the controller initialised and the
  // positions shown (a failure shows "- - -" and the failure with the dialog's caption).
  void OnActivate();
  // Step width.
  void SchrittweiteRadioGroup_OnClick(int itemIndex);
  void SchrittweiteMaskEdit_OnClick();
  // A width that is not a number above 0 beeps; the width before it stays, and the edit shows it.
  void SchrittweiteMaskEdit_OnExit(const std::string& text);
  void SpeedScrollBar_OnChange(int position);
  // Jogs: -1/+1 x, -2/+2 y, -3/+3 z.
  void xNegBitBtn_OnClick() { joggen(-1); }
  void xPosBitBtn_OnClick() { joggen(+1); }
  void yNegBitBtn_OnClick() { joggen(-2); }
  void yPosBitBtn_OnClick() { joggen(+2); }
  void zNegBitBtn_OnClick() { joggen(-3); }
  void zPosBitBtn_OnClick() { joggen(+3); }
  void TastaturCheckBoxOnClick(bool checked);
  // A key while the window previews keys; `wiederholung` for the repeat of a held key. A jog key
  // posts one step; while a move is under way it is dropped at once, without waiting for the
  // worker. A repeat is taken only after the events queued with it have been served, and not at
  // all if its key was let go among them (OnKeyUp): a repeat that waited in the queue while the
  // key came up moves nothing. So the jogging ends with the step under way when the key is let
  // go. Escape stops only a move that is under way.
  void OnShortCut(int key, bool wiederholung = false);
  // A jog key let go (its last release, not one of a repeat).
  void OnKeyUp(int key);
  void RelaisOFFBitBtn_OnClick();
  void RelaisONBitBtn_OnClick();
  // Stored positions. False when the cell cannot be selected.
  bool posStringGridSelectCell(int col, int row);
  void AnfahrenBitBtn_OnClick();
  void EditierenSpeedButton_OnClick(bool down);
  // The text of a stored-position cell the user typed while editing.
  void posStringGridSetEditText(int col, int row, const std::string& text);
  void LoeschenBitBtn_OnClick();
  // A failed position read leaves no position to assign: nothing is stored and a beep says so.
  void ZuweisenBitBtn_OnClick();
  // Decelerated stop, only while a move is under way.
  void AbbrechenBitBtn_OnClick();
  // Saves the parameters; true when the view may close.
  bool SchliessenBitBtn_OnClick();
  // True when the view may close: refused while a move is under way, else the worker is ended.
  bool OnClose();

  // A command has been posted and its worker has not yet handed the controls back.
  bool faehrt() const { return laeuft_ > 0; }
  bool workerLaeuft() const { return worker_ && worker_->running(); }
  // A repeat waits for the events queued with it to be served.
  bool wiederholungWartet() const { return wiederholteTaste_ != 0; }

  std::string Caption = "Manuelle Fahrt";
  int Top = 0;
  int Hintergrundfarbe = 0x808080;
  int Schriftfarbe = kSchwarz;
  bool bHerstellermodus = false;
  int RelaisAusgang = 10;
  double Schrittweite = 0.05;
  std::array<double, 3> AktPosition{};
  bool AktPositionGueltig = false;
  int Fahrachse = 0;
  int PositionsZeile = 1;
  std::string Meldungstitel;
  bool KeyPreview = false;

  DialogRadioGroup SchrittweiteRadioGroup{.Items = {"0.05 mm   ", "0.10 mm   ", "1.00 mm   ", "            mm"}};
  DialogEdit SchrittweiteMaskEdit{.Text = "5.00"};
  DialogControl Panel;
  DialogControl RelaisON_BitBtn{.Caption = "ON"};
  DialogControl RelaisOFF_BitBtn{.Caption = "OFF"};
  DialogScrollBar SpeedScrollBar;
  std::string SpeedAnzeigeLabel;
  // Cells by [row][column]; row 0 is the header.
  std::array<std::array<std::string, 4>, 2> aktStringGrid{};
  std::array<std::array<std::string, 4>, 5> posStringGrid{};
  // The grid selects whole rows, except while editing a cell of columns 1 to 3.
  bool posGridZeilenauswahl = true;
  bool posGridEditieren = false;
  int posGridCol = 1;
  DialogControl AnfahrenBitBtn{.Caption = "&Anfahren"};
  DialogControl LoeschenBitBtn{.Caption = "&Löschen"};
  DialogControl ZuweisenBitBtn{.Caption = "&Zuweisen"};
  bool EditierenDown = false;
  DialogControl EditierenSpeedButton{.Caption = "&Editieren"};
  bool TastaturChecked = false;
  DialogControl TastaturCheckBox{.Caption = "Tastatursteuerung"};
  DialogControl AbbrechenBitBtn{.Visible = false, .Caption = "&Abbrechen"};
  DialogControl SchliessenBitBtn{.Caption = "&Schließen"};

 private:
  struct Auftrag {
    int befehl = 0;
    Maschinenparameter params;
    double schrittweite = 0.0;
    int speed = 0;
    int fahrachse = 0;
    int zeile = 1;
    int relaisAusgang = 0;
  };

  void joggen(int code);
  // A width typed that is no number above 0: beeps, and the edit shows the width that stays.
  void schrittweiteVerwerfen();
  // A jog by key: dropped at once while a move is under way.
  void tastenJoggen(int code);
  bool posten(int befehl);
  void KnoepfeFreigeben(bool bedienbar, bool abbrechenSichtbar, bool schliessenSichtbar);
  // Runs on the worker.
  void ausfuehren(int befehl);
  void RelaisAus(CommandLayer& steuerung, const Auftrag& a) { relaisSchalten(steuerung, a, 0); }
  void RelaisEin(CommandLayer& steuerung, const Auftrag& a) { relaisSchalten(steuerung, a, 1); }
  // The relay output to `wert` (0 off, 1 on); a failure is shown with the dialog's caption.
  void relaisSchalten(CommandLayer& steuerung, const Auftrag& a, int wert);
  void Verfahren(CommandLayer& steuerung, const Auftrag& a);
  void PositionAnfahren(CommandLayer& steuerung, const Auftrag& a);
  // The current position from the controller; nullopt when `fehler`. May throw a failure code.
  static std::optional<std::array<double, 3>> positionLesen(CommandLayer& steuerung, bool fehler);
  // Shows a position read (or "- - -") and the stored positions (GUI thread).
  void PositionenAnzeigen(const std::optional<std::array<double, 3>>& position);
  // PositionenAnzeigen with a read on the GUI thread; a failure shows "- - -" and is reported.
  void positionenAktualisieren();
  // After a failed move (worker): the position or the dashes, then the failure box.
  void nachFehler(CommandLayer& steuerung, int code);
  void melden(int code);
  void fehlerSignal();

  MachineDialogServices services_;
  GuiHandOver gui_;
  std::function<void()> onIdle_;
  // Commands posted whose end has not yet reached the GUI thread.
  int laeuft_ = 0;
  // The jog key whose repeat waits for the queued events to be served; 0 when none.
  int wiederholteTaste_ = 0;
  std::mutex auftragMutex_;
  std::optional<Auftrag> auftrag_;
  // Last member: ended (and joined) first.
  std::unique_ptr<platform::CommandWorker> worker_;
};

// The stored position of a row of the stored-position grid (1 workpiece zero, 2 park position,
// 3 tool-length measuring position, 4 tool-change position); null for any other row.
double* gespeichertePosition(Maschinenparameter& p, int zeile, int achse);

}  // namespace machine
