#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in their own build folder and runs each for SECONDS
# seconds on a scratch copy of its seeds. Fails when any target finds a crash; the input that
# did it is kept under the build folder. Usage: fuzz/run.sh SECONDS
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_FUZZ:-build-fuzz}
[[ $build = /* ]] || build=$root/$build
targets=(profile number decode quotespacing tags bbcode htmlpaste)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DBEITRAGSBOX_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_all

# Qt is built without frame pointers: allocation stacks through it end in garbage that the
# sanitizer keeps, new each time, and memory grows by about 1 KB a run until libFuzzer's limit.
# Without them a report lacks where the memory was allocated; running the kept input again
# without this setting shows it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}

# New inputs go to the scratch corpus only, never into the seeds in the repository.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for target in "${targets[@]}"; do
  cp -r "$root/fuzz/corpus/$target" "$scratch/$target"
  artifacts=$build/fuzz/artifacts/$target
  mkdir -p "$artifacts"
  log=$scratch/$target.log
  options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
           -artifact_prefix="$artifacts/")
  dict=$root/fuzz/dict/$target.dict
  [[ ! -f $dict ]] || options+=(-dict="$dict")
  if ! "$build/fuzz/fuzz_$target" "${options[@]}" "$scratch/$target" >"$log" 2>&1; then
    failed=1
    grep -m 5 -E 'check failed|ERROR:|runtime error' "$log" || true
    tail -n 15 "$log"
    echo "$target: FAILED; again: ASAN_OPTIONS= $build/fuzz/fuzz_$target $artifacts/<file>"
  fi
  runs=$(awk '/^stat::number_of_executed_units:/ {print $2}' "$log")
  speed=$(awk '/^stat::average_exec_per_sec:/ {print $2}' "$log")
  echo "$target: ${speed:-?} exec/s, ${runs:-?} runs"
done
exit $failed
