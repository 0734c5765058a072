#!/usr/bin/env bash
# Installs what is missing, builds, and starts a demo:
#   ./run.sh [ARGS...]             snapdemo (ARGS are snapdemo's, see README.md)
#   ./run.sh actiondemo [ARGS...]  the mouse actions demo
#   ./run.sh quickdemo [ARGS...]   the chart in a QML window (examples/quick)
# Without a display (no DISPLAY or WAYLAND_DISPLAY) and without arguments
# the demo runs headless: it draws its window after a few pointer events
# into build/<demo>.png and says so.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"
scripts/install-deps.sh
scripts/configure.sh

DEMO=snapdemo
if [ "${1:-}" = "actiondemo" ] || [ "${1:-}" = "snapdemo" ] || [ "${1:-}" = "quickdemo" ]; then
  DEMO="$1"
  shift
fi
PROGRAM="$ROOT/build/app/$DEMO"
if [ "$DEMO" = "quickdemo" ]; then
  PROGRAM="$ROOT/build/examples/quick/quickdemo"
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ $# -gt 0 ]; then
  exec "$PROGRAM" "$@"
fi

PICTURE="$ROOT/build/$DEMO.png"
if [ "$DEMO" = "quickdemo" ]; then
  "$PROGRAM" --screenshot "$PICTURE" --drag 200,150,260,190
  echo "No display found: quickdemo drew its chart headless after a pan."
elif [ "$DEMO" = "actiondemo" ]; then
  "$PROGRAM" --screenshot "$PICTURE" --drag 200,200,240,200 --action maZoomWind --drag 160,242,360,74
  echo "No display found: actiondemo drew its window headless after a pan and a zoom window."
else
  "$PROGRAM" --screenshot "$PICTURE" --move 240,150
  echo "No display found: snapdemo drew its window headless, the pointer at (240, 150) over the chart."
fi
echo "Picture: $PICTURE"
