// Resolution of the "COMn" port names that files and dialogs keep to Linux device paths.
//
// A port n resolves first through the environment variable VELTRIS_COM<n> (any device path,
// such as a pseudo-terminal), then through the default table: COM1-COM4 /dev/ttyS0-3,
// COM5-COM12 /dev/ttyUSB0-7, COM13-COM20 /dev/ttyACM0-7.
//
// Thread context: any thread; reads the environment, no state of its own.
#pragma once

#include <string>

namespace platform {

// Device path of COM n; empty when n has neither an override nor a default.
std::string comDevicePath(int n);

// True when COM n resolves to a path that exists.
bool comPortExists(int n);

}  // namespace platform
