#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"
scripts/install-deps.sh
scripts/configure.sh

# The program to start: the demo once it is built, until then the canvas sample.
if [ -x build/app/snapdemo ]; then
  PROGRAM=(build/app/snapdemo)
else
  PROGRAM=(build/app/canvas_sample)
fi

exec "${PROGRAM[@]}" "$@"
