// The text and the box of a fault that is no failure code (out of memory, say), met where a job,
// a homing run, a jog, a measurement or a recording ends and the machine has been made safe.
//
// Thread context: the text on any thread; the box on the GUI thread only, modal, blocking until it
// is answered. Neither throws.
#pragma once

#include <exception>
#include <string>

#include "platform/UiServices.h"

namespace machine {

// The fault's own text, or "Unbekannter Fehler" when it has none or is no standard exception.
std::string unexpectedFaultText(std::exception_ptr fault) noexcept;

// Notes the fault in the trace log and shows it in an error box captioned with the product name.
void showUnexpectedFault(platform::UiServices& ui, std::exception_ptr fault) noexcept;

}  // namespace machine
