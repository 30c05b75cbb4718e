// The two firmware menu commands: the controller's firmware through `ranvik`, and the USB I/O
// module's through its own bootloader tool.
#include <filesystem>
#include <optional>
#include <system_error>

#include "MainForm.h"
#include "machine/TraceLog.h"

namespace app {

namespace {

constexpr const char* kRanvik = "Firmware/ranvik";
constexpr const char* kUsbIoBootloader = "Firmware/PIC32UBL";

// The tool at `relativePath` below the working folder, where it has always been looked for, or
// else below the program's own folder, where an installed program keeps it.
std::optional<std::filesystem::path> findTool(const char* relativePath, const std::filesystem::path& executable) {
  std::error_code ec;
  const std::filesystem::path working = std::filesystem::current_path(ec);
  for (const std::filesystem::path& folder : {working, executable.parent_path()}) {
    if (folder.empty()) continue;
    const std::filesystem::path tool = folder / relativePath;
    if (std::filesystem::is_regular_file(tool, ec)) return std::filesystem::absolute(tool, ec);
  }
  return std::nullopt;
}

}  // namespace

void TMainForm::MenuFirmwareEinspielenOnClick() {
  FirmwareToolStarten("Möchten Sie die Firmware wirklich neu einspielen?\n", kRanvik);
}

void TMainForm::MenuUSBIOFirmwareOnClick() {
  FirmwareToolStarten("Möchten Sie die USB-IO-Firmware wirklich neu einspielen?\n", kUsbIoBootloader);
}

void TMainForm::FirmwareToolStarten(const char* question, const char* relativePath) {
  // The link belongs to a running job until it ends.
  if (laeuft_) return;
  if (services_.ui.messageBox(question, kProgrammname, platform::MsgButtons::YesNo, platform::MsgIcon::Question) !=
      platform::MsgResult::Yes)
    return;
  const auto tool = findTool(relativePath, services_.executable);
  if (!tool) {
    services_.ui.Beep(440, 100);
    return;
  }

  // The tool needs the serial port this program holds.
  try {
    machine::Maschinenparameter p = services_.params.snapshot();
    machine::CommandLayer(p, backends_, services_.params.bAbbruch).Steuerung_trennen();
  } catch (int code) {
    machine::Protokoll_schreiben("FirmwareToolStarten(): Steuerung_trennen: Fehlercode " + std::to_string(code));
  }
  bSteuerungVerbunden = false;
  services_.params.update([](machine::Maschinenparameter& p) { p.Verbindungstext.clear(); });
  // Menus, start button and status bar follow the lost connection.
  EnableWinKomponenten(false);
  RightPageControlOnChange();

  if (!services_.ui.startProgram(tool->string())) {
    machine::Protokoll_schreiben("FirmwareToolStarten(): " + tool->string() + " startet nicht");
    services_.ui.Beep(440, 100);
  }
}

}  // namespace app
