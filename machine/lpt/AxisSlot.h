// The slot of an axis letter in the per-axis arrays of the parallel-port unit: x, y, z, u.
//
// Thread context: any thread; a pure function.
#pragma once

namespace machine {

// 0 for 'x', 1 'y', 2 'z', 3 'u', either case; -1 for every other letter.
constexpr int axisSlot(char letter) {
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

}  // namespace machine
