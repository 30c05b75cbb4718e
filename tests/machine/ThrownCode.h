// The integer failure code that a call throws, for tests of code that reports failures that way.
#pragma once

namespace machinetest {

// Runs `f` and returns the integer code it threw, or -1 when it threw none.
template <class F>
int thrownCode(F&& f) {
  try {
    f();
  } catch (int code) {
    return code;
  }
  return -1;
}

}  // namespace machinetest
