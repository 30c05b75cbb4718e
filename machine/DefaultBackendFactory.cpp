// The real back-ends: the parallel-port drivers, the serial protocol driver, and null for the
// drivers still to come.
#include "DefaultBackendFactory.h"

#include "TGarnet.h"
#include "TTaktRicht.h"
#include "ZelkoCom.h"

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

std::unique_ptr<SyncSerialBackend> DefaultBackendFactory::createBeryl() { return nullptr; }

std::unique_ptr<SyncSerialBackend> DefaultBackendFactory::createKyro() { return nullptr; }

std::unique_ptr<ProtocolBackend> DefaultBackendFactory::createZelkoCOM() {
  return std::make_unique<TzelkoCOM>(ui_, clock_);
}

}  // namespace machine
