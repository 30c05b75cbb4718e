// The real back-ends: the parallel-port drivers, the synchronous serial modules and the serial
// protocol driver.
#include "DefaultBackendFactory.h"

#include "machine/lpt/TGarnet.h"
#include "machine/lpt/TTaktRicht.h"
#include "machine/serial/ZelkoCom.h"
#include "machine/sync/TBeryl.h"
#include "machine/sync/TKyro.h"

namespace machine {

DefaultBackendFactory::DefaultBackendFactory(platform::UiServices& ui, platform::GuiDispatcher& gui,
                                             platform::Clock& clock, PortIoMaker portIo)
    : ui_(ui), gui_(gui), clock_(clock), portIo_(std::move(portIo)) {}

std::unique_ptr<ParallelPortBackend> DefaultBackendFactory::createGarnet() {
  return std::make_unique<TGarnet>(portIo_(), clock_, ui_, gui_);
}

std::unique_ptr<ParallelPortBackend> DefaultBackendFactory::createTaktRicht() {
  return std::make_unique<TTaktRicht>(portIo_(), clock_, ui_, gui_);
}

std::unique_ptr<SyncSerialBackend> DefaultBackendFactory::createBeryl() {
  return std::make_unique<TBeryl>(ui_, gui_, clock_);
}

std::unique_ptr<SyncSerialBackend> DefaultBackendFactory::createKyro() {
  return std::make_unique<TKyro>(ui_, gui_, clock_);
}

std::unique_ptr<ProtocolBackend> DefaultBackendFactory::createZelkoCOM() {
  return std::make_unique<TzelkoCOM>(ui_, clock_);
}

}  // namespace machine
