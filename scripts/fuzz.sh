#!/usr/bin/env bash
# Fuzzes one target with libFuzzer (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) for a number of seconds.
#
# Usage: scripts/fuzz.sh TARGET SECONDS [extra libFuzzer arguments]
#   TARGET is form, render, scale or ops (fuzz/<TARGET>_fuzz.cpp).
#
# The build goes to build-fuzz/ (ZKW_FUZZ_BUILD_DIR overrides). New corpus
# entries collect in build-fuzz/corpus/TARGET, crashes in
# build-fuzz/artifacts/TARGET/. To keep a finding fixed, copy the crashing
# input to fuzz/reproducers/TARGET/ and fix the fault: the test run replays
# that folder (CTest fuzz_replay_TARGET).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 2 ]; then
  echo "usage: $0 TARGET SECONDS [libFuzzer arguments]" >&2
  exit 2
fi
TARGET="$1"
SECONDS_TO_RUN="$2"
shift 2
if [ ! -f "$ROOT/fuzz/${TARGET}_fuzz.cpp" ]; then
  echo "fuzz: no target '$TARGET' (expected fuzz/${TARGET}_fuzz.cpp)" >&2
  exit 2
fi

"$ROOT/scripts/install-deps.sh" --fuzz
BUILD="${ZKW_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZKW_BUILD_FUZZERS=ON -DZKW_BUILD_TESTS=OFF -DZKW_BUILD_BENCH=OFF -DZKW_BUILD_APPS=OFF \
  -DZKW_BUILD_EXAMPLES=OFF -DZKW_INSTALL=OFF >/dev/null
cmake --build "$BUILD" -j2 --target "fuzz_${TARGET}"

CORPUS="$BUILD/corpus/$TARGET"
ARTIFACTS="$BUILD/artifacts/$TARGET"
mkdir -p "$CORPUS" "$ARTIFACTS"
DICT=()
if [ -f "$ROOT/fuzz/dict/$TARGET.dict" ]; then DICT=(-dict="$ROOT/fuzz/dict/$TARGET.dict"); fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# New inputs go to the first folder; the seeds are read from the second.
exec "$BUILD/fuzz/fuzz_${TARGET}" -max_total_time="$SECONDS_TO_RUN" -timeout=30 -rss_limit_mb=4096 \
  -print_final_stats=1 -artifact_prefix="$ARTIFACTS/" "${DICT[@]}" "$@" "$CORPUS" "$ROOT/fuzz/corpus/$TARGET"
