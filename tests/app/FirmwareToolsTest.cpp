// The firmware menu commands: the question, the closed controller link and the started tool,
// or a beep when the tool is not there or does not start.
#include <filesystem>
#include <fstream>
#include <ostream>

#include "MainFormFixture.h"

namespace {

using apptest::MainFormTest;
using platform::MsgResult;
using testsupport::UiCall;

struct ToolCase {
  const char* name;
  void (app::TMainForm::*handler)();
  const char* question;
  const char* tool;
};

void PrintTo(const ToolCase& c, std::ostream* os) { *os << c.name; }

class FirmwareTool : public MainFormTest, public ::testing::WithParamInterface<ToolCase> {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    factory_.attached = true;
    start();
    ASSERT_TRUE(form().bSteuerungVerbunden);
    ui_.clear();
  }

  // The tool beside the program, as the build puts it.
  std::filesystem::path placeTool() {
    const auto tool = folder() / GetParam().tool;
    std::filesystem::create_directories(tool.parent_path());
    std::ofstream(tool) << "#!/bin/sh\n";
    return tool;
  }

  void click() { (form().*GetParam().handler)(); }

  void expectStillConnected() {
    EXPECT_TRUE(form().bSteuerungVerbunden);
    EXPECT_TRUE(factory_.controller.callsStartingWith("UnInit").empty());
  }
};

TEST_P(FirmwareTool, AskedYesClosesTheLinkAndStartsTheTool) {
  const auto tool = placeTool();
  ui_.pushAnswer(MsgResult::Yes);
  click();
  const auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, UiCall::Kind::MessageBox);
  EXPECT_EQ(calls[0].text, GetParam().question);
  EXPECT_EQ(calls[0].caption, "Tessaly");
  EXPECT_EQ(calls[0].buttons, platform::MsgButtons::YesNo);
  EXPECT_EQ(calls[1].kind, UiCall::Kind::StartProgram);
  EXPECT_EQ(std::filesystem::path(calls[1].text), tool);

  EXPECT_FALSE(form().bSteuerungVerbunden);
  EXPECT_EQ(factory_.controller.callsStartingWith("UnInit").size(), 1u);
  // Nothing offers the controller any more: the status bar says so and nothing can start.
  EXPECT_EQ(form().StatusBar[0], "--- keine Verbindung ---");
  EXPECT_FALSE(form().FraesenStartenBitBtn.Enabled);
  // The menus that need the controller follow at once.
  EXPECT_FALSE(form().MenuSteuerung.Enabled);
  EXPECT_FALSE(form().MenuFestwertspeicherLoeschen.Enabled);
  EXPECT_FALSE(form().MenuAusgabeInFestwertspeicher.Enabled);
}

TEST_P(FirmwareTool, AskedNoOrAnsweredByReturnChangesNothing) {
  placeTool();
  ui_.pushAnswer(MsgResult::No);
  click();
  EXPECT_EQ(ui_.calls().size(), 1u);
  expectStillConnected();

  // Return presses No: the download is started only by a deliberate Yes.
  ui_.pushReturn();
  click();
  const auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].kind, UiCall::Kind::MessageBox);
  EXPECT_EQ(calls[1].defaultButton, MsgResult::No);
  expectStillConnected();
}

TEST_P(FirmwareTool, AMissingToolOnlyBeeps) {
  ui_.pushAnswer(MsgResult::Yes);
  click();
  const auto beeps = ui_.beeps();
  ASSERT_EQ(beeps.size(), 1u);
  EXPECT_EQ(beeps[0].hz, 440u);
  EXPECT_EQ(beeps[0].ms, 100u);
  EXPECT_EQ(ui_.calls().size(), 2u);
  expectStillConnected();
}

TEST_P(FirmwareTool, AToolThatDoesNotStartBeepsAfterTheLinkWasClosed) {
  placeTool();
  ui_.setStartProgramResult(false);
  ui_.pushAnswer(MsgResult::Yes);
  click();
  EXPECT_EQ(ui_.beeps().size(), 1u);
  EXPECT_FALSE(form().bSteuerungVerbunden);
}

// The USB I/O module's bootloader tool as its maker ships it counts only where it may be run.
TEST_F(MainFormTest, TheUsbIoToolWithItsExeNameStartsOnlyWhenExecutable) {
  factory_.attached = true;
  start();
  ui_.clear();
  const auto tool = folder() / "Firmware/PIC32UBL.exe";
  std::filesystem::create_directories(tool.parent_path());
  std::ofstream(tool) << "MZ";
  std::filesystem::permissions(tool, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ui_.pushAnswer(MsgResult::Yes);
  form().MenuUSBIOFirmwareOnClick();
  EXPECT_EQ(ui_.beeps().size(), 1u);
  EXPECT_TRUE(form().bSteuerungVerbunden);

  std::filesystem::permissions(tool, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
  ui_.clear();
  ui_.pushAnswer(MsgResult::Yes);
  form().MenuUSBIOFirmwareOnClick();
  EXPECT_TRUE(ui_.beeps().empty());
  const auto calls = ui_.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].kind, UiCall::Kind::StartProgram);
  EXPECT_EQ(std::filesystem::path(calls[1].text), tool);
}

INSTANTIATE_TEST_SUITE_P(
    Menus, FirmwareTool,
    ::testing::Values(ToolCase{"Controller", &app::TMainForm::MenuFirmwareEinspielenOnClick,
                               "Möchten Sie die Firmware wirklich neu einspielen?\n", "Firmware/ranvik"},
                      ToolCase{"UsbIo", &app::TMainForm::MenuUSBIOFirmwareOnClick,
                               "Möchten Sie die USB-IO-Firmware wirklich neu einspielen?\n", "Firmware/PIC32UBL"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
