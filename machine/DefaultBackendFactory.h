// The factory of the real controller back-ends, as the application's connection step uses it.
//
// Thread context: the connection step on the GUI thread. The UI services and the clock must
// outlive every back-end the factory makes; the caller owns what it returns.
#pragma once

#include "machine/ControllerBackends.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace machine {

class DefaultBackendFactory final : public BackendFactory {
 public:
  explicit DefaultBackendFactory(platform::UiServices& ui, platform::Clock& clock = platform::systemClock());

  // The parallel-port and synchronous serial drivers do not exist yet: these give null, and the
  // command layer then fails their operations with HANDLE_COM_PORT_ERROR.
  std::unique_ptr<ParallelPortBackend> createGarnet() override;
  std::unique_ptr<ParallelPortBackend> createTaktRicht() override;
  std::unique_ptr<SyncSerialBackend> createBeryl() override;
  std::unique_ptr<SyncSerialBackend> createKyro() override;
  // The serial protocol driver (types 5, 6 and 10-13).
  std::unique_ptr<ProtocolBackend> createZelkoCOM() override;

 private:
  platform::UiServices& ui_;
  platform::Clock& clock_;
};

}  // namespace machine
