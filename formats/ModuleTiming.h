// What the format modules share around their reading and paint: the time they took and the icon
// of the boxes their reading asks for.
//
// Thread context: any thread. Nothing blocks.
#pragma once

#include <chrono>
#include <string>

#include "platform/UiServices.h"

namespace formats {

// Milliseconds since it was made.
class ModuleTimer {
 public:
  int elapsed() const {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count());
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Hints ("H I N W E I S") inform, everything else warns.
inline platform::MsgIcon iconFor(const std::string& caption) {
  return caption == "H I N W E I S" ? platform::MsgIcon::Information : platform::MsgIcon::Warning;
}

}  // namespace formats
