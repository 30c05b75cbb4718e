// Port instructions double for direct port access: it keeps the permission of each thread apart,
// as Linux keeps ioperm grants per thread, records which thread was granted which ports and
// which thread read or wrote, and counts every instruction of a thread without permission (the
// real instruction would end the process with SIGSEGV). Reads and writes go to `target` when one
// is given (a simulated port), else reads give 0xFF.
//
// Thread context: any thread; state behind a mutex. The target must outlive the object.
#pragma once

#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/IopermPortIo.h"
#include "platform/PortIo.h"

namespace testsupport {

class PerThreadPortInstructions final : public platform::PortInstructions {
 public:
  struct Access {
    std::thread::id thread;
    enum class Kind { Grant, Release, In, Out } kind;
    std::uint16_t port = 0;
  };

  explicit PerThreadPortInstructions(platform::PortIo* target = nullptr) : target_(target) {}

  bool available() override { return true; }

  int permit(std::uint16_t from, unsigned count, bool on) override {
    std::lock_guard lock(mutex_);
    const auto self = std::this_thread::get_id();
    log_.push_back({self, on ? Access::Kind::Grant : Access::Kind::Release, from});
    if (on && refused_.count(self) != 0) return EPERM;
    auto& ports = permitted_[self];
    for (unsigned i = 0; i < count; ++i) {
      const auto port = static_cast<std::uint16_t>(from + i);
      if (on) {
        ports.insert(port);
      } else {
        ports.erase(port);
      }
    }
    return 0;
  }

  std::uint8_t in(std::uint16_t port) override {
    if (!allowed(port, Access::Kind::In)) return 0xFF;
    std::uint8_t value = 0xFF;
    if (target_ != nullptr) target_->read(port, value);
    return value;
  }

  void out(std::uint16_t port, std::uint8_t value) override {
    if (allowed(port, Access::Kind::Out) && target_ != nullptr) target_->write(port, value);
  }

  // From now on, grants to `thread` fail.
  void refuse(std::thread::id thread) {
    std::lock_guard lock(mutex_);
    refused_.insert(thread);
  }

  std::vector<Access> log() const {
    std::lock_guard lock(mutex_);
    return log_;
  }
  // Instructions of threads that had no permission for their port.
  int faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
  }
  // The threads that executed at least one instruction, and those that asked for a grant.
  std::set<std::thread::id> accessingThreads() const { return threadsWith({Access::Kind::In, Access::Kind::Out}); }
  std::set<std::thread::id> grantedThreads() const { return threadsWith({Access::Kind::Grant}); }
  // How often `thread` asked for a grant.
  int grants(std::thread::id thread) const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const auto& a : log_)
      if (a.thread == thread && a.kind == Access::Kind::Grant) ++n;
    return n;
  }

 private:
  bool allowed(std::uint16_t port, Access::Kind kind) {
    std::lock_guard lock(mutex_);
    const auto self = std::this_thread::get_id();
    log_.push_back({self, kind, port});
    const auto it = permitted_.find(self);
    if (it != permitted_.end() && it->second.count(port) != 0) return true;
    ++faults_;
    return false;
  }

  std::set<std::thread::id> threadsWith(std::initializer_list<Access::Kind> kinds) const {
    std::lock_guard lock(mutex_);
    std::set<std::thread::id> threads;
    for (const auto& a : log_)
      for (auto k : kinds)
        if (a.kind == k) threads.insert(a.thread);
    return threads;
  }

  platform::PortIo* target_;
  mutable std::mutex mutex_;
  std::map<std::thread::id, std::set<std::uint16_t>> permitted_;
  std::set<std::thread::id> refused_;
  std::vector<Access> log_;
  int faults_ = 0;
};

}  // namespace testsupport
