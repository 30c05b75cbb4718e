#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each on its seed corpus for the given number of seconds (default 60), several side by side: the document
# reader (document_fuzz), the whole chain from document text through drawing to a simulated and a
# live milling run (chain_fuzz), the Intel-HEX reader of the download utility (hex_fuzz), the
# HPGL reader with the paint and a simulated run of its plots (hpgl_fuzz), and the DIN/ISO and DXF
# readers, each with the paint and a simulated run of what it read (diniso_fuzz, dxf_fuzz). A crash, a sanitizer
# report or an input that runs longer than 5 s fails the run and leaves the input in build/fuzz/.
# Each run starts from the seeds alone, so that it takes the time it is given; FUZZ_KEEP=1 keeps
# what earlier runs found (build/fuzz/corpus-<target>) for a longer search.
# Usage: [FUZZ_KEEP=1] tools/fuzz.sh [seconds] [target...]   (targets: document chain hex hpgl diniso dxf; default all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(document chain hex hpgl diniso dxf)
build="$root/build/fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVELTRIS_FUZZ=ON -DVELTRIS_SANITIZE=ON -DVELTRIS_TESTS=OFF -DVELTRIS_QT=OFF >/dev/null
cmake --build "$build" --target "${targets[@]/%/_fuzz}" -j "$(nproc)"

cd "$build"
# One fuzzer is one process on one core: several run side by side, each for its full time, with
# half the cores left to the rest of the machine.
parallel=$(( $(nproc) / 2 ))
[ "$parallel" -ge 1 ] || parallel=1
fuzz_one() {
  local target=$1
  # The seeds stay untouched; new inputs the fuzzer finds go to a scratch corpus.
  [ "${FUZZ_KEEP:-0}" = "1" ] || rm -rf "corpus-$target"
  mkdir -p "corpus-$target"
  local max_len=4096
  [ "$target" = hex ] && max_len=8192
  local dict=()
  [ -f "$root/tests/fuzz/$target.dict" ] && dict=(-dict="$root/tests/fuzz/$target.dict")
  ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "./tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=5 -max_len="$max_len" -print_final_stats=1 \
    "${dict[@]}" -artifact_prefix="$build/$target-" "corpus-$target" "$root/tests/fuzz/corpus/$target"
}
declare -A pids
failed=()
wait_for() {
  local target=$1
  if wait "${pids[$target]}"; then
    echo "== $target: clean after $seconds s"
    tail -n 12 "fuzz-$target.log"
  else
    failed+=("$target")
    echo "== $target: FAILED"
    tail -n 60 "fuzz-$target.log"
  fi
}
running=()
for target in "${targets[@]}"; do
  echo "== fuzzing $target for $seconds s"
  fuzz_one "$target" >"fuzz-$target.log" 2>&1 &
  pids[$target]=$!
  running+=("$target")
  if [ ${#running[@]} -ge "$parallel" ]; then
    wait_for "${running[0]}"
    running=("${running[@]:1}")
  fi
done
for target in "${running[@]}"; do wait_for "$target"; done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in $build)"
  exit 1
fi
