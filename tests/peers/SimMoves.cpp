// Reading the move texts of the simulated controllers.
#include "SimMoves.h"

#include <cerrno>
#include <cstdlib>

namespace peers {

namespace {

constexpr int kNotMoved = 99999;

}  // namespace

int simAxisIndex(char letter) {
  switch (letter) {
    case 'x':
    case 'X':
      return 0;
    case 'y':
    case 'Y':
      return 1;
    case 'z':
    case 'Z':
      return 2;
    case 'u':
    case 'U':
      return 3;
    default:
      return -1;
  }
}

std::optional<SimPositions> simVectorTarget(const std::string& command, SimPositions current) {
  std::size_t i = 1;
  const std::size_t indexStart = i;
  while (i < command.size() && command[i] >= '0' && command[i] <= '9') ++i;
  if (i == indexStart) return std::nullopt;
  while (i < command.size()) {
    if (command[i] != ',' || i + 2 > command.size()) return std::nullopt;
    const char letter = command[i + 1];
    const int axis = simAxisIndex(letter);
    if (axis < 0) return std::nullopt;
    const char* begin = command.c_str() + i + 2;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || errno != 0) return std::nullopt;
    const auto a = static_cast<std::size_t>(axis);
    if (letter >= 'a') {
      current[a] += static_cast<int>(value);
    } else if (value != kNotMoved) {
      current[a] = static_cast<int>(value);
    }
    i = static_cast<std::size_t>(end - command.c_str());
  }
  return current;
}

}  // namespace peers
