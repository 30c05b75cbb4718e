// Which back-end object serves a controller type, and access to it that fails with a code
// instead of crashing when the object was never created.
//
// Thread context: any thread; nothing here blocks or keeps state. Used by the command layer's
// units only.
#pragma once

#include <memory>

#include "machine/FailureCodes.h"

namespace machine {

// The controller types (Steuerungstyp, the value of Modul) by the back-end that serves them.
enum class ControllerFamily {
  None,       // 8, 9 and every type outside 0-13: nothing is done
  Garnet,     // 0: phase patterns on the parallel port
  TaktRicht,  // 1, 4, 7: step and direction on the parallel port
  Beryl,      // 2: synchronous serial module
  Kyro,       // 3: synchronous serial module
  Protocol,   // 5, 6, 10-13: serial text protocol
};

inline ControllerFamily familyOf(int modul) {
  switch (modul) {
    case 0:
      return ControllerFamily::Garnet;
    case 1:
    case 4:
    case 7:
      return ControllerFamily::TaktRicht;
    case 2:
      return ControllerFamily::Beryl;
    case 3:
      return ControllerFamily::Kyro;
    case 5:
    case 6:
    case 10:
    case 11:
    case 12:
    case 13:
      return ControllerFamily::Protocol;
    default:
      return ControllerFamily::None;
  }
}

// The back-end for an operation that commands the controller. A missing object (the type was
// changed without a connection step) means there is no open link, so the operation fails the
// way an unopened port does rather than reporting a command as done.
template <class Backend>
Backend& requiredBackend(const std::unique_ptr<Backend>& backend) {
  if (!backend) throw HANDLE_COM_PORT_ERROR;
  return *backend;
}

}  // namespace machine
