// Direct parallel-port access with ioperm and in/out instructions, for x86 machines whose kernel
// has no ppdev driver for the port. Needs root or CAP_SYS_RAWIO; elsewhere initialize fails.
//
// Thread context: as PortIo. claim and shutdown must not run while another thread accesses the
// port. Only the three claimed registers are ever touched.
#pragma once

#include <atomic>

#include "platform/PortIo.h"

namespace platform {

class IopermPortIo final : public PortIo {
 public:
  IopermPortIo() = default;
  ~IopermPortIo() override;
  IopermPortIo(const IopermPortIo&) = delete;
  IopermPortIo& operator=(const IopermPortIo&) = delete;

  // True on x86, where port instructions exist.
  bool initialize() override;
  void shutdown() override;
  bool claim(std::uint16_t base, std::string& reason) override;
  bool read(std::uint16_t port, std::uint8_t& value) override;
  bool write(std::uint16_t port, std::uint8_t value) override;

 private:
  bool inClaimedRange(std::uint16_t port) const;

  std::atomic<bool> claimed_{false};
  std::atomic<std::uint16_t> base_{0};
};

}  // namespace platform
