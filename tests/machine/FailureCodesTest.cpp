// Tests of the failure-code texts and the warning box that reports a code.
#include <gtest/gtest.h>

#include <string>

#include "machine/FailureCodes.h"
#include "support/ScriptedUi.h"

namespace {

TEST(FehlerMeldung, ShowsTheTextOfEachCodeInAWarningBox) {
  struct Case {
    int code;
    std::string text;
  };
  const Case cases[] = {
      {1001, "COM_PORT_ERROR"},
      {1002, "HANDLE_COM_PORT_ERROR"},
      {1003, "SEND_REQ_ERROR"},
      {1004, "### default ###"},
      {1005, "### default ###"},
      {1006, "COMMUNICATION_ERROR"},
      {1007, "OUT_OF_RANGE"},
      {1008, "NAK_ERROR"},
      {1009, "ACK_ERROR"},
      {1010, "RS_ERROR"},
      {1011, "WAIT_ABANDONED"},
      {1012, "WAIT_TIMEOUT"},
      {1013, "WAIT_FAILED"},
      {1014, "### default ###"},
      {1020, "### default ###"},
      {1021, "### unbekannter Befehl ###"},
      {1022, "### ungültige Programm-Nr. ###"},
      {1023, "### ungültiger FAT-Eintrag ###"},
      {1024, "### Speicherüberlauf ... ###"},
      {1025, "### Programm-Nr. bereits vorhanden ###"},
      {1026, "### ungültiger Parameter ###"},
      {1027, "### Arbeitsbereich verlassen ###"},
      {1028, "### max. ProgrammHeader/Befehls-Länge von 256 Bytes überschritten ###"},
      {1029, "### default ###"},
      {1030, "### Fahrweg außerhalb des Schrittbereichs der Steuerung ###"},
      {1031, "MOVE_REFUSED"},
      {1032, "LIMIT_SWITCH_STOP"},
      {1033, "### default ###"},
      {1040, "### Messtaster innerhalb des Messwegs nicht geschaltet ###"},
      {1119, "### Encoder-Positions-Fehler ###"},
      {0, "### default ###"},
      {-1, "### default ###"},
      {1999, "### default ###"},
      {2001, "### default ###"},
  };
  for (const auto& c : cases) {
    testsupport::ScriptedUi ui;
    machine::Fehler_Meldung(ui, c.code, "Referenzfahrt");
    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << c.code;
    EXPECT_EQ(boxes[0].text, c.text) << c.code;
    EXPECT_EQ(boxes[0].caption, "Referenzfahrt") << c.code;
    EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning) << c.code;
    EXPECT_EQ(boxes[0].buttons, platform::MsgButtons::Ok) << c.code;
  }
}

TEST(FehlerMeldung, UserAbortShowsNothing) {
  testsupport::ScriptedUi ui;
  machine::Fehler_Meldung(ui, machine::USER_ABORT, "Tessaly");
  EXPECT_TRUE(ui.calls().empty());
}

TEST(FehlertextSteuerung, NamesOfCommunicationFailuresAreNotControllerTexts) {
  EXPECT_EQ(machine::Fehlertext_Steuerung(machine::WAIT_TIMEOUT), "### default ###");
  EXPECT_EQ(machine::Fehlertext_Steuerung(machine::USER_ABORT), "### default ###");
  EXPECT_EQ(machine::Fehlertext_Steuerung(1021), "### unbekannter Befehl ###");
}

}  // namespace
