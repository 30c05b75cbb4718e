// Model of the parameter dialog `TParameterDlg`: the controller type and its port, the speeds,
// the axis geometry and drive settings, and the homing settings, on four tabs. It fills its
// controls from the process-wide machine parameters when activated and writes them back, and
// saves the parameter file, on OK. Choosing a controller type changes the record at once and
// applies the type's presets.
//
// Thread context: GUI thread; the view calls every handler there while no job, homing or jogging
// runs. Only OK blocks (the file is written). The services must outlive the model.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "machine/dialogs/DialogControls.h"
#include "machine/dialogs/MachineDialogServices.h"

namespace machine {

class TParameterDlg;

struct TypeRadioButton {
  const char* name;
  const char* caption;
  int typ;
  const char* dialogCaption;
  // The button's click handler.
  void (TParameterDlg::*Click)();
  bool Checked = false;
  bool Visible = true;
};

struct DialogComboBox {
  std::vector<std::string> Items;
  int ItemIndex = -1;
};

struct DialogRadioButton {
  bool Checked = false;
  std::string Caption;
};

struct ParameterRadioGroup {
  bool Visible = true;
  int ItemIndex = -1;
  std::string Caption;
  std::vector<std::string> Items;
};

// Axis rows x, y, z, u of the masked edits.
using AxisEdits = std::array<std::string, 4>;

class TParameterDlg {
 public:
  static constexpr int kTypen = 12;
  // Rows of the u axis shown: the y and z rows stand closer.
  static constexpr int kZeilenabstand = 40;
  static constexpr int kZeilenabstandMitU = 32;

  // `portListe` gives the serial ports present ("COM1", ...); the machine's by default.
  explicit TParameterDlg(MachineDialogServices services, std::function<std::vector<std::string>()> portListe = {});

  void OnCreate();
  // Each showing, and again after each type choice (then with the type's presets first).
  void OnActivate();
  // The click handlers of the type buttons, one per entry of TypButtons: each chooses its
  // button's type.
  void Garnet_RadioButtonClick() { typWaehlen(0); }
  void Zircon_RadioButtonClick() { typWaehlen(1); }
  void Beryl_RadioButtonClick() { typWaehlen(2); }
  void Kyro_RadioButtonClick() { typWaehlen(3); }
  void TaktRicht_RadioButtonClick() { typWaehlen(4); }
  void Kestrin_RadioButtonClick() { typWaehlen(5); }
  void USB_Beryl_RadioButtonClick() { typWaehlen(6); }
  void Onyx_RadioButtonClick() { typWaehlen(7); }
  void USB_IO_Garnet_RadioButtonClick() { typWaehlen(8); }
  void USB_IO_Zircon_RadioButtonClick() { typWaehlen(9); }
  void USB_IO_TaktRicht_RadioButtonClick() { typWaehlen(10); }
  void USB_IO_Onyx_RadioButtonClick() { typWaehlen(11); }
  void PageControlChange(int tab);
  void lptEditOnClick();
  // Takes every control into the parameters and saves the file.
  void modulOKBitBtnClick();
  // Closes without reading the controls; the type chosen meanwhile and its presets stay.
  void AbbrechenBitBtnClick();

  // Set by OK (1) and Cancel (0).
  int Ergebnis = 0;
  std::string Caption = "Parameter";
  // Colours (0xBBGGRR): main area, second area, then the four text colours (on the main area,
  // on the second area, of the headings, of the buttons).
  std::array<int, 6> Farben{0xAAAAAA, 0x888888, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  int AktiveSeite = 0;
  // The control that a tab change focuses.
  std::string Fokus;
  bool bAktiviert = false;

  // Tab 1.
  std::array<TypeRadioButton, kTypen> TypButtons{{
      {"Garnet_RadioButton", "  Garnet / Jasper", 0, "Garnet / Jasper - Parameter",
       &TParameterDlg::Garnet_RadioButtonClick},
      {"Zircon_RadioButton", "  Zircon", 1, "Zircon - Parameter", &TParameterDlg::Zircon_RadioButtonClick},
      {"Beryl_RadioButton", "  Beryl", 2, "Beryl - Parameter", &TParameterDlg::Beryl_RadioButtonClick},
      {"Kyro_RadioButton", "  Basalt-Kyro", 3, "Basalt-Kyro - Parameter", &TParameterDlg::Kyro_RadioButtonClick},
      {"TaktRicht_RadioButton", "  Takt / Richtung", 4, "Takt / Richtung - Parameter",
       &TParameterDlg::TaktRicht_RadioButtonClick},
      {"Kestrin_RadioButton", "  Cobalt-Kyro", 5, "Cobalt-Kyro - Parameter", &TParameterDlg::Kestrin_RadioButtonClick},
      {"USB_Beryl_RadioButton", "  USB-Beryl", 6, "USB-Beryl - Parameter", &TParameterDlg::USB_Beryl_RadioButtonClick},
      {"Onyx_RadioButton", "  Onyx", 7, "Onyx - Parameter", &TParameterDlg::Onyx_RadioButtonClick},
      {"USB_IO_Garnet_RadioButton", "  Garnet / Jasper  *)", 10, "USB-IO-Garnet - Parameter",
       &TParameterDlg::USB_IO_Garnet_RadioButtonClick},
      {"USB_IO_Zircon_RadioButton", "  Zircon  *)", 11, "USB-IO-Zircon - Parameter",
       &TParameterDlg::USB_IO_Zircon_RadioButtonClick},
      {"USB_IO_TaktRicht_RadioButton", "  Takt/Richtung  *)", 12, "USB-IO-Takt/Richtung - Parameter",
       &TParameterDlg::USB_IO_TaktRicht_RadioButtonClick},
      {"USB_IO_Onyx_RadioButton", "  Onyx  *)", 13, "USB-IO-Onyx - Parameter",
       &TParameterDlg::USB_IO_Onyx_RadioButtonClick},
  }};
  DialogControl modulOKBitBtn{.Caption = "&OK"};
  DialogControl modulAbbrechenBitBtn{.Caption = "&Abbrechen"};
  std::string lptcomLabel = "........... Schnittstelle";
  bool comPanelVisible = false;
  bool lptPanelVisible = false;
  DialogComboBox ComComboBox;
  DialogComboBox BaudrateComboBox;
  DialogRadioButton lptRadioButton1{.Caption = " LPT1     (0x378)"};
  DialogRadioButton lptRadioButton2{.Caption = " LPT2     (0x278)"};
  DialogRadioButton lptRadioButton3{.Caption = " Adresse:"};
  std::string lptEdit = "0xDF60";

  // Tab 2: start, working and rapid frequency, ramp length (xGeschwMaskEdit1, xGeschwMaskEdit2,
  // xGeschwMaskEdit3, xGeschwMaskEdit4).
  std::array<std::string, 4> GeschwMaskEdits{};

  // Tab 3.
  // xUebersetzMaskEdit ... uUebersetzMaskEdit.
  AxisEdits UebersetzMaskEdits{};
  // xMotStepMaskEdit ... uMotStepMaskEdit.
  AxisEdits MotStepMaskEdits{};
  ParameterRadioGroup SteuersignalRadioGroup{.Caption = "Ansteuersignal", .Items = {"Korund-Signal", "Takt/Richtung"}};
  ParameterRadioGroup SchrittbetriebRadioGroup{.Caption = "Schrittbetrieb", .Items = {"Halbschritt", "Vollschritt"}};
  ParameterRadioGroup RuhestromRadioGroup{.Caption = "Ruhestrom", .Items = {" 0 %", " 20 %", " 60 %"}};
  ParameterRadioGroup ZBetriebRadioGroup{.Caption = "z-Achse als", .Items = {"3-Achssystem", "Plotterbetrieb"}};
  ParameterRadioGroup UBetriebRadioGroup{.Caption = "U-Achse als", .Items = {"Ausgang", "Drehachse"}};
  bool uZeileVisible = false;
  int Zeilenabstand = kZeilenabstand;

  // Tab 4.
  // xRefOffsetMaskEdit ... uRefOffsetMaskEdit.
  AxisEdits RefOffsetMaskEdits{};
  std::string RefFreqMaskEdit;
  bool RefFreqVisible = true;
  // xRefNrMaskEdit ... uRefNrMaskEdit.
  AxisEdits RefNrMaskEdits{};

 private:
  // The type button at `index` of the table chosen: the type into the record at once, the
  // dialog named after it, and the controls refilled with the type's presets.
  void typWaehlen(int index);
  void Vorbelegen(Maschinenparameter& p) const;

  MachineDialogServices services_;
  std::function<std::vector<std::string>()> portListe_;
};

}  // namespace machine
