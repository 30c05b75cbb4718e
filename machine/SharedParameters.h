// The process-wide machine parameter record and the stop request.
//
// Thread context: any thread. The record is kept behind a mutex: readers take a snapshot and work
// on that; writers replace it or change it in place under the lock. The stop request bAbbruch is
// set by the GUI thread and read and cleared by the thread that runs a job, without the lock.
// Nothing here blocks beyond the short hold of the mutex.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>

#include "MachineParameters.h"

namespace machine {

class MachineParameterStore {
 public:
  // A copy of the record as it stands.
  Maschinenparameter snapshot() const;
  // Replaces the whole record.
  void assign(const Maschinenparameter& p);
  // Changes the record in place under the lock, so that changes from several threads are not
  // lost. `change` must not call back into the store and must not block.
  void update(const std::function<void(Maschinenparameter&)>& change);

  // Stop requested: set by the stop button, cleared by the run that finds it.
  std::atomic<bool> bAbbruch{false};

 private:
  mutable std::mutex mutex_;
  Maschinenparameter record_;
};

// The one store of the process; zero-filled until the parameter file has been loaded into it.
MachineParameterStore& machineParameters();

}  // namespace machine
