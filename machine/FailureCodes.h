// The integer failure codes that controller and communication failures throw, their texts and
// the warning box that reports one.
//
// Thread context: the codes and Fehlertext_Steuerung on any thread; Fehler_Meldung on the GUI
// thread only (it shows a modal box through UiServices and blocks until it is closed).
#pragma once

#include <string>

#include "platform/UiServices.h"

namespace machine {

// Communication failures.
inline constexpr int COM_PORT_ERROR = 1001;         // serial port number not positive
inline constexpr int HANDLE_COM_PORT_ERROR = 1002;  // serial port not open or cannot be opened
inline constexpr int SEND_REQ_ERROR = 1003;         // empty command
inline constexpr int COMMUNICATION_ERROR = 1006;    // an answer of the wrong form
inline constexpr int OUT_OF_RANGE = 1007;           // an argument out of range; nothing was sent
inline constexpr int NAK_ERROR = 1008;              // the NAK that starts a motion did not come
inline constexpr int ACK_ERROR = 1009;              // the ACK did not come
inline constexpr int RS_ERROR = 1010;               // a reset was not answered as expected
inline constexpr int WAIT_ABANDONED = 1011;         // a wait for the receiver was abandoned
inline constexpr int WAIT_TIMEOUT = 1012;           // a wait for the receiver timed out
inline constexpr int WAIT_FAILED = 1013;            // a wait for the receiver failed

// The program's own: a move whose step counts lie outside the range the controllers take
// (machine/StepRange.h), refused before anything of it was sent.
inline constexpr int STEP_RANGE_ERROR = 1030;
// Parallel-port moves that did not happen as asked; the back-end has beeped or shown its box.
inline constexpr int MOVE_REFUSED = 1031;       // the step generator refused the move's speeds or ramp
inline constexpr int LIMIT_SWITCH_STOP = 1032;  // a limit switch ended the move
// The tool-length probe did not switch (or did not release) within the probing travel.
inline constexpr int PROBE_TRAVEL_LIMIT = 1040;

// The run was stopped by the user; never reported in a box.
inline constexpr int USER_ABORT = 2000;

// Text of a controller error answer (1021-1028, 1119), of STEP_RANGE_ERROR or of
// PROBE_TRAVEL_LIMIT; "### default ###" for every other code.
std::string Fehlertext_Steuerung(int code);

// Shows the code in a warning box with an OK button and the given caption: the name of a
// communication failure (1001-1013) or of a parallel-port move failure (1031, 1032), otherwise
// Fehlertext_Steuerung. USER_ABORT shows nothing.
void Fehler_Meldung(platform::UiServices& ui, int code, const std::string& caption);

}  // namespace machine
