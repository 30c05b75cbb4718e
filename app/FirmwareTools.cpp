// The two firmware menu commands: the controller's firmware through `ranvik`, and the USB I/O
// module's through its own bootloader tool.
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "MainForm.h"
#include "machine/TraceLog.h"

namespace app {

namespace {

constexpr const char* kRanvik = "Firmware/ranvik";
constexpr const char* kUsbIoBootloader = "Firmware/PIC32UBL";
// The bootloader tool as its maker ships it; started only where the system can run it.
constexpr const char* kUsbIoBootloaderExe = "Firmware/PIC32UBL.exe";

bool istAusfuehrbar(const std::filesystem::path& file) {
  std::error_code ec;
  const auto perms = std::filesystem::status(file, ec).permissions();
  if (ec) return false;
  using std::filesystem::perms;
  return (perms & (perms::owner_exec | perms::group_exec | perms::others_exec)) != perms::none;
}

// The first tool of `relativePaths` below the working folder, where it has always been looked
// for, or else below the program's own folder, where an installed program keeps it. A tool named
// ".exe" counts only when it may be executed.
std::optional<std::filesystem::path> findTool(std::initializer_list<const char*> relativePaths,
                                              const std::filesystem::path& executable) {
  std::error_code ec;
  const std::filesystem::path working = std::filesystem::current_path(ec);
  for (const std::filesystem::path& folder : {working, executable.parent_path()}) {
    if (folder.empty()) continue;
    for (const char* relativePath : relativePaths) {
      const std::filesystem::path tool = folder / relativePath;
      if (!std::filesystem::is_regular_file(tool, ec)) continue;
      if (tool.extension() == ".exe" && !istAusfuehrbar(tool)) continue;
      return std::filesystem::absolute(tool, ec);
    }
  }
  return std::nullopt;
}

}  // namespace

void TMainForm::MenuFirmwareEinspielenOnClick() {
  FirmwareToolStarten("Möchten Sie die Firmware wirklich neu einspielen?\n", {kRanvik});
}

void TMainForm::MenuUSBIOFirmwareOnClick() {
  FirmwareToolStarten("Möchten Sie die USB-IO-Firmware wirklich neu einspielen?\n",
                      {kUsbIoBootloader, kUsbIoBootloaderExe});
}

void TMainForm::FirmwareToolStarten(const char* question, std::initializer_list<const char*> relativePaths) {
  // The link belongs to a running job until it ends.
  if (laeuft_) return;
  if (services_.ui.messageBox(question, kProgrammname, platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                              platform::MsgResult::No) != platform::MsgResult::Yes)
    return;
  const auto tool = findTool(relativePaths, services_.executable);
  if (!tool) {
    services_.ui.Beep(440, 100);
    return;
  }

  // The tool needs the serial port this program holds.
  steuerungTrennen("FirmwareToolStarten()");
  services_.params.update([](machine::Maschinenparameter& p) { p.Verbindungstext.clear(); });
  // Menus, start button and status bar follow the lost connection.
  EnableWinKomponenten(false);
  MenuGestaltung(MenuOeffnen.Enabled);
  RightPageControlOnChange();

  if (!services_.ui.startProgram(tool->string())) {
    machine::Protokoll_schreiben("FirmwareToolStarten(): " + tool->string() + " startet nicht");
    services_.ui.Beep(440, 100);
  }
}

}  // namespace app
