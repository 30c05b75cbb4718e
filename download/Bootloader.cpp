// Stages A to C of the bootloader protocol and the frame exchange of stage D.
#include "Bootloader.h"

#include <algorithm>

namespace download {

namespace {

using std::chrono::milliseconds;

constexpr int kFirstBaud = 115200;
constexpr int kBootBaud = 9600;
constexpr int kProbeRounds = 10;
constexpr milliseconds kProbePause{75};
constexpr milliseconds kJumpPause{2000};
constexpr milliseconds kEnterDelay{500};
constexpr milliseconds kEnteredPause{50};
// The pauses are slept in slices so that a cancel ends them soon.
constexpr milliseconds kPauseSlice{50};
constexpr std::size_t kIdBytes = 8;
// The firmware's command to jump into the bootloader: "@()" CR.
constexpr char kJumpCommand[] = {0x40, 0x28, 0x29, kCr};

std::string openFailureText(const std::string& devicePath) {
  return "\nSerielle Schnittstelle COM" + devicePath + " kann nicht geöffnet werden !\n";
}

}  // namespace

bool Bootloader::pause(milliseconds duration) {
  while (duration.count() > 0) {
    if (link_.cancelled()) return false;
    const milliseconds slice = std::min(duration, kPauseSlice);
    clock_.sleepMillis(slice.count());
    duration -= slice;
  }
  return !link_.cancelled();
}

bool Bootloader::openOrReport(const std::string& portName, int baudrate) {
  if (link_.OpenComPort(portName, baudrate)) return true;
  reporter_.status(portName.empty() ? std::string(kStatusPortNotOpened) : kStatusPortNotOpened + (" " + portName));
  reporter_.message(openFailureText(link_.devicePath()), kCaptionFehler, platform::MsgIcon::Error);
  return false;
}

int Bootloader::probe(DownloadResult& failure) {
  for (int round = 0; round < kProbeRounds; ++round) {
    if (!link_.WriteBytes(std::string(1, kCr))) {
      failure = link_.cancelled() ? DownloadResult::Cancelled : DownloadResult::WriteError;
      return -1;
    }
    const std::string answer = link_.ReadBytes(1, timing_.probeAnswer);
    if (!pause(kProbePause)) {
      failure = DownloadResult::Cancelled;
      return -1;
    }
    if (answer == std::string(1, kAck) || answer == "E") return round;
  }
  return -1;
}

DownloadResult Bootloader::wakeUp(const std::string& portName) {
  for (int cycle = 0; cycle < timing_.wakeCycles; ++cycle) {
    for (const int baudrate : {kFirstBaud, kBootBaud}) {
      if (link_.cancelled()) return DownloadResult::Cancelled;
      if (!openOrReport(portName, baudrate)) return DownloadResult::PortNotOpened;
      link_.PurgeComPort();
      DownloadResult failure = DownloadResult::Success;
      const int round = probe(failure);
      if (failure != DownloadResult::Success) {
        link_.CloseComPort();
        return failure;
      }
      // An answer that only came in the last round is not trusted: the controller may just be
      // starting up.
      if (round >= 0 && round < kProbeRounds - 1) {
        if (baudrate == kBootBaud) link_.PurgeComPort();
        if (!link_.WriteBytes(std::string_view(kJumpCommand, sizeof kJumpCommand))) {
          link_.CloseComPort();
          return link_.cancelled() ? DownloadResult::Cancelled : DownloadResult::WriteError;
        }
        link_.ReadBytes(1, timing_.probeAnswer);
        const bool waited = pause(kJumpPause);
        link_.CloseComPort();
        return waited ? DownloadResult::Success : DownloadResult::Cancelled;
      }
      link_.CloseComPort();
    }
  }
  return DownloadResult::NoAnswer;
}

DownloadResult Bootloader::enter(const std::string& portName) {
  if (!pause(kEnterDelay)) return DownloadResult::Cancelled;
  if (!openOrReport(portName, kBootBaud)) {
    reporter_.message(kBoxPortNotOpened, kCaptionInformation, platform::MsgIcon::Information);
    return DownloadResult::PortNotOpened;
  }
  link_.PurgeComPort();
  bool acknowledged = false;
  for (int probe = 0; probe < timing_.bootProbes && !acknowledged; ++probe) {
    if (!link_.WriteBytes(std::string(1, kCr)))
      return link_.cancelled() ? DownloadResult::Cancelled : DownloadResult::WriteError;
    acknowledged = link_.ReadBytes(1, timing_.probeAnswer) == std::string(1, kAck);
    if (!pause(kProbePause)) return DownloadResult::Cancelled;
  }
  if (!acknowledged) return DownloadResult::BootloaderSilent;

  link_.PurgeComPort();
  if (!link_.WriteBytes(std::string_view(kEnterCommand, sizeof kEnterCommand)))
    return link_.cancelled() ? DownloadResult::Cancelled : DownloadResult::WriteError;
  // The bootloader's answer carries nothing the download needs; a missing one shows at the
  // identification.
  link_.ReadBytes(1, timing_.answer + link_.lineTime(sizeof kEnterCommand + 1));
  return pause(kEnteredPause) ? DownloadResult::Success : DownloadResult::Cancelled;
}

DownloadResult Bootloader::ReadDeviceId(const DeviceEntry*& device, std::uint16_t& id, std::uint16_t& revision) {
  device = nullptr;
  reporter_.status(kStatusReadingTargetDevice);
  link_.PurgeComPort();
  if (!link_.WriteBytes(std::string(1, static_cast<char>(kCmdReadId))))
    return link_.cancelled() ? DownloadResult::Cancelled : DownloadResult::WriteError;
  const std::string answer = link_.ReadBytes(kIdBytes, timing_.answer + link_.lineTime(1 + kIdBytes));
  if (link_.cancelled()) return DownloadResult::Cancelled;
  if (answer.size() < kIdBytes) return DownloadResult::BootloaderSilent;
  const auto byte = [&](std::size_t i) { return static_cast<std::uint16_t>(static_cast<unsigned char>(answer[i])); };
  id = static_cast<std::uint16_t>(byte(0) + 256 * byte(1));
  revision = static_cast<std::uint16_t>(byte(5) >> 4);
  device = findDevice(id, revision);
  if (device == nullptr) return DownloadResult::UnknownDevice;
  reporter_.status(kStatusFoundDevice);
  return DownloadResult::Success;
}

std::string Bootloader::readProgram(std::uint32_t wordAddress, int instructions) {
  link_.PurgeComPort();
  std::string command(1, static_cast<char>(kCmdReadProgram));
  command.push_back(static_cast<char>(wordAddress & 0xFF));
  command.push_back(static_cast<char>((wordAddress >> 8) & 0xFF));
  command.push_back(static_cast<char>((wordAddress >> 16) & 0xFF));
  if (!link_.WriteBytes(command)) return {};
  reporter_.status(kStatusReadingTarget);
  const std::size_t bytes = 3 * static_cast<std::size_t>(std::max(0, instructions));
  return link_.ReadBytes(bytes, timing_.answer + link_.lineTime(command.size() + bytes));
}

RowAnswer Bootloader::writeFrame(const std::string& frame) {
  if (link_.cancelled()) return RowAnswer::Cancelled;
  link_.PurgeComPort();
  if (!link_.WriteBytes(frame)) return link_.cancelled() ? RowAnswer::Cancelled : RowAnswer::WriteError;
  const std::string answer = link_.ReadBytes(1, timing_.answer + link_.lineTime(frame.size() + 1));
  if (link_.cancelled()) return RowAnswer::Cancelled;
  if (answer.empty()) return RowAnswer::Silent;
  return answer == std::string(1, kRowAccepted) ? RowAnswer::Accepted : RowAnswer::Refused;
}

void Bootloader::settle() { link_.drain(timing_.quiet, timing_.answer); }

bool Bootloader::leave() { return link_.WriteBytes(std::string(1, static_cast<char>(kCmdLeave))); }

}  // namespace download
