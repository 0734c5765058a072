#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those missing.
# Safe to run again and again: with everything present it changes nothing.
# Usage: scripts/install-deps.sh [--fuzz] [--docs]
#   --fuzz adds clang and libFuzzer; --docs adds Doxygen (the target docs)
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build
  qt6-base-dev libgl-dev libglx-dev libopengl-dev libegl-dev
  qt6-svg-dev  # SVG pictures of a chart
  poppler-utils  # the tests read written PDFs back as users' readers do
  # the QML item (zkw_quick), its example and its QML tests
  qt6-declarative-dev qml6-module-qtquick qml6-module-qtqml qml6-module-qtquick-window
  qml6-module-qtquick-controls qml6-module-qtquick-templates qml6-module-qtquick-layouts
  qml6-module-qtqml-workerscript qml6-module-qttest
  qt6-declarative-dev-tools  # qmllint: the test that lints the example's QML
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-apps
  python3  # runs the end-to-end test of the demo under Xvfb
  fonts-dejavu-core fonts-liberation
)
for arg in "$@"; do
  case "$arg" in
    --fuzz) PACKAGES+=(clang libclang-rt-dev) ;;
    --docs) PACKAGES+=(doxygen) ;;
  esac
done

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) and no root rights or sudo to install them" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
