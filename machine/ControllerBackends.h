// The back-end objects of the controller types and the factory that makes them.
//
// Thread context: created, replaced and closed by the connection step on the GUI thread while no
// job runs; the back-ends are then used by the thread that runs a job. The holder owns them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

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
  // The parallel-port controller a back-end was connected to: its type and port address.
  struct ParallelLink {
    int modul = 0;
    std::int32_t address = 0;
    bool operator==(const ParallelLink&) const = default;
  };
  // What a replaced parallel-port back-end had counted, for the one made again for its controller.
  struct CarriedPositions {
    ParallelLink link;
    std::array<int, 4> steps{};
  };

  std::unique_ptr<ParallelPortBackend> Garnet;
  std::unique_ptr<ParallelPortBackend> TaktRicht;
  std::unique_ptr<SyncSerialBackend> Beryl;
  std::unique_ptr<SyncSerialBackend> Kyro;
  std::unique_ptr<ProtocolBackend> zelkoCOM;

  // Kept by the connection step: set when a parallel-port back-end has been connected, and taken
  // over into `carried` when the next connection step replaces that back-end.
  std::optional<ParallelLink> parallelLink;
  std::optional<CarriedPositions> carried;
};

}  // namespace machine
