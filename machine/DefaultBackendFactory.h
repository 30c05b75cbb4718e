// The factory of the real controller back-ends, as the application's connection step uses it.
//
// Thread context: the connection step on the GUI thread. The UI services, the dispatcher and the
// clock must outlive every back-end the factory makes; the caller owns what it returns.
#pragma once

#include <functional>
#include <memory>

#include "machine/ControllerBackends.h"
#include "platform/Clock.h"
#include "platform/GuiDispatcher.h"
#include "platform/PortIo.h"
#include "platform/UiServices.h"

namespace machine {

class DefaultBackendFactory final : public BackendFactory {
 public:
  using PortIoMaker = std::function<std::unique_ptr<platform::PortIo>()>;

  // `portIo` gives each parallel-port back-end its port access (the machine's by default).
  DefaultBackendFactory(platform::UiServices& ui, platform::GuiDispatcher& gui,
                        platform::Clock& clock = platform::systemClock(),
                        PortIoMaker portIo = platform::makeSystemPortIo);

  // The phase-pattern card (type 0) and the step/direction controllers (1, 4, 7) on the parallel
  // port; making one opens the port access.
  std::unique_ptr<ParallelPortBackend> createGarnet() override;
  std::unique_ptr<ParallelPortBackend> createTaktRicht() override;
  // The synchronous serial modules Beryl (type 2) and Kyro (type 3).
  std::unique_ptr<SyncSerialBackend> createBeryl() override;
  std::unique_ptr<SyncSerialBackend> createKyro() override;
  // The serial protocol driver (types 5, 6 and 10-13).
  std::unique_ptr<ProtocolBackend> createZelkoCOM() override;

 private:
  platform::UiServices& ui_;
  platform::GuiDispatcher& gui_;
  platform::Clock& clock_;
  PortIoMaker portIo_;
};

}  // namespace machine
