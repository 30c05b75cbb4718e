// The process-wide parameter store.
#include "SharedParameters.h"

namespace machine {

Maschinenparameter MachineParameterStore::snapshot() const {
  std::lock_guard lock(mutex_);
  return record_;
}

void MachineParameterStore::assign(const Maschinenparameter& p) {
  std::lock_guard lock(mutex_);
  record_ = p;
}

void MachineParameterStore::update(const std::function<void(Maschinenparameter&)>& change) {
  std::lock_guard lock(mutex_);
  change(record_);
}

MachineParameterStore& machineParameters() {
  static MachineParameterStore store;
  return store;
}

}  // namespace machine
