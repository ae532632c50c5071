#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz and runs each, one after the other in a single process, for SECONDS seconds on
# its stored corpus plus a working corpus kept in build-fuzz/work/<name>.
# Inputs that fail land in build-fuzz/artifacts/<name>/: once the fault is fixed, copy them into
# tests/fuzz/corpus/<name>/ so that the ordinary test run keeps checking them.
# Usage: tests/fuzz/run_fuzzers.sh [SECONDS] [name...]   (names like fuzz_profile; default: all)
set -euo pipefail
cd "$(dirname "$0")/../.."
SECONDS_EACH=${1:-60}
shift || true
BUILD=${FUZZ_BUILD:-build-fuzz}
JOBS=${JOBS:-2}

scripts/bootstrap clang libclang-rt-dev
if ! command -v clang++ >/dev/null; then
  echo "run_fuzzers: clang++ could not be installed" >&2
  exit 2
fi

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do names+=("$(basename "$f" .cpp)"); done
fi

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMAR_FUZZ=ON \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
fi
cmake --build "$BUILD" --target "${names[@]}" -j "$JOBS"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
summary=()
for name in "${names[@]}"; do
  work="$BUILD/work/$name"; artifacts="$BUILD/artifacts/$name"; log="$BUILD/logs/$name.log"
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  echo "run_fuzzers: $name for ${SECONDS_EACH}s"
  if "$BUILD/tests/fuzz/$name" -max_total_time="$SECONDS_EACH" -timeout=30 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
    result="ok"
  else
    result="FAILED (see $log and $artifacts)"
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  summary+=("$name: ${SECONDS_EACH}s, $runs runs, corpus $(ls "$work" | wc -l) inputs, $result")
done
printf '%s\n' "${summary[@]}"
exit $status
