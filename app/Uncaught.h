// What the program does with a failure that no handler caught, where its event loop or its entry
// function meets it: a thrown failure code is dropped (the trace log and the standard error
// stream note it), any other exception is shown in an error box captioned with the product name,
// and the program goes on.
//
// Thread context: GUI thread only; the box is modal and blocks until it is answered. Never
// throws. A failure met while its box is still open is only noted, so that a failing repaint
// cannot pile up boxes.
#pragma once

#include <exception>
#include <functional>

#include "platform/UiServices.h"

namespace app {

// Drops or shows `failure` (not null), as above.
void handleUncaught(platform::UiServices& ui, std::exception_ptr failure) noexcept;

// Runs `handler`; what it lets through goes to handleUncaught.
void runCatchingAll(platform::UiServices& ui, const std::function<void()>& handler) noexcept;

}  // namespace app
