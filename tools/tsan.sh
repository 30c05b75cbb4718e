#!/usr/bin/env bash
# Builds the test suites that start threads under ThreadSanitizer and runs their tests (those
# labelled "threads"); a data race fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

cmake -S "$root" -B "$root/build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELTRIS_TSAN=ON -DVELTRIS_WERROR=$werror
cmake --build "$root/build/tsan" -j "$jobs"
# tests/tsan.supp silences only Qt's internal hand-overs, which ThreadSanitizer cannot see.
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp \
  ctest --test-dir "$root/build/tsan" -j "$jobs" -L threads --output-on-failure --timeout 300
