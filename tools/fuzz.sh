#!/usr/bin/env bash
# Builds the document-reader fuzz target with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it on the seed corpus for the given number of seconds
# (default 60). A crash or sanitizer report fails the run and leaves the input in build/fuzz/.
# Usage: tools/fuzz.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build/fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVELTRIS_FUZZ=ON -DVELTRIS_SANITIZE=ON -DVELTRIS_TESTS=OFF -DVELTRIS_QT=OFF >/dev/null
cmake --build "$build" --target document_fuzz -j "$(nproc)"

# The seeds stay untouched; new inputs the fuzzer finds go to a scratch corpus.
mkdir -p "$build/corpus"
cd "$build"
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ./tests/fuzz/document_fuzz -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  corpus "$root/tests/fuzz/corpus/document"
