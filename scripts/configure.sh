#!/usr/bin/env bash
# Configures a build folder: configure.sh BUILD_DIR [extra cmake args]
set -euo pipefail
dir=${1:?build folder}
shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
