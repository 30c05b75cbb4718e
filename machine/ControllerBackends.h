// The back-end objects of the controller types and the factory that makes them.
//
// Thread context: created, replaced and closed by the connection step on the GUI thread while no
// job runs; the back-ends are then used by the thread that runs a job. The holder owns them.
#pragma once

#include <memory>

#include "machine/ParallelPortBackend.h"
#include "machine/ProtocolBackend.h"
#include "machine/SyncSerialBackend.h"

namespace machine {

// Makes the back-end of each family member. The application supplies the real drivers; tests
// supply recording ones.
class BackendFactory {
 public:
  virtual ~BackendFactory() = default;
  virtual std::unique_ptr<ParallelPortBackend> createGarnet() = 0;
  virtual std::unique_ptr<ParallelPortBackend> createTaktRicht() = 0;
  virtual std::unique_ptr<SyncSerialBackend> createBeryl() = 0;
  virtual std::unique_ptr<SyncSerialBackend> createKyro() = 0;
  virtual std::unique_ptr<ProtocolBackend> createZelkoCOM() = 0;
};

// One object per family member, null until the connection step creates it: the phase-pattern
// card (type 0), the step/direction back-end (1, 4, 7), Beryl (2), Kyro (3) and the protocol
// driver (5, 6, 10-13).
struct ControllerBackends {
  std::unique_ptr<ParallelPortBackend> Garnet;
  std::unique_ptr<ParallelPortBackend> TaktRicht;
  std::unique_ptr<SyncSerialBackend> Beryl;
  std::unique_ptr<SyncSerialBackend> Kyro;
  std::unique_ptr<ProtocolBackend> zelkoCOM;
};

}  // namespace machine
