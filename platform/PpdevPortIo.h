// Parallel-port access through the kernel's ppdev driver: the port whose base address the kernel
// reports is opened as /dev/parportN and claimed, and its three registers are read and written
// with the ppdev requests. Needs read and write permission on the node (the "lp" group).
//
// Thread context: as PortIo. claim and shutdown must not run while another thread accesses the
// port. Ownership: the object owns the open node and releases it on shutdown or destruction.
#pragma once

#include <atomic>
#include <filesystem>
#include <optional>

#include "platform/PortIo.h"

namespace platform {

class PpdevPortIo final : public PortIo {
 public:
  // `procRoot`: where the kernel lists its ports with their base addresses; `devDir`: where their
  // device nodes are.
  explicit PpdevPortIo(std::filesystem::path procRoot = "/proc/sys/dev/parport", std::filesystem::path devDir = "/dev");
  ~PpdevPortIo() override;
  PpdevPortIo(const PpdevPortIo&) = delete;
  PpdevPortIo& operator=(const PpdevPortIo&) = delete;

  // True when the kernel lists at least one parallel port.
  bool initialize() override;
  void shutdown() override;
  bool claim(std::uint16_t base, std::string& reason) override;
  bool read(std::uint16_t port, std::uint8_t& value) override;
  bool write(std::uint16_t port, std::uint8_t value) override;

  // The device node of the port whose base address the kernel reports as `base`.
  std::optional<std::filesystem::path> deviceFor(std::uint16_t base) const;

 private:
  std::filesystem::path procRoot_;
  std::filesystem::path devDir_;
  std::atomic<int> fd_{-1};
  std::atomic<std::uint16_t> base_{0};
};

}  // namespace platform
