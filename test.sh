#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite headless.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"
scripts/install-deps.sh
scripts/configure.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure
