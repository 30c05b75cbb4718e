// The real back-ends: the serial protocol driver, and null for the drivers still to come.
#include "DefaultBackendFactory.h"

#include "ZelkoCom.h"

namespace machine {

DefaultBackendFactory::DefaultBackendFactory(platform::UiServices& ui, platform::Clock& clock)
    : ui_(ui), clock_(clock) {}

std::unique_ptr<ParallelPortBackend> DefaultBackendFactory::createGarnet() { return nullptr; }

std::unique_ptr<ParallelPortBackend> DefaultBackendFactory::createTaktRicht() { return nullptr; }

std::unique_ptr<SyncSerialBackend> DefaultBackendFactory::createBeryl() { return nullptr; }

std::unique_ptr<SyncSerialBackend> DefaultBackendFactory::createKyro() { return nullptr; }

std::unique_ptr<ProtocolBackend> DefaultBackendFactory::createZelkoCOM() {
  return std::make_unique<TzelkoCOM>(ui_, clock_);
}

}  // namespace machine
