#!/usr/bin/env bash
# Builds a fuzz target with clang (libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs it on its seed corpus for the given number of seconds (default 60): "document" the panel
# document reader (the default), "hex" the Intel-HEX reader of the download utility. A crash or
# sanitizer report fails the run and leaves the input in build/fuzz/.
# Usage: tools/fuzz.sh [seconds] [document|hex]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
target=${2:-document}
build="$root/build/fuzz"

case "$target" in
  document) max_len=4096 ;;
  hex) max_len=8192 ;;
  *) echo "unknown fuzz target: $target (document or hex)" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVELTRIS_FUZZ=ON -DVELTRIS_SANITIZE=ON -DVELTRIS_TESTS=OFF -DVELTRIS_QT=OFF >/dev/null
cmake --build "$build" --target "${target}_fuzz" -j "$(nproc)"

# The seeds stay untouched; new inputs the fuzzer finds go to a scratch corpus of the target.
mkdir -p "$build/corpus-$target"
cd "$build"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "./tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
  "corpus-$target" "$root/tests/fuzz/corpus/$target"
