#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Quillmere and starts it on the
# program directory build/bin/ with its bundled demo lessons.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/configure.sh build
cmake --build build -j "$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here; start Quillmere under a virtual one: xvfb-run -a build/bin/quillmere"
  exit 0
fi
exec build/bin/quillmere
