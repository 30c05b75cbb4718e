// Direct parallel-port access with ioperm and in/out instructions, for x86 machines whose kernel
// has no ppdev driver for the port. Needs root or CAP_SYS_RAWIO; elsewhere initialize fails.
//
// Linux grants ioperm to the calling thread only, so the permission is taken on every thread
// that touches the port: by claim on the claiming thread, and before its first instruction on any
// other (the step generator, the run and dialog workers, the GUI thread). A thread whose grant is
// refused gets false from every access and executes no instruction.
//
// Thread context: as PortIo. claim and shutdown must not run while another thread accesses the
// port. Only the three claimed registers are ever touched; a grant another thread took for an
// earlier claim stays with that thread, unused, until it ends.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/PortIo.h"

namespace platform {

// The instructions of direct port access, acting on the calling thread.
class PortInstructions {
 public:
  virtual ~PortInstructions() = default;
  // True where port instructions exist (x86).
  virtual bool available() = 0;
  // Grants (`on`) or gives back the calling thread's access to `count` ports from `from`; 0 on
  // success, else an errno value.
  virtual int permit(std::uint16_t from, unsigned count, bool on) = 0;
  virtual std::uint8_t in(std::uint16_t port) = 0;
  virtual void out(std::uint16_t port, std::uint8_t value) = 0;
};

// The processor's own instructions; lives for the whole process.
PortInstructions& processorPortInstructions();

class IopermPortIo final : public PortIo {
 public:
  // `instructions` must outlive the object.
  explicit IopermPortIo(PortInstructions& instructions = processorPortInstructions());
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
  // True when `port` is a claimed register and the calling thread holds its grant, which it
  // takes first if it has none for this claim.
  bool mayAccess(std::uint16_t port);

  PortInstructions& instructions_;
  // The current claim, numbered across all objects (0: none), and its base.
  std::atomic<std::uint64_t> claim_{0};
  std::atomic<std::uint16_t> base_{0};
};

}  // namespace platform
