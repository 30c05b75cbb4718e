// The parameter dialog: its groups and presets by controller type, the port area, OK with the
// file written and Cancel with the type kept in memory only.
#include "MachineDialogRig.h"
#include "machine/dialogs/ParameterDialog.h"

namespace machinetest {
namespace {

class ParameterDialog : public MachineDialogRig {
 protected:
  ParameterDialog() {
    store.update([](machine::Maschinenparameter& p) { p.Modul = 5; });
  }

  std::vector<std::string> ports{"COM1", "COM3", "COM9"};
  machine::TParameterDlg dlg{services(), [this] { return ports; }};
};

struct TypeCase {
  int index;  // of the type button
  int modul;
  const char* caption;
  bool seriell;
  std::vector<std::string> baud;
  bool signalGroups;  // drive signal, step mode, holding current
  bool uGroup;
  bool uRow;
  // Presets: Steuersignal, Schrittbetrieb, Ruhestrom, ZBetrieb, UBetrieb (from 1, 1, 2, 2, 0).
  std::array<int, 5> presets;
};

TEST_F(ParameterDialog, ChoosingATypeAppliesItsPresetsAndShowsItsGroups) {
  const TypeCase cases[] = {
      {0, 0, "Garnet / Jasper - Parameter", false, {}, true, false, false, {0, 0, 1, 2, 0}},
      {1, 1, "Zircon - Parameter", false, {}, false, false, false, {1, 1, 2, 2, 0}},
      {2, 2, "Beryl - Parameter", true, {"19200"}, true, false, false, {0, 0, 1, 1, 0}},
      {3, 3, "Basalt-Kyro - Parameter", true, {"19200"}, false, true, true, {1, 1, 2, 2, 1}},
      {4, 4, "Takt / Richtung - Parameter", false, {}, false, false, true, {1, 1, 2, 2, 0}},
      {5, 5, "Cobalt-Kyro - Parameter", true, {"115200", "19200"}, false, false, false, {1, 1, 2, 2, 0}},
      {6, 6, "USB-Beryl - Parameter", true, {"115200", "19200"}, true, false, false, {0, 0, 1, 2, 0}},
      {7, 7, "Onyx - Parameter", false, {}, false, false, false, {1, 1, 2, 2, 0}},
  };
  for (const auto& c : cases) {
    store.update([](machine::Maschinenparameter& p) {
      p.Modul = 5;
      p.Steuersignal = 1;
      p.Schrittbetrieb = 1;
      p.Ruhestrom = 2;
      p.ZBetrieb = 2;
      p.UBetrieb = 0;
      p.Baudrate = 19200;
    });
    dlg.OnActivate();
    (dlg.*dlg.TypButtons[static_cast<std::size_t>(c.index)].Click)();
    const auto p = store.snapshot();
    EXPECT_EQ(p.Modul, c.modul) << c.caption;
    EXPECT_EQ(dlg.Caption, c.caption);
    EXPECT_EQ((std::array<int, 5>{p.Steuersignal, p.Schrittbetrieb, p.Ruhestrom, p.ZBetrieb, p.UBetrieb}), c.presets)
        << c.caption;
    EXPECT_EQ(dlg.comPanelVisible, c.seriell) << c.caption;
    EXPECT_EQ(dlg.lptPanelVisible, !c.seriell) << c.caption;
    EXPECT_EQ(dlg.lptcomLabel, c.seriell ? "serielle Schnittstelle" : "parallele Schnittstelle");
    if (c.seriell) {
      EXPECT_EQ(dlg.BaudrateComboBox.Items, c.baud) << c.caption;
      EXPECT_EQ(dlg.BaudrateComboBox.ItemIndex, 0);
      EXPECT_EQ(p.Baudrate, std::stoi(c.baud.front())) << c.caption;
    }
    EXPECT_EQ(dlg.SteuersignalRadioGroup.Visible, c.signalGroups) << c.caption;
    EXPECT_EQ(dlg.SchrittbetriebRadioGroup.Visible, c.signalGroups) << c.caption;
    EXPECT_EQ(dlg.RuhestromRadioGroup.Visible, c.signalGroups) << c.caption;
    EXPECT_EQ(dlg.UBetriebRadioGroup.Visible, c.uGroup) << c.caption;
    EXPECT_FALSE(dlg.ZBetriebRadioGroup.Visible);
    EXPECT_TRUE(dlg.RefFreqVisible);
    EXPECT_EQ(dlg.uZeileVisible, c.uRow) << c.caption;
    EXPECT_EQ(dlg.Zeilenabstand, c.uRow ? 32 : 40);
    EXPECT_EQ(dlg.SteuersignalRadioGroup.Items.size(), c.modul == 0 ? 1u : 2u) << c.caption;
    int checked = 0;
    for (const auto& b : dlg.TypButtons) checked += b.Checked ? 1 : 0;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(dlg.modulOKBitBtn.Visible);
    dlg.AbbrechenBitBtnClick();
  }
}

TEST_F(ParameterDialog, EveryTypeButtonsHandlerChoosesThatButtonsType) {
  dlg.OnActivate();
  for (const auto& b : dlg.TypButtons) {
    (dlg.*b.Click)();
    EXPECT_EQ(store.snapshot().Modul, b.typ) << b.name;
    EXPECT_EQ(dlg.Caption, b.dialogCaption) << b.name;
    EXPECT_TRUE(b.Checked) << b.name;
  }
}

TEST_F(ParameterDialog, CancelKeepsTheChosenTypeInMemoryButWritesNothing) {
  dlg.OnActivate();
  EXPECT_EQ(dlg.Caption, "Cobalt-Kyro - Parameter");
  dlg.Beryl_RadioButtonClick();
  dlg.GeschwMaskEdits[0] = "999";
  dlg.AbbrechenBitBtnClick();
  EXPECT_EQ(dlg.Ergebnis, 0);
  EXPECT_FALSE(dlg.bAktiviert);
  const auto p = store.snapshot();
  EXPECT_EQ(p.Modul, 2);
  EXPECT_EQ(p.ZBetrieb, 1);
  EXPECT_EQ(p.Startfreq, 200);
  EXPECT_EQ(parameterFile(), "");
}

TEST_F(ParameterDialog, OkTakesEveryControlAndSavesTheFile) {
  store.update([](machine::Maschinenparameter& p) {
    p.ComPort = 3;
    p.Baudrate = 19200;
  });
  dlg.OnActivate();
  // A protocol type preselects 115200 even though 19200 was stored, and the configured port.
  EXPECT_EQ(dlg.BaudrateComboBox.Items[static_cast<std::size_t>(dlg.BaudrateComboBox.ItemIndex)], "115200");
  EXPECT_EQ(dlg.ComComboBox.Items[static_cast<std::size_t>(dlg.ComComboBox.ItemIndex)], "COM3");
  EXPECT_EQ(dlg.UebersetzMaskEdits[0], "1.00");
  EXPECT_EQ(dlg.RefOffsetMaskEdits[2], "0.25");
  EXPECT_EQ(dlg.RefNrMaskEdits, (machine::AxisEdits{"2", "3", "1", "4"}));

  dlg.ComComboBox.ItemIndex = 2;
  dlg.BaudrateComboBox.ItemIndex = 1;
  dlg.GeschwMaskEdits = {"  300", "1200 ", "4000", "150"};
  dlg.UebersetzMaskEdits = {"  2.50", "3,1", "", "1.005"};
  dlg.MotStepMaskEdits = {"200", "400", "800", "x"};
  dlg.RefOffsetMaskEdits = {"0.50", "1.25", "2.00", "0.12"};
  dlg.RefFreqMaskEdit = "500";
  dlg.RefNrMaskEdits = {" ", "7", "0", "3"};
  dlg.modulOKBitBtnClick();
  EXPECT_EQ(dlg.Ergebnis, 1);
  EXPECT_FALSE(dlg.bAktiviert);

  const auto p = store.snapshot();
  EXPECT_EQ(p.ComPort, 9);
  EXPECT_EQ(p.Baudrate, 19200);
  EXPECT_EQ((std::array<int, 4>{p.Startfreq, p.Arbeitsfreq, p.Eilfreq, p.Rampenlaenge}),
            (std::array<int, 4>{300, 1200, 4000, 150}));
  EXPECT_EQ(p.yUebersetz, 3.1);
  EXPECT_EQ(p.zUebersetz, 0.0);
  EXPECT_EQ(p.uMotStep, 0);
  EXPECT_EQ((std::array<int, 4>{p.xRefNr, p.yRefNr, p.zRefNr, p.uRefNr}), (std::array<int, 4>{1, 4, 1, 3}));
  EXPECT_TRUE(fileHas("Modul=5"));
  EXPECT_TRUE(fileHas("ComPort=9"));
  EXPECT_TRUE(fileHas("xUebersetz=2.50"));
  EXPECT_TRUE(fileHas("RefFreq=500"));
  EXPECT_TRUE(fileHas("yRefNr=4"));
}

TEST_F(ParameterDialog, WithNoSerialPortListedOkKeepsPortAndBaudRate) {
  ports.clear();
  store.update([](machine::Maschinenparameter& p) {
    p.Modul = 2;
    p.ComPort = 4;
  });
  dlg.OnActivate();
  EXPECT_TRUE(dlg.ComComboBox.Items.empty());
  EXPECT_EQ(dlg.ComComboBox.ItemIndex, -1);
  dlg.modulOKBitBtnClick();
  EXPECT_EQ(store.snapshot().ComPort, 4);
  EXPECT_EQ(store.snapshot().Baudrate, 19200);
  EXPECT_TRUE(fileHas("ComPort=4"));
}

TEST_F(ParameterDialog, TheParallelPortAddressIsChosenOrTypedInHex) {
  store.update([](machine::Maschinenparameter& p) {
    p.Modul = 4;
    p.LPTAdresse = 0x3BC;
  });
  dlg.OnActivate();
  EXPECT_TRUE(dlg.lptRadioButton3.Checked);
  EXPECT_EQ(dlg.lptEdit, "0x3bc");

  struct Case {
    int button;  // 1, 2 or 3 (" Adresse:")
    const char* text;
    int adresse;
  };
  const Case cases[] = {{3, "0xDF60", 57184}, {3, "378", 888}, {3, "0xZZ", 888}, {1, "", 888}, {2, "", 632}};
  for (const auto& c : cases) {
    dlg.OnActivate();
    dlg.lptRadioButton1.Checked = c.button == 1;
    dlg.lptRadioButton2.Checked = c.button == 2;
    if (c.button == 3) {
      dlg.lptEdit = c.text;
      dlg.lptEditOnClick();
    }
    dlg.modulOKBitBtnClick();
    EXPECT_EQ(store.snapshot().LPTAdresse, c.adresse) << c.text;
  }
  dlg.OnActivate();
  EXPECT_TRUE(dlg.lptRadioButton2.Checked);
}

TEST_F(ParameterDialog, AConfiguredUsbIoTypeIsKeptThoughItsButtonIsHidden) {
  store.update([](machine::Maschinenparameter& p) { p.Modul = 10; });
  dlg.OnActivate();
  EXPECT_EQ(dlg.Caption, "USB-IO-Garnet - Parameter");
  for (const auto& b : dlg.TypButtons) EXPECT_EQ(b.Visible, b.typ < 10) << b.name;
  EXPECT_TRUE(dlg.TypButtons[8].Checked);
  dlg.modulOKBitBtnClick();
  EXPECT_EQ(store.snapshot().Modul, 10);
  EXPECT_TRUE(fileHas("Modul=10"));

  dlg.PageControlChange(2);
  EXPECT_EQ(dlg.Fokus, "xUebersetzMaskEdit");
}

}  // namespace
}  // namespace machinetest
