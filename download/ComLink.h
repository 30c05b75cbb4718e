// The serial link of the download utility: one port at a time, opened by its "COMn" name at
// 115200 or 9600 baud, 8N1, raw, DTR and RTS off, exclusive to this process.
//
// Thread context: the download's worker thread makes every call except cancel, which any thread
// may make (it wakes a read in progress, and every wait after it returns at once). Writes and
// reads block at most until their deadlines. The link owns its port and closes it on
// destruction.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/SerialPort.h"

namespace download {

// The device path of a port name "COM1" ... "COM255"; empty for any other name.
std::string comPortDevice(const std::string& portName);

class ComLink {
 public:
  ComLink() = default;
  ~ComLink();
  ComLink(const ComLink&) = delete;
  ComLink& operator=(const ComLink&) = delete;

  // Closes an open port, then opens `portName` at `baudrate`. False when it cannot be opened.
  bool OpenComPort(const std::string& portName, int baudrate);
  // The device the last OpenComPort tried, and why it failed.
  const std::string& devicePath() const { return devicePath_; }
  platform::SerialOpenError openError() const { return openError_; }
  void CloseComPort();
  bool isOpen() const;
  // Discards what was received but not read and what was written but not sent.
  void PurgeComPort();
  // Writes every byte; false when the port is closed, the write fails or runs past its line
  // time with a margin, or the download was cancelled.
  bool WriteBytes(std::string_view bytes);
  // Gathers bytes until `n` have arrived, `wait` has passed, the download was cancelled or the
  // line hung up; returns what arrived (fewer than `n` on any of the latter). Each round takes
  // what is waiting, up to what is still wanted, so there is no ReadAvailable of its own; the
  // deadline takes the place of a count of tries.
  std::string ReadBytes(std::size_t n, std::chrono::milliseconds wait);
  // Drops input until nothing has come for `quiet`, or `limit` has passed.
  void drain(std::chrono::milliseconds quiet, std::chrono::milliseconds limit);

  // Time the line takes for `bytes` bytes at the open speed (10 bits each), rounded up.
  std::chrono::milliseconds lineTime(std::size_t bytes) const;
  int baudrate() const { return baudrate_; }

  void cancel();
  bool cancelled() const { return cancelled_.load(); }

  // Bytes written over the link's life, on every port it opened.
  std::uint64_t bytesWritten() const { return bytesWritten_.load(); }

 private:
  std::shared_ptr<platform::SerialPort> port() const;

  mutable std::mutex mutex_;
  std::shared_ptr<platform::SerialPort> port_;
  std::string devicePath_;
  platform::SerialOpenError openError_ = platform::SerialOpenError::None;
  int baudrate_ = 9600;
  std::atomic<bool> cancelled_{false};
  std::atomic<std::uint64_t> bytesWritten_{0};
};

}  // namespace download
