// The parameter dialog: filling its controls from the record by controller type, the type
// presets, and taking the controls back on OK.
#include "ParameterDialog.h"

#include <charconv>
#include <cstdint>

#include "machine/ComPorts.h"
#include "machine/ControllerFamily.h"
#include "machine/TextConvert.h"
#include "platform/NumberFormat.h"

namespace machine {

namespace {

constexpr int kLpt1 = 888;
constexpr int kLpt2 = 632;

std::string hexText(std::int32_t value) {
  char buf[16] = {};
  const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<std::uint32_t>(value), 16);
  return "0x" + std::string(buf, res.ptr);
}

// A hexadecimal address, with or without a leading 0x; nullopt for anything else.
std::optional<std::int32_t> hexAdresse(const std::string& text) {
  std::string t = Text_trimmen(text);
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t = t.substr(2);
  if (t.empty() || t.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto res = std::from_chars(t.data(), t.data() + t.size(), value, 16);
  if (res.ec != std::errc() || res.ptr != t.data() + t.size()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

bool istSeriell(int modul) {
  const auto f = familyOf(modul);
  return f == ControllerFamily::Beryl || f == ControllerFamily::Kyro || f == ControllerFamily::Protocol;
}

bool istParallel(int modul) {
  const auto f = familyOf(modul);
  return f == ControllerFamily::Garnet || f == ControllerFamily::TaktRicht;
}

std::string zweiStellen(double value) { return platform::formatFixedSignificant(value, 6, 2); }

}  // namespace

TParameterDlg::TParameterDlg(MachineDialogServices services, std::function<std::vector<std::string>()> portListe)
    : services_(services), portListe_(portListe ? std::move(portListe) : ComPorts_auflisten) {
  OnCreate();
}

void TParameterDlg::OnCreate() {
  AktiveSeite = 0;
  Farben = {0xAAAAAA, 0x888888, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  bAktiviert = false;
}

void TParameterDlg::Vorbelegen(Maschinenparameter& p) const {
  switch (p.Modul) {
    case 0:
    case 10:
    case 6:
      p.Steuersignal = 0;
      p.Schrittbetrieb = 0;
      p.Ruhestrom = 1;
      break;
    case 2:
      p.Steuersignal = 0;
      p.Schrittbetrieb = 0;
      p.Ruhestrom = 1;
      p.ZBetrieb = 1;
      break;
    case 3:
      p.UBetrieb = 1;
      break;
    case 11:
    case 12:
      p.Steuersignal = 1;
      break;
    default:
      break;
  }
}

void TParameterDlg::OnActivate() {
  modulOKBitBtn.Visible = false;
  modulAbbrechenBitBtn.Visible = false;

  // The record changes here only by the presets and the baud rate the port area preselects.
  const std::vector<std::string> ports = portListe_();
  services_.params.update([&](Maschinenparameter& p) {
    if (bAktiviert) Vorbelegen(p);
    if (familyOf(p.Modul) == ControllerFamily::Beryl || familyOf(p.Modul) == ControllerFamily::Kyro)
      p.Baudrate = 19200;
    else if (familyOf(p.Modul) == ControllerFamily::Protocol)
      p.Baudrate = 115200;
  });
  const Maschinenparameter p = services_.params.snapshot();

  // Tab 1.
  for (auto& b : TypButtons) {
    b.Visible = b.typ < 10;
    const bool checked = b.typ == p.Modul;
    // Checking a button by program runs its click, which names the dialog after the type.
    if (checked && !b.Checked) Caption = b.dialogCaption;
    b.Checked = checked;
  }
  if (istSeriell(p.Modul)) {
    lptcomLabel = "serielle Schnittstelle";
    comPanelVisible = true;
    lptPanelVisible = false;
    ComComboBox.Items = ports;
    ComComboBox.ItemIndex = ports.empty() ? -1 : 0;
    const std::string eigener = "COM" + platform::formatInt(p.ComPort);
    for (std::size_t i = 0; i < ports.size(); ++i)
      if (ports[i] == eigener) ComComboBox.ItemIndex = static_cast<int>(i);
    if (familyOf(p.Modul) == ControllerFamily::Protocol)
      BaudrateComboBox.Items = {"115200", "19200"};
    else
      BaudrateComboBox.Items = {"19200"};
    BaudrateComboBox.ItemIndex = 0;
  } else if (istParallel(p.Modul)) {
    lptcomLabel = "parallele Schnittstelle";
    lptPanelVisible = true;
    comPanelVisible = false;
    lptRadioButton1.Checked = p.LPTAdresse == kLpt1;
    lptRadioButton2.Checked = p.LPTAdresse == kLpt2;
    lptRadioButton3.Checked = !lptRadioButton1.Checked && !lptRadioButton2.Checked;
    if (lptRadioButton3.Checked) lptEdit = hexText(p.LPTAdresse);
  }

  // Tab 2.
  GeschwMaskEdits = {platform::formatInt(p.Startfreq), platform::formatInt(p.Arbeitsfreq),
                     platform::formatInt(p.Eilfreq), platform::formatInt(p.Rampenlaenge)};

  // Tab 3.
  UebersetzMaskEdits = {zweiStellen(p.xUebersetz), zweiStellen(p.yUebersetz), zweiStellen(p.zUebersetz),
                        zweiStellen(p.uUebersetz)};
  MotStepMaskEdits = {platform::formatInt(p.xMotStep), platform::formatInt(p.yMotStep), platform::formatInt(p.zMotStep),
                      platform::formatInt(p.uMotStep)};
  SteuersignalRadioGroup.Items = {"Korund-Signal", "Takt/Richtung"};
  SteuersignalRadioGroup.ItemIndex = p.Steuersignal;
  SchrittbetriebRadioGroup.ItemIndex = p.Schrittbetrieb;
  RuhestromRadioGroup.ItemIndex = p.Ruhestrom;
  ZBetriebRadioGroup.ItemIndex = p.ZBetrieb - 1;
  UBetriebRadioGroup.ItemIndex = p.UBetrieb;

  // Tab 4.
  RefOffsetMaskEdits = {zweiStellen(p.xRefOffset), zweiStellen(p.yRefOffset), zweiStellen(p.zRefOffset),
                        zweiStellen(p.uRefOffset)};
  RefFreqMaskEdit = platform::formatInt(p.RefFreq);
  RefNrMaskEdits = {platform::formatInt(p.xRefNr), platform::formatInt(p.yRefNr), platform::formatInt(p.zRefNr),
                    platform::formatInt(p.uRefNr)};

  // Which groups the type has.
  const bool phasenSignal = p.Modul == 0 || p.Modul == 2 || p.Modul == 6 || p.Modul == 10;
  SteuersignalRadioGroup.Visible = phasenSignal;
  SchrittbetriebRadioGroup.Visible = phasenSignal;
  RuhestromRadioGroup.Visible = phasenSignal;
  if (p.Modul == 0) {
    // The phase-pattern card knows only its own signal; a stored "Takt/Richtung" selects nothing.
    SteuersignalRadioGroup.Items = {"Korund-Signal"};
    if (SteuersignalRadioGroup.ItemIndex > 0) SteuersignalRadioGroup.ItemIndex = -1;
  }
  UBetriebRadioGroup.Visible = p.Modul == 3;
  ZBetriebRadioGroup.Visible = false;
  RefFreqVisible = true;
  uZeileVisible = p.Modul == 3 || p.Modul == 4;
  Zeilenabstand = uZeileVisible ? kZeilenabstandMitU : kZeilenabstand;

  modulOKBitBtn.Visible = true;
  modulAbbrechenBitBtn.Visible = true;
  bAktiviert = true;
}

void TParameterDlg::typWaehlen(int index) {
  if (index < 0 || index >= kTypen) return;
  const TypeRadioButton& gewaehlt = TypButtons[static_cast<std::size_t>(index)];
  services_.params.update([&](Maschinenparameter& p) { p.Modul = gewaehlt.typ; });
  for (auto& b : TypButtons) b.Checked = &b == &gewaehlt;
  Caption = gewaehlt.dialogCaption;
  OnActivate();
}

void TParameterDlg::PageControlChange(int tab) {
  AktiveSeite = tab;
  static constexpr std::array<const char*, 4> kFokus{"modulOKBitBtn", "xGeschwMaskEdit1", "xUebersetzMaskEdit",
                                                     "xRefOffsetMaskEdit"};
  if (tab >= 0 && tab < 4) Fokus = kFokus[static_cast<std::size_t>(tab)];
}

void TParameterDlg::lptEditOnClick() {
  lptRadioButton1.Checked = false;
  lptRadioButton2.Checked = false;
  lptRadioButton3.Checked = true;
}

void TParameterDlg::modulOKBitBtnClick() {
  services_.params.update([&](Maschinenparameter& p) {
    for (const auto& b : TypButtons) {
      if (b.Checked) {
        p.Modul = b.typ;
        break;
      }
    }
    if (comPanelVisible) {
      // With no port or no baud rate listed the link keeps the ones it had.
      const auto& com = ComComboBox;
      if (com.ItemIndex >= 0 && com.ItemIndex < static_cast<int>(com.Items.size())) {
        const int nummer = ComNummer(com.Items[static_cast<std::size_t>(com.ItemIndex)]);
        if (nummer > 0) p.ComPort = nummer;
      }
      const auto& baud = BaudrateComboBox;
      if (baud.ItemIndex >= 0 && baud.ItemIndex < static_cast<int>(baud.Items.size())) {
        const int rate = Text_in_Ganzzahl(baud.Items[static_cast<std::size_t>(baud.ItemIndex)]);
        if (rate > 0) p.Baudrate = rate;
      }
    } else if (lptRadioButton1.Checked) {
      p.LPTAdresse = kLpt1;
    } else if (lptRadioButton2.Checked) {
      p.LPTAdresse = kLpt2;
    } else if (lptRadioButton3.Checked) {
      if (const auto adresse = hexAdresse(lptEdit)) p.LPTAdresse = *adresse;
    }

    p.Startfreq = Text_in_Ganzzahl(GeschwMaskEdits[0]);
    p.Arbeitsfreq = Text_in_Ganzzahl(GeschwMaskEdits[1]);
    p.Eilfreq = Text_in_Ganzzahl(GeschwMaskEdits[2]);
    p.Rampenlaenge = Text_in_Ganzzahl(GeschwMaskEdits[3]);
    p.xUebersetz = Text_in_Zahl(UebersetzMaskEdits[0]);
    p.yUebersetz = Text_in_Zahl(UebersetzMaskEdits[1]);
    p.zUebersetz = Text_in_Zahl(UebersetzMaskEdits[2]);
    p.uUebersetz = Text_in_Zahl(UebersetzMaskEdits[3]);
    p.xMotStep = Text_in_Ganzzahl(MotStepMaskEdits[0]);
    p.yMotStep = Text_in_Ganzzahl(MotStepMaskEdits[1]);
    p.zMotStep = Text_in_Ganzzahl(MotStepMaskEdits[2]);
    p.uMotStep = Text_in_Ganzzahl(MotStepMaskEdits[3]);

    // A group with no item chosen keeps its value.
    if (SteuersignalRadioGroup.ItemIndex >= 0) p.Steuersignal = SteuersignalRadioGroup.ItemIndex;
    if (SchrittbetriebRadioGroup.ItemIndex >= 0) p.Schrittbetrieb = SchrittbetriebRadioGroup.ItemIndex;
    if (RuhestromRadioGroup.ItemIndex >= 0) p.Ruhestrom = RuhestromRadioGroup.ItemIndex;
    if (ZBetriebRadioGroup.ItemIndex >= 0) p.ZBetrieb = ZBetriebRadioGroup.ItemIndex + 1;
    if (UBetriebRadioGroup.ItemIndex >= 0) p.UBetrieb = UBetriebRadioGroup.ItemIndex;

    p.xRefOffset = Text_in_Zahl(RefOffsetMaskEdits[0]);
    p.yRefOffset = Text_in_Zahl(RefOffsetMaskEdits[1]);
    p.zRefOffset = Text_in_Zahl(RefOffsetMaskEdits[2]);
    p.uRefOffset = Text_in_Zahl(RefOffsetMaskEdits[3]);
    p.RefFreq = Text_in_Ganzzahl(RefFreqMaskEdit);
    const auto nummer = [](const std::string& text) {
      const int n = Text_in_Ganzzahl(text);
      return n <= 0 ? 1 : n > 4 ? 4 : n;
    };
    p.xRefNr = nummer(RefNrMaskEdits[0]);
    p.yRefNr = nummer(RefNrMaskEdits[1]);
    p.zRefNr = nummer(RefNrMaskEdits[2]);
    p.uRefNr = nummer(RefNrMaskEdits[3]);
  });
  Parameter_Speichern(services_.params.snapshot(), services_.ui);
  Ergebnis = 1;
  bAktiviert = false;
}

void TParameterDlg::AbbrechenBitBtnClick() {
  Ergebnis = 0;
  bAktiviert = false;
}

}  // namespace machine
