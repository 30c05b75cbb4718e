// The bootloader protocol of the controller's microcontroller: waking the running firmware and
// making it jump into the bootloader (stage A), entering the bootloader (stage B), identifying
// the part (stage C), and the frames of the row writes (stage D, driven by ProgramDevice).
//
// Every wait has a deadline and every loop a bound (BootTiming); a cancelled link ends each of
// them at once. The fixed pauses the controller needs go through the injected clock.
//
// Thread context: the download's worker thread. Ownership: the link, clock and reporter are
// borrowed and must outlive the object.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "download/ComLink.h"
#include "download/DeviceTable.h"
#include "download/DownloadReporter.h"
#include "download/DownloadResult.h"
#include "platform/Clock.h"

namespace download {

inline constexpr char kAck = 0x06;
inline constexpr char kCr = 0x0D;
inline constexpr std::uint8_t kCmdReadProgram = 0x02;
inline constexpr std::uint8_t kCmdLeave = 0x08;
inline constexpr std::uint8_t kCmdReadId = 0x09;
// The answer byte of an accepted row.
inline constexpr char kRowAccepted = 0x01;

// The bootloader's fixed entry sequence: a leading byte, two control bytes, the controller
// model's word, a suffix, a control byte and CR.
inline constexpr char kEnterCommand[] = {'#', 0x02, 0x05, 'Z', 'E', 'L', 'K', 'B', 'T', 'L', 0x03, kCr};

struct BootTiming {
  // Stage A: cycles of both speeds before the controller counts as not answering.
  int wakeCycles = 3;
  // Wait for the answer to one CR probe (the fixed pause of the protocol follows it).
  std::chrono::milliseconds probeAnswer{50};
  // Stage B: CR probes until the bootloader answers ACK.
  int bootProbes = 40;
  // A frame's answer may come this long after the line has carried the frame and the answer.
  std::chrono::milliseconds answer{2000};
  // After a wrong or missing answer the line must stay quiet this long before the next frame.
  std::chrono::milliseconds quiet{30};
  // Whole sends of one row, and starts of the configuration register sequence.
  int rowAttempts = 5;
  int configAttempts = 3;
};

// The answer to a row write: accepted, another byte, or none within the deadline.
enum class RowAnswer { Accepted, Refused, Silent, WriteError, Cancelled };

class Bootloader {
 public:
  Bootloader(ComLink& link, platform::Clock& clock, DownloadReporter& reporter, BootTiming timing)
      : link_(link), clock_(clock), reporter_(reporter), timing_(timing) {}

  // Stage A: wakes the firmware at 115200, then 9600 baud, a bounded number of cycles, and tells
  // it to jump into its bootloader. The port is closed afterwards.
  DownloadResult wakeUp(const std::string& portName);
  // Stage B: opens the port at 9600 baud, waits for the bootloader's ACK and enters it. The port
  // stays open.
  DownloadResult enter(const std::string& portName);
  // Stage C: the part's identifier and revision, looked up in the device table; `device` is set
  // on Success. An unknown part ends with its message.
  DownloadResult ReadDeviceId(const DeviceEntry*& device, std::uint16_t& id, std::uint16_t& revision);
  // The first `instructions` instructions of program memory, 3 bytes each as the device sends
  // them; fewer bytes when the device does not answer in time.
  std::string readProgram(std::uint32_t wordAddress, int instructions);
  // Purges, sends `frame` and takes its one-byte answer.
  RowAnswer writeFrame(const std::string& frame);
  // Drops what is left of a wrong answer, so that it cannot pass for the next one.
  void settle();
  // Tells the bootloader to start the firmware.
  bool leave();

  ComLink& link() { return link_; }
  const BootTiming& timing() const { return timing_; }
  DownloadReporter& reporter() { return reporter_; }

 private:
  // The CR probes of one wake-up attempt; the round (0-based) whose byte was ACK or 'E', or -1.
  int probe(DownloadResult& failure);
  // A pause of the protocol, cut short by a cancel.
  bool pause(std::chrono::milliseconds duration);
  bool openOrReport(const std::string& portName, int baudrate);

  ComLink& link_;
  platform::Clock& clock_;
  DownloadReporter& reporter_;
  BootTiming timing_;
};

}  // namespace download
