// Tests of the command layer's dispatch: for every operation and controller type, the trace line
// and the back-end calls made (or none), and the behaviour when a back-end object is missing.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "CommandLayerRig.h"
#include "machine/FailureCodes.h"

namespace {

using machine::CommandLayer;
using machinetest::CommandLayerRig;

// Every controller type, the unassigned and unknown ones included.
const int kAllTypes[] = {0, 1, 4, 7, 2, 3, 5, 6, 10, 11, 12, 13, 8, 9, 14, -1};

struct Row {
  const char* name;
  // Runs the operation; a query returns its result as text, which is expected as "= result".
  std::function<std::string(CommandLayer&)> op;
  std::string trace;  // the one trace line, or empty when the operation writes none
  // Expected calls by column; `none` is for 8, 9 and unknown types.
  std::string garnet, taktRicht, beryl, kyro, protocol, none = "";
  std::map<int, std::string> byType = {};  // a single type that differs from its column
};

std::string expectedFor(const Row& row, int type) {
  if (const auto it = row.byType.find(type); it != row.byType.end()) return it->second;
  switch (type) {
    case 0:
      return row.garnet;
    case 1:
    case 4:
    case 7:
      return row.taktRicht;
    case 2:
      return row.beryl;
    case 3:
      return row.kyro;
    case 5:
    case 6:
    case 10:
    case 11:
    case 12:
    case 13:
      return row.protocol;
    default:
      return row.none;
  }
}

std::string none(const std::function<void(CommandLayer&)>& f, CommandLayer& l) {
  f(l);
  return "";
}

TEST(CommandLayerDispatch, EachOperationReachesTheBackEndOfItsType) {
  const std::string vektorTrace = "Vektorfahrt_ausfuehren(1,2,   10,  -20,   30,1)";
  const Row rows[] = {
      {"Reset", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Reset_durchfuehren(); }, l); },
       "Reset_durchfuehren()", "Garnet Reset_durchfuehren", "TaktRicht Reset_durchfuehren", "Beryl Reset_durchfuehren",
       "Kyro Reset_durchfuehren", "zelkoCOM Reset"},
      {"Version",
       [](CommandLayer& l) {
         l.params().Verbindungstext = "alt";
         l.Version_abfragen();
         return "'" + l.params().Verbindungstext + "'";
       },
       "Version_abfragen()",
       "Garnet Version_abfragen | = 'Garnet-Karte'",
       "",
       "Beryl Version_abfragen | = 'Beryl V2'",
       "Kyro Version_abfragen | = 'Kyro V3'",
       "zelkoCOM Version_abfragen | = 'Cobalt-Kyro V1.0'",
       "= 'alt'",
       {{1, "TaktRicht Version_abfragen | = 'Zircon'"},
        {4, "TaktRicht Version_abfragen | = 'Takt/Richtung'"},
        {7, "TaktRicht Version_abfragen | = 'Onyx'"}}},
      {"Position", [](CommandLayer& l) { return std::to_string(l.Position_abfragen('y')); }, "",
       "Garnet Position_abfragen y | = 11", "TaktRicht Position_abfragen y | = 12", "Beryl Wert_abfragen y | = 13",
       "Kyro Wert_abfragen y | = 14", "= 15", "= 0"},
      {"Ansteuersignale",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Ansteuersignale_einstellen(); }, l); },
       "Ansteuersignale_einstellen()",
       "",
       "",
       "Beryl Ansteuersignale_einstellen 0",
       "",
       "zelkoCOM Ansteuersignale_einstellen 1",
       "",
       {{6, "zelkoCOM Ansteuersignale_einstellen 0"}, {10, "zelkoCOM Ansteuersignale_einstellen 0"}}},
      {"Schrittbetrieb",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Schrittbetrieb_einstellen(); }, l); },
       "Schrittbetrieb_einstellen()",
       "Garnet Schrittbetrieb_einstellen 1 2",
       "",
       "Beryl Schrittbetrieb_einstellen 1",
       "",
       "",
       "",
       {{6, "zelkoCOM Halb_Vollschrittbetrieb_einstellen 1 2"},
        {10, "zelkoCOM Halb_Vollschrittbetrieb_einstellen 1 2"}}},
      {"Schrittbetrieb with step/direction signals",
       [](CommandLayer& l) {
         l.params().Steuersignal = 1;
         l.Schrittbetrieb_einstellen();
         return std::string();
       },
       "Schrittbetrieb_einstellen()", "Garnet Schrittbetrieb_einstellen 1 2", "", "Beryl Schrittbetrieb_einstellen 1",
       "", ""},
      {"Z_Achse", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Z_Achse_einstellen(); }, l); },
       "Z_Achse_einstellen()", "", "", "Beryl Z_Achse_einstellen 2", "", ""},
      {"U_Achse", [](CommandLayer& l) { return none([](CommandLayer& c) { c.U_Achse_einstellen(); }, l); },
       "U_Achse_einstellen()", "", "", "", "Kyro U_Achse_einstellen 1", ""},
      {"Startgeschwindigkeit",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Startgeschwindigkeit_einstellen(250); }, l); },
       "Startgeschwindigkeit_einstellen(250)", "Garnet Startgeschwindigkeit_einstellen 250",
       "TaktRicht Startgeschwindigkeit_einstellen 250", "Beryl Startgeschwindigkeit_einstellen 250",
       "Kyro Startgeschwindigkeit_einstellen 250", "zelkoCOM Startgeschwindigkeit_einstellen 250"},
      {"Endgeschwindigkeit",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Endgeschwindigkeit_einstellen(8, 300); }, l); },
       "Endgeschwindigkeit_einstellen(8,300)", "Garnet Endgeschwindigkeit_einstellen 8 300",
       "TaktRicht Endgeschwindigkeit_einstellen 8 300", "Beryl Endgeschwindigkeit_einstellen 8 300",
       "Kyro Endgeschwindigkeit_einstellen 8 300", "zelkoCOM Endgeschwindigkeit_einstellen 8 300"},
      {"Rampenlaenge", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Rampenlaenge_einstellen(150); }, l); },
       "Rampenlaenge_einstellen(150)", "Garnet Rampenlaenge_einstellen 150", "TaktRicht Rampenlaenge_einstellen 150",
       "Beryl Rampenlaenge_einstellen 150", "Kyro Rampenlaenge_einstellen 150", "zelkoCOM Rampenlaenge_einstellen 150"},
      {"Referenzgeschwindigkeit",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Referenzgeschwindigkeit_einstellen(350); }, l); },
       "Referenzgeschwindigkeit_einstellen(350)", "Garnet Referenzgeschwindigkeit_einstellen 350",
       "TaktRicht Referenzgeschwindigkeit_einstellen 350",
       "Beryl ReferenzGeschwindigkeit_einstellen 350 | Beryl Referenzachse_einstellen x 0 | "
       "Beryl Referenzachse_einstellen y 0 | Beryl Referenzachse_einstellen z 0",
       "Kyro Referenzgeschwindigkeit_einstellen 350", "zelkoCOM Referenzgeschwindigkeit_einstellen 350"},
      {"Referenzoffset",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Referenzoffset_einstellen('z', 0.25); }, l); },
       "Referenzoffset_einstellen(z,0.25)", "Garnet Referenzoffset_einstellen z 100",
       "TaktRicht Referenzoffset_einstellen z 100", "Beryl Referenzoffset_einstellen z 100", "",
       "zelkoCOM Referenzoffset_einstellen z 100"},
      {"Referenzfahrt",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Referenzfahrt_ausfuehren("zx"); }, l); },
       "Referenzfahrt_ausfuehren(zx)", "Garnet Referenzfahrt_ausfuehren zx", "TaktRicht Referenzfahrt_ausfuehren zx",
       "Beryl Referenzfahrt_ausfuehren zx", "Kyro Referenzfahrt_ausfuehren zx", "zelkoCOM Referenzfahrt_ausfuehren zx"},
      {"Vektorfahrt executed",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Vektorfahrt_ausfuehren(1, 2, 10, -20, 30, 1); }, l); },
       vektorTrace, "Garnet Vektorfahrt_ausfuehren 1 2 10 -20 30", "TaktRicht Vektorfahrt_ausfuehren 1 2 10 -20 30",
       "Beryl Vektorfahrt_ausfuehren 1 2 10 -20 30 1 | Beryl Warten_bis_bereit",
       "Kyro Vektorfahrt_ausfuehren 1 2 10 -20 30 1 | Kyro Warten_bis_bereit",
       "zelkoCOM Vektorfahrt_ausfuehren 1 2 10 -20 30"},
      {"Vektorfahrt not executed",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Vektorfahrt_ausfuehren(1, 0, 5, 0, 0, 0); }, l); },
       "Vektorfahrt_ausfuehren(1,0,    5,    0,    0,0)", "Garnet Vektorfahrt_ausfuehren 1 0 5 0 0",
       "TaktRicht Vektorfahrt_ausfuehren 1 0 5 0 0", "Beryl Vektorfahrt_ausfuehren 1 0 5 0 0 0",
       "Kyro Vektorfahrt_ausfuehren 1 0 5 0 0 0", "zelkoCOM Vektorfahrt_ausfuehren 1 0 5 0 0"},
      {"Achsen_anhalten", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Achsen_anhalten(); }, l); },
       "Achsen_anhalten()", "Garnet Achsen_anhalten", "TaktRicht Achsen_anhalten", "Beryl Achsen_anhalten",
       "Kyro Achsen_anhalten", "zelkoCOM Achsen_anhalten"},
      {"Achsen_sofort_stoppen",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Achsen_sofort_stoppen(); }, l); },
       "Achsen_sofort_stoppen()", "Garnet Achsen_sofort_stoppen", "TaktRicht Achsen_sofort_stoppen",
       "Beryl Achsen_sofort_stoppen", "Kyro Achsen_sofort_stoppen", "zelkoCOM Achsen_sofort_stoppen"},
      {"Ausgang 0", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Ausgangssignal_setzen(0, 1); }, l); },
       "Ausgangssignal_setzen(0,1)", "Garnet Ausgangssignal_setzen 0 1", "TaktRicht Ausgangssignal_setzen 0 1", "",
       "Kyro Ausgangssignal_setzen 0 1", "zelkoCOM Ausgangssignal_setzen 0 1"},
      {"Ausgang 1", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Ausgangssignal_setzen(1, 0); }, l); },
       "Ausgangssignal_setzen(1,0)", "Garnet Ausgangssignal_setzen 1 0", "TaktRicht Ausgangssignal_setzen 1 0",
       "Beryl Ausgangssignal_setzen 1 0", "Kyro Ausgangssignal_setzen 1 0", "zelkoCOM Ausgangssignal_setzen 1 0"},
      {"Ausgang 2", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Ausgangssignal_setzen(2, 1); }, l); },
       "Ausgangssignal_setzen(2,1)", "", "TaktRicht Ausgangssignal_setzen 2 1", "", "",
       "zelkoCOM Ausgangssignal_setzen 2 1"},
      {"Stift senken",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Ausgangssignal_setzen(122, 1); }, l); },
       "Ausgangssignal_setzen(122,1)", "", "TaktRicht Ausgangssignal_setzen 122 1",
       "Beryl Vektorfahrt_ausfuehren 1 0 0 0 1 13", "", "zelkoCOM Ausgangssignal_setzen 122 1"},
      {"Stift heben", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Ausgangssignal_setzen(122, 0); }, l); },
       "Ausgangssignal_setzen(122,0)", "", "TaktRicht Ausgangssignal_setzen 122 0",
       "Beryl Vektorfahrt_ausfuehren 1 0 0 0 -1 13", "", "zelkoCOM Ausgangssignal_setzen 122 0"},
      {"Programmdurchlaeufe",
       [](CommandLayer& l) { return none([](CommandLayer& c) { c.Programmdurchlaeufe_hinterlegen(3); }, l); },
       "Programmdurchlaeufe_hinterlegen(3)",
       "",
       "",
       "",
       "",
       "",
       "",
       {{5, "zelkoCOM Programmdurchlaeufe_hinterlegen 3"}, {6, "zelkoCOM Programmdurchlaeufe_hinterlegen 3"}}},
      {"Befehle_ausfuehren", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Befehle_ausfuehren(); }, l); },
       "", "", "", "Beryl Befehl_senden  1 | Beryl Antwort_lesen | Beryl Warten_bis_bereit",
       "Kyro Befehl_senden  1 | Kyro Antwort_lesen | Kyro Warten_bis_bereit", ""},
      {"Warten_bis_bereit", [](CommandLayer& l) { return none([](CommandLayer& c) { c.Warten_bis_bereit(); }, l); }, "",
       "", "", "Beryl Warten_bis_bereit", "Kyro Warten_bis_bereit", ""},
      {"Eingang", [](CommandLayer& l) { return std::string(l.Eingang_abfragen(12) ? "true" : "false"); }, "",
       "Garnet Eingang_abfragen 12 | = true", "TaktRicht Eingang_abfragen 12 | = true", "= false", "= false", "= false",
       "= false"},
  };

  for (const auto& row : rows) {
    for (int type : kAllTypes) {
      CommandLayerRig rig(type);
      rig.params.Steuersignal = 0;
      rig.params.Schrittbetrieb = 1;
      rig.params.Ruhestrom = 2;
      rig.params.ZBetrieb = 2;
      rig.params.UBetrieb = 1;
      rig.createAllBackends();
      rig.factory.garnet->positions[1] = 11;
      rig.factory.taktRicht->positions[1] = 12;
      rig.factory.beryl->value = 13;
      rig.factory.kyro->value = 14;
      rig.factory.zelkoCOM->setPosition(0, 15, 0);

      const std::string result = row.op(rig.layer);
      std::string actual = rig.calls();
      if (!result.empty()) actual += (actual.empty() ? "= " : " | = ") + result;
      EXPECT_EQ(actual, expectedFor(row, type)) << row.name << ", type " << type;

      const auto trace = CommandLayerRig::traceLines();
      if (row.trace.empty()) {
        EXPECT_TRUE(trace.empty()) << row.name << ", type " << type;
      } else {
        EXPECT_EQ(trace, std::vector<std::string>{row.trace}) << row.name << ", type " << type;
      }
    }
  }
}

TEST(CommandLayerDispatch, MissingBackEndFailsCommandsButNotQueriesOrStops) {
  // The type was changed without a connection step: no object serves it.
  for (int type : {0, 1, 2, 3, 5, 10}) {
    CommandLayerRig rig(type);
    auto& l = rig.layer;
    const std::function<void()> commands[] = {
        [&] { l.Reset_durchfuehren(); },
        [&] { l.Version_abfragen(); },
        [&] { l.Startgeschwindigkeit_einstellen(200); },
        [&] { l.Endgeschwindigkeit_einstellen(1, 400); },
        [&] { l.Rampenlaenge_einstellen(200); },
        [&] { l.Referenzgeschwindigkeit_einstellen(400); },
        [&] { l.Referenzfahrt_ausfuehren("x"); },
        [&] { l.Vektorfahrt_ausfuehren(1, 1, 0, 5, 0, 1); },
        [&] { l.Vektorfahrt_ausfuehren(0, 1, 0, 0, 0, 1); },
        [&] { l.Ausgangssignal_setzen(1, 1); },
    };
    for (std::size_t i = 0; i < std::size(commands); ++i) {
      try {
        commands[i]();
        ADD_FAILURE() << "command " << i << " reported success, type " << type;
      } catch (int code) {
        EXPECT_EQ(code, machine::HANDLE_COM_PORT_ERROR) << "command " << i << ", type " << type;
      }
    }

    EXPECT_EQ(l.Position_abfragen('x'), 0) << type;
    EXPECT_FALSE(l.Eingang_abfragen(10)) << type;
    EXPECT_FALSE(l.Steuerung_verbinden("0x378")) << type;
    EXPECT_NO_THROW(l.Steuerung_trennen()) << type;
    EXPECT_NO_THROW(l.Achsen_sofort_stoppen()) << type;
    // A relative move of nothing needs no back-end.
    EXPECT_NO_THROW(l.Vektorfahrt_ausfuehren(1, 1, 0, 0, 0, 1)) << type;
    EXPECT_NO_THROW(l.Achsen_anhalten()) << type;
    EXPECT_TRUE(rig.stop.load()) << type;
  }
}

}  // namespace
