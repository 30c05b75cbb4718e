// Where the running program lies: its folder holds the parameter, configuration and trace files.
//
// Thread context: any thread; the folder is kept behind a mutex.
#pragma once

#include <filesystem>

namespace platform {

// Path of the running executable (from /proc/self/exe); empty when it cannot be read.
std::filesystem::path executablePath();

// The program folder used for the program's own files. It starts as the executable's folder;
// tests and the application may set another one.
std::filesystem::path programFolder();
void setProgramFolder(const std::filesystem::path& folder);

}  // namespace platform
