// The download from the start button to its result.
#include "DownloadFlow.h"

#include <cstdio>

#include "download/HexImage.h"
#include "download/ProgramDevice.h"

namespace download {

namespace {

std::string badHexText(const HexReadResult& hex) {
  if (hex.line <= 0) return "Die Hex-Datei ist fehlerhaft!";
  return "Die Hex-Datei ist fehlerhaft (Zeile " + std::to_string(hex.line) + ")!";
}

std::string hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFFu);
  return text;
}

// Status text and box of a failure that has no message of its own yet.
void reportFailure(DownloadReporter& reporter, DownloadResult result, bool rowsSent) {
  const char* status = nullptr;
  const char* box = nullptr;
  switch (result) {
    case DownloadResult::NoAnswer:
      status = kStatusNoAnswer;
      box = kBoxNoAnswer;
      break;
    case DownloadResult::BootloaderSilent:
      status = kStatusBootloaderSilent;
      box = kBoxBootloaderSilent;
      break;
    case DownloadResult::WriteRefused:
      status = kStatusWriteRefused;
      box = kBoxWriteRefused;
      break;
    case DownloadResult::WriteError:
      status = kStatusWriteError;
      box = kBoxWriteError;
      break;
    case DownloadResult::Cancelled:
      status = kStatusCancelled;
      box = kBoxCancelled;
      break;
    default:
      return;
  }
  reporter.status(status);
  std::string text = box;
  if (rowsSent) text += kBoxIncomplete;
  reporter.message(text, kCaptionFehler,
                   result == DownloadResult::Cancelled ? platform::MsgIcon::Warning : platform::MsgIcon::Error);
}

}  // namespace

DownloadResult runDownload(const DownloadRequest& request, ComLink& link, platform::Clock& clock,
                           DownloadReporter& reporter, const BootTiming& timing) {
  // The file first: a file that cannot be written in whole must not even wake the controller.
  reporter.status(kStatusReadingHexFile);
  const HexFileResult file = loadHexFile(request.hexFile);
  if (!file.opened) {
    reporter.status(kStatusHexFileNotOpened);
    reporter.message(kBoxHexFileNotOpened, kCaptionInformation, platform::MsgIcon::Information);
    return DownloadResult::HexFileNotOpened;
  }
  if (!file.hex.ok) {
    reporter.status(kStatusBadHexFile);
    reporter.message(badHexText(file.hex), kCaptionFehler, platform::MsgIcon::Error);
    return DownloadResult::BadHexFile;
  }

  Bootloader boot(link, clock, reporter, timing);
  DownloadResult result = boot.wakeUp(request.portName);
  if (result == DownloadResult::Success) result = boot.enter(request.portName);
  if (result != DownloadResult::Success) {
    link.CloseComPort();
    reportFailure(reporter, result, false);
    return result;
  }

  // From here on the controller sits in its bootloader: a download that stops before any row
  // was written lets it start its unchanged firmware again.
  const auto stopUntouched = [&](DownloadResult failure) {
    if (!link.cancelled()) boot.leave();
    link.CloseComPort();
    return failure;
  };

  const DeviceEntry* device = nullptr;
  std::uint16_t id = 0;
  std::uint16_t revision = 0;
  result = boot.ReadDeviceId(device, id, revision);
  if (result == DownloadResult::UnknownDevice) {
    reporter.status(kStatusUnknownDevice);
    reporter.message("Unbekannter Mikrocontroller (Kennung " + hex4(id) + ", Revision " + std::to_string(revision) +
                         ")!\nEs wurde nichts übertragen.",
                     kCaptionFehler, platform::MsgIcon::Error);
    return stopUntouched(result);
  }
  if (result != DownloadResult::Success) {
    reportFailure(reporter, result, false);
    return stopUntouched(result);
  }

  reporter.status(kStatusRunning);
  std::vector<MemoryRow> rows;
  if (!buildRows(file.hex.blocks, device->family, rows)) {
    reporter.status(kStatusBadHexFile);
    reporter.message(
        std::string("Die Hex-Datei passt nicht zum Mikrocontroller ") + device->name + "!\nEs wurde nichts übertragen.",
        kCaptionFehler, platform::MsgIcon::Error);
    return stopUntouched(DownloadResult::BadHexFile);
  }

  const ProgramOutcome outcome = ProgramDevice(boot, rows);
  if (outcome.result != DownloadResult::Success) {
    reportFailure(reporter, outcome.result, outcome.rowsSent);
    if (!outcome.rowsSent) return stopUntouched(outcome.result);
    link.CloseComPort();
    return outcome.result;
  }
  link.CloseComPort();
  reporter.status(kStatusFinished);
  reporter.message(kBoxSuccess, kCaptionInformation, platform::MsgIcon::Information);
  return DownloadResult::Success;
}

}  // namespace download
