// Tests of the connection step, the sending of all machine parameters and the report of failure
// codes through the command layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLayerRig.h"
#include "machine/FailureCodes.h"
#include "support/ScriptedUi.h"

namespace {

using machinetest::CommandLayerRig;

// Runs the connection step as the main window does and returns the display name; `connected`
// tells whether the link is up.
std::string connect(CommandLayerRig& rig, bool& connected) {
  rig.params.Verbindungstext.clear();
  rig.params.Schnittstellentext.clear();
  rig.layer.Steuerung_trennen();
  const std::string name = rig.layer.Steuerung_erzeugen(rig.factory);
  rig.layer.Schnittstelle_anzeigen();
  connected = rig.layer.Steuerung_verbinden(rig.params.Schnittstellentext);
  if (connected) rig.layer.Version_abfragen();
  return name;
}

TEST(ConnectionStep, CreatesOpensAndIdentifiesTheBackEndOfEachType) {
  const struct {
    int type;
    std::string name, port, baud;
    bool connected;
    std::string calls, verbindungstext;
  } cases[] = {
      {0, "Schrittmotorsteuerkarte Garnet/Jasper", "0x378", "", true,
       "Garnet Steuerung_verbinden 0x378 | Garnet Version_abfragen", "Garnet-Karte"},
      {1, "Zircon", "0x378", "", true,
       "TaktRicht Steuerung_verbinden 0x378 | TaktRicht Endschalter_konfigurieren 0 1 1 | "
       "TaktRicht Frequenzgrenzen_setzen 5000 10000 | TaktRicht Version_abfragen",
       "Zircon"},
      {4, "Takt/Richtung", "0x378", "", true,
       "TaktRicht Steuerung_verbinden 0x378 | TaktRicht Endschalter_konfigurieren 1 0 0 | TaktRicht Version_abfragen",
       "Takt/Richtung"},
      {7, "Onyx", "0x378", "", true,
       "TaktRicht Steuerung_verbinden 0x378 | TaktRicht Endschalter_konfigurieren 0 0 0 | TaktRicht Version_abfragen",
       "Onyx"},
      {2, "Beryl", "COM3", "115200", true, "Beryl Verbinden COM3 | Beryl Version_abfragen", "Beryl V2"},
      {3, "Basalt-Kyro", "COM3", "115200", true, "Kyro Verbinden COM3 | Kyro Version_abfragen", "Kyro V3"},
      {5, "Cobalt-Kyro", "COM3", "115200", true,
       "zelkoCOM Modell_setzen 2 | zelkoCOM Init 3 115200 | zelkoCOM Connect | zelkoCOM Version_abfragen",
       "Cobalt-Kyro V1.0"},
      {6, "USB-Beryl", "COM3", "115200", true,
       "zelkoCOM Modell_setzen 3 | zelkoCOM Init 3 115200 | zelkoCOM Connect | zelkoCOM Version_abfragen",
       "Cobalt-Kyro V1.0"},
      {10, "USB-IO-Garnet", "COM3", "115200", true,
       "zelkoCOM Modell_setzen 4 | zelkoCOM Init 3 115200 | zelkoCOM Connect | zelkoCOM Version_abfragen",
       "Cobalt-Kyro V1.0"},
      {11, "USB-IO-Zircon", "COM3", "115200", true,
       "zelkoCOM Modell_setzen 4 | zelkoCOM Init 3 115200 | zelkoCOM Connect | zelkoCOM Version_abfragen",
       "Cobalt-Kyro V1.0"},
      {12, "USB-IO-TAKT/RICHT", "COM3", "115200", true,
       "zelkoCOM Modell_setzen 4 | zelkoCOM Init 3 115200 | zelkoCOM Connect | zelkoCOM Version_abfragen",
       "Cobalt-Kyro V1.0"},
      {13, "USB-IO-Onyx", "COM3", "115200", true,
       "zelkoCOM Modell_setzen 4 | zelkoCOM Init 3 115200 | zelkoCOM Connect | zelkoCOM Version_abfragen",
       "Cobalt-Kyro V1.0"},
      {8, "", "", "", false, "", ""},
      {9, "", "", "", false, "", ""},
      {14, "", "", "", false, "", ""},
  };
  for (const auto& c : cases) {
    CommandLayerRig rig(c.type);
    rig.params.LPTAdresse = 0x378;
    rig.params.ComPort = 3;
    rig.params.Baudrate = 115200;
    rig.params.Baudratentext = "alt";
    bool connected = false;
    EXPECT_EQ(connect(rig, connected), c.name) << c.type;
    EXPECT_EQ(machine::Steuerungsname(c.type), c.name) << c.type;
    EXPECT_EQ(machine::istProtokollTyp(c.type), c.calls.rfind("zelkoCOM", 0) == 0) << c.type;
    EXPECT_EQ(rig.params.Schnittstellentext, c.port) << c.type;
    EXPECT_EQ(rig.params.Baudratentext, c.baud) << c.type;
    EXPECT_EQ(connected, c.connected) << c.type;
    EXPECT_EQ(rig.calls(), c.calls) << c.type;
    EXPECT_EQ(rig.params.Verbindungstext, c.verbindungstext) << c.type;
    const int made =
        rig.factory.garnets + rig.factory.taktRichts + rig.factory.beryls + rig.factory.kyros + rig.factory.zelkoCOMs;
    EXPECT_EQ(made, c.connected ? 1 : 0) << c.type;
  }
}

TEST(ConnectionStep, PortThatCannotBeOpenedIsNotAConnection) {
  for (int type : {0, 1, 2}) {
    CommandLayerRig rig(type);
    rig.layer.Steuerung_erzeugen(rig.factory);
    if (rig.factory.garnet) rig.factory.garnet->connectResult = false;
    if (rig.factory.taktRicht) rig.factory.taktRicht->connectResult = false;
    if (rig.factory.beryl) rig.factory.beryl->connectResult = false;
    rig.layer.Schnittstelle_anzeigen();
    EXPECT_FALSE(rig.layer.Steuerung_verbinden(rig.params.Schnittstellentext)) << type;
  }
}

TEST(ConnectionStep, LongVersionTextIsBounded) {
  CommandLayerRig rig(5);
  rig.createAllBackends();
  rig.factory.zelkoCOM->version = std::string(100, 'V');
  rig.layer.Version_abfragen();
  EXPECT_EQ(rig.params.Verbindungstext, std::string(machine::kMaxVerbindungstextBytes, 'V'));
}

TEST(ConnectionStep, ReconnectingClosesEveryPortBackEndAndKeepsOneProtocolDriver) {
  CommandLayerRig rig(5);
  rig.params.ComPort = 3;
  bool connected = false;
  connect(rig, connected);
  connect(rig, connected);
  EXPECT_EQ(rig.factory.zelkoCOMs, 1);
  EXPECT_EQ(rig.calls(),
            "zelkoCOM Modell_setzen 2 | zelkoCOM Init 3 115200 | zelkoCOM Connect | zelkoCOM Version_abfragen | "
            "zelkoCOM UnInit | "
            "zelkoCOM Modell_setzen 2 | zelkoCOM Init 3 115200 | zelkoCOM Connect | zelkoCOM Version_abfragen");

  // Over to Beryl and the phase-pattern card and back: each step closes the port back-ends of
  // the earlier types, and a Beryl is made anew each time.
  rig.params.Modul = 2;
  rig.log.lines.clear();
  connect(rig, connected);
  rig.params.Modul = 0;
  connect(rig, connected);
  rig.params.Modul = 2;
  connect(rig, connected);
  EXPECT_EQ(rig.calls(),
            "Beryl Verbinden COM3 | Beryl Version_abfragen | "
            "Beryl OnDestroy | Garnet Steuerung_verbinden 0x378 | Garnet Version_abfragen | "
            "Beryl Trennen | Garnet OnDestroy | Beryl OnDestroy | Beryl Verbinden COM3 | Beryl Version_abfragen");
  EXPECT_EQ(rig.factory.beryls, 2);
  EXPECT_EQ(rig.factory.garnets, 1);
  EXPECT_EQ(rig.factory.zelkoCOMs, 1);

  // The USB I/O types use the protocol driver made once.
  rig.params.Modul = 10;
  connect(rig, connected);
  EXPECT_TRUE(connected);
  EXPECT_EQ(rig.factory.zelkoCOMs, 1);
}

TEST(ConnectionStep, UsbIoTypeGetsAProtocolDriverWhenNoneWasMade) {
  CommandLayerRig rig(11);
  bool connected = false;
  EXPECT_EQ(connect(rig, connected), "USB-IO-Zircon");
  EXPECT_TRUE(connected);
  EXPECT_EQ(rig.factory.zelkoCOMs, 1);
}

TEST(ConnectionStep, TrennenClosesTheLinkOfTheConfiguredTypeOnly) {
  const struct {
    int type;
    std::string calls;
  } cases[] = {
      {0, ""}, {1, ""}, {2, "Beryl Trennen"}, {3, "Kyro Trennen"}, {5, "zelkoCOM UnInit"}, {13, "zelkoCOM UnInit"},
      {8, ""},
  };
  for (const auto& c : cases) {
    CommandLayerRig rig(c.type);
    rig.createAllBackends();
    rig.layer.Steuerung_trennen();
    EXPECT_EQ(rig.calls(), c.calls) << c.type;
  }
}

TEST(InitializeSteuerung, SendsEveryParameterInOrderWithMakerSettingsFirst) {
  CommandLayerRig rig(5);
  rig.createAllBackends();
  rig.params.Startfreq = 210;
  rig.params.Arbeitsfreq = 420;
  rig.params.Eilfreq = 630;
  rig.params.Rampenlaenge = 150;
  rig.params.xRefOffset = 0.25;
  rig.params.yRefOffset = 0.5;
  rig.params.zRefOffset = 1.0;
  rig.params.RefFreq = 380;
  rig.layer.InitializeSteuerung(true);

  const std::vector<std::string> expected{
      "zelkoCOM SendenUndWarten c,x50\r 64",          "zelkoCOM SendenUndWarten c,y50\r 64",
      "zelkoCOM SendenUndWarten c,z120\r 64",         "zelkoCOM SendenUndWarten c,u0\r 64",
      "zelkoCOM SendenUndWarten D,x2\r 64",           "zelkoCOM SendenUndWarten D,y2\r 64",
      "zelkoCOM SendenUndWarten D,z2\r 64",           "zelkoCOM SendenUndWarten D,u2\r 64",
      "zelkoCOM Startgeschwindigkeit_einstellen 210", "zelkoCOM Endgeschwindigkeit_einstellen 0 210",
      "zelkoCOM Endgeschwindigkeit_einstellen 1 420", "zelkoCOM Endgeschwindigkeit_einstellen 2 630",
      "zelkoCOM Rampenlaenge_einstellen 150",         "zelkoCOM Ansteuersignale_einstellen 1",
      "zelkoCOM Referenzoffset_einstellen x 100",     "zelkoCOM Referenzoffset_einstellen y 200",
      "zelkoCOM Referenzoffset_einstellen z 400",     "zelkoCOM Referenzgeschwindigkeit_einstellen 380",
  };
  EXPECT_EQ(rig.log.lines, expected);
  EXPECT_EQ(CommandLayerRig::traceLines(), (std::vector<std::string>{
                                               "InitializeSteuerung(1)",
                                               "Startgeschwindigkeit_einstellen(210)",
                                               "Endgeschwindigkeit_einstellen(0,210)",
                                               "Endgeschwindigkeit_einstellen(1,420)",
                                               "Endgeschwindigkeit_einstellen(2,630)",
                                               "Rampenlaenge_einstellen(150)",
                                               "Ansteuersignale_einstellen()",
                                               "Schrittbetrieb_einstellen()",
                                               "Z_Achse_einstellen()",
                                               "Referenzoffset_einstellen(x,0.25)",
                                               "Referenzoffset_einstellen(y,0.5)",
                                               "Referenzoffset_einstellen(z,1)",
                                               "Referenzgeschwindigkeit_einstellen(380)",
                                               "InitializeSteuerung(1) :: Fertig",
                                           }));
}

TEST(InitializeSteuerung, MakerSettingsGoOnlyToTypes5And10InMakerMode) {
  const struct {
    int type;
    bool maker;
    std::size_t settings;
  } cases[] = {
      {5, true, 8},  {10, true, 8}, {5, false, 0}, {6, true, 0},
      {11, true, 0}, {13, true, 0}, {0, true, 0},  {2, true, 0},
  };
  for (const auto& c : cases) {
    CommandLayerRig rig(c.type);
    rig.createAllBackends();
    rig.layer.InitializeSteuerung(c.maker);
    std::size_t settings = 0;
    for (const auto& line : rig.log.lines)
      if (line.rfind("zelkoCOM SendenUndWarten", 0) == 0) ++settings;
    EXPECT_EQ(settings, c.settings) << c.type << " " << c.maker;
    EXPECT_EQ(CommandLayerRig::traceLines().back(),
              std::string("InitializeSteuerung(") + (c.maker ? "1" : "0") + ") :: Fertig")
        << c.type;
  }
}

TEST(InitializeSteuerung, FailureLeavesTheRemainingSettingsUnsent) {
  CommandLayerRig rig(2);
  rig.createAllBackends();
  rig.log.onCall = [](const std::string& line) {
    if (line.rfind("Beryl Rampenlaenge_einstellen", 0) == 0) throw machine::ACK_ERROR;
  };
  try {
    rig.layer.InitializeSteuerung(false);
    FAIL() << "the failure was not passed on";
  } catch (int code) {
    EXPECT_EQ(code, machine::ACK_ERROR);
  }
  EXPECT_EQ(rig.log.lines.back(), "Beryl Rampenlaenge_einstellen 200");
  EXPECT_EQ(CommandLayerRig::traceLines().back(), "Rampenlaenge_einstellen(200)");
}

// The protocol types show every code but the stop; the synchronous types only the codes of a
// position they could not read, for which their drivers show no box of their own.
TEST(Steuerungsfehler, OnlyProtocolTypesShowACodeAndNeverTheUserAbort) {
  for (int type : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}) {
    CommandLayerRig rig(type);
    testsupport::ScriptedUi ui;
    rig.layer.Steuerungsfehler_melden(ui, machine::WAIT_TIMEOUT, "Referenzfahrt");
    rig.layer.Steuerungsfehler_melden(ui, machine::USER_ABORT, "Tessaly");
    rig.layer.Steuerungsfehler_melden(ui, machine::ACK_ERROR, "Tessaly");
    const auto boxes = ui.messageBoxes();
    if (machine::istProtokollTyp(type)) {
      ASSERT_EQ(boxes.size(), 2u) << type;
      EXPECT_EQ(boxes[0].text, "WAIT_TIMEOUT") << type;
      EXPECT_EQ(boxes[0].caption, "Referenzfahrt") << type;
      EXPECT_EQ(boxes[1].text, "ACK_ERROR") << type;
    } else if (type == 2 || type == 3) {
      ASSERT_EQ(boxes.size(), 1u) << type;
      EXPECT_EQ(boxes[0].text, "WAIT_TIMEOUT") << type;
      EXPECT_EQ(boxes[0].caption, "Referenzfahrt") << type;
    } else {
      EXPECT_TRUE(boxes.empty()) << type;
    }
  }
}

}  // namespace
