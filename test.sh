#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the test suite headless.
#
# Usage: ./test.sh [--sanitize | --tsan] [--stress]
#   (no option)  build into build/ (RelWithDebInfo) and run every test but the
#                stress tests
#   --sanitize   build into build-sanitize/ with AddressSanitizer and
#                UndefinedBehaviorSanitizer (Debug, no benchmarks or examples)
#                and run the suite there; leaks, memory errors and undefined
#                behaviour fail the test that caused them
#   --tsan       build into build-tsan/ with ThreadSanitizer (Debug at -O1)
#                only the test programs of tests/platform, tests/chart and
#                tests/stress, and run the tests that reach the helper thread
#                (CTest label threads: all of platform and chart, the ten
#                million marks of the stress tests); a data race or a
#                lock-order inversion fails the test that caused it
#   --stress     run only the stress tests (label stress: ten million marks,
#                a hundred thousand mouse messages and share changes); with
#                --sanitize or --tsan in that build
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"

SANITIZE=0
TSAN=0
STRESS=0
Usage() {
  echo "usage: $0 [--sanitize | --tsan] [--stress]" >&2
  exit 2
}
for Arg in "$@"; do
  case "$Arg" in
    --sanitize) SANITIZE=1 ;;
    --tsan) TSAN=1 ;;
    --stress) STRESS=1 ;;
    *) Usage ;;
  esac
done
# One process cannot hold both runtimes.
if [ "$SANITIZE" = 1 ] && [ "$TSAN" = 1 ]; then Usage; fi

scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

if [ "$SANITIZE" = 1 ]; then
  # Debug (-O0): with both sanitizers it compiles about twice as fast as -O1,
  # which saves more than the slower tests cost (figures in docs/DEVELOPING.md).
  # Benchmarks and examples are left out: nothing runs the benchmarks here,
  # and the examples are built again by the package test, which is skipped.
  BUILD="$ROOT/build-sanitize"
  ZKW_BUILD_DIR="$BUILD" CMAKE_BUILD_TYPE=Debug scripts/configure.sh \
    -DZKW_SANITIZE=ON -DZKW_BUILD_BENCH=OFF -DZKW_BUILD_EXAMPLES=OFF
  # intercept_tls_get_addr=0: LeakSanitizer (GCC 12's) can record a bogus
  # dynamic-TLS range of the main thread once Qt's image plugins are loaded,
  # and its leak check then crashes ("Tracer caught signal 11") after a test
  # has passed. Without the interception it does not follow dynamic TLS,
  # which can only add leak reports, never hide one; none appears.
  export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:intercept_tls_get_addr=0"
  export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  # package_consumers builds examples/ from scratch three times as an outside
  # project (minutes, longer with the sanitizers) to check the CMake package,
  # which the plain run already does; the library code it runs is the same
  # the other tests cover here.
  EXCLUDE="package"
elif [ "$TSAN" = 1 ]; then
  # Only the test programs with tests labelled threads (tests/CMakeLists.txt)
  # are built: the other folders never start the helper thread, and leaving
  # them, the demos and the fuzz replays out keeps the cold build short.
  # -O1 rather than -O0: the build takes a quarter more processor time, the
  # tests less than half, the ten million marks most of all (figures in
  # docs/DEVELOPING.md). Debug keeps the assertions.
  BUILD="$ROOT/build-tsan"
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DZKW_TSAN=ON \
    -DZKW_BUILD_BENCH=OFF -DZKW_BUILD_EXAMPLES=OFF -DZKW_BUILD_APPS=OFF
  cmake --build "$BUILD" -j2 --target zkw_thread_tests
  # A report ends the program at once, so the test that caused it fails.
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/scripts/tsan.supp"
  EXCLUDE=""
else
  BUILD="$ROOT/build"
  scripts/configure.sh
  EXCLUDE=""
fi

cd "$BUILD"
if [ "$STRESS" = 1 ]; then
  ctest --output-on-failure -L stress
elif [ "$TSAN" = 1 ]; then
  ctest --output-on-failure -L threads
elif [ -n "$EXCLUDE" ]; then
  ctest --output-on-failure -LE "stress|$EXCLUDE"
else
  ctest --output-on-failure -LE stress
fi
