#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: a plain build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the threaded tests under ThreadSanitizer.
# Any failure or sanitizer report fails the whole command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

"$root/tools/install-deps.sh"

# Every ctest run adds its count to one closing summary line (pipefail keeps a failing run failing).
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
count() { tee -a "$summary"; }

echo "== plain build"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRIS_WERROR=$werror
cmake --build "$root/build/release" -j "$jobs"
ctest --test-dir "$root/build/release" -j "$jobs" --output-on-failure --timeout 120 | count

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELTRIS_SANITIZE=ON -DVELTRIS_WERROR=$werror
cmake --build "$root/build/asan" -j "$jobs"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$root/build/asan" -j "$jobs" --output-on-failure --timeout 300 | count

echo "== ThreadSanitizer"
"$root/tools/tsan.sh" | count

echo "== fuzzing the document reader, the whole chain, the Intel-HEX reader and the HPGL, DIN/ISO and DXF readers (60 s each)"
"$root/tools/fuzz.sh" 60

awk '/tests passed, 0 tests failed out of/ { n += $NF } END { print "all test runs: " n " passed, 0 failed" }' "$summary"
