#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the test suite headless.
#
# Usage: ./test.sh [--sanitize] [--stress]
#   (no option)  build into build/ (RelWithDebInfo) and run every test but the
#                stress tests
#   --sanitize   build into build-sanitize/ with AddressSanitizer and
#                UndefinedBehaviorSanitizer (Debug, no benchmarks or examples)
#                and run the suite there; leaks, memory errors and undefined
#                behaviour fail the test that caused them
#   --stress     run only the stress tests (label stress: ten million marks,
#                a hundred thousand mouse messages and share changes); with
#                --sanitize in the sanitized build
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"

SANITIZE=0
STRESS=0
for Arg in "$@"; do
  case "$Arg" in
    --sanitize) SANITIZE=1 ;;
    --stress) STRESS=1 ;;
    *)
      echo "usage: $0 [--sanitize] [--stress]" >&2
      exit 2
      ;;
  esac
done

scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

if [ "$SANITIZE" = 1 ]; then
  # Debug (-O0): with both sanitizers it compiles about twice as fast as -O1,
  # which saves more than the slower tests cost (figures in the README).
  # Benchmarks and examples are left out: nothing runs the benchmarks here,
  # and the examples are built again by the package test, which is skipped.
  BUILD="$ROOT/build-sanitize"
  ZKW_BUILD_DIR="$BUILD" CMAKE_BUILD_TYPE=Debug scripts/configure.sh \
    -DZKW_SANITIZE=ON -DZKW_BUILD_BENCH=OFF -DZKW_BUILD_EXAMPLES=OFF
  export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
  export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  # package_consumers builds examples/ from scratch three times as an outside
  # project (minutes, longer with the sanitizers) to check the CMake package,
  # which the plain run already does; the library code it runs is the same
  # the other tests cover here.
  EXCLUDE="package"
else
  BUILD="$ROOT/build"
  scripts/configure.sh
  EXCLUDE=""
fi

cd "$BUILD"
if [ "$STRESS" = 1 ]; then
  ctest --output-on-failure -L stress
elif [ -n "$EXCLUDE" ]; then
  ctest --output-on-failure -LE "stress|$EXCLUDE"
else
  ctest --output-on-failure -LE stress
fi
