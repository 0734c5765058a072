#!/usr/bin/env bash
# Configures and builds the project into build/ (Ninja, RelWithDebInfo).
# Usage: scripts/configure.sh [extra cmake arguments]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZKW_BUILD_DIR:-$ROOT/build}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build "$BUILD" -j2
