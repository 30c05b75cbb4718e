// The machine's port access: ppdev for a port the kernel knows, ioperm on x86 for the others.
#include <atomic>
#include <memory>

#include "IopermPortIo.h"
#include "PortIo.h"
#include "PpdevPortIo.h"

namespace platform {

namespace {

class SystemPortIo final : public PortIo {
 public:
  bool initialize() override {
    const bool ppdev = ppdev_.initialize();
    const bool direct = direct_.initialize();
    return ppdev || direct;
  }
  void shutdown() override {
    active_ = nullptr;
    ppdev_.shutdown();
    direct_.shutdown();
  }
  bool claim(std::uint16_t base, std::string& reason) override {
    shutdown();
    // The kernel's driver is preferred: it needs no privileges beyond the "lp" group and keeps
    // other programs off the port while it is claimed.
    if (ppdev_.deviceFor(base) || !direct_.initialize()) {
      if (!ppdev_.claim(base, reason)) return false;
      active_ = &ppdev_;
      return true;
    }
    if (!direct_.claim(base, reason)) return false;
    active_ = &direct_;
    return true;
  }
  bool read(std::uint16_t port, std::uint8_t& value) override {
    PortIo* io = active_.load();
    return io != nullptr && io->read(port, value);
  }
  bool write(std::uint16_t port, std::uint8_t value) override {
    PortIo* io = active_.load();
    return io != nullptr && io->write(port, value);
  }

 private:
  PpdevPortIo ppdev_;
  IopermPortIo direct_;
  std::atomic<PortIo*> active_{nullptr};
};

}  // namespace

std::unique_ptr<PortIo> makeSystemPortIo() { return std::make_unique<SystemPortIo>(); }

}  // namespace platform
