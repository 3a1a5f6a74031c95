#!/usr/bin/env bash
# Takes the README's screenshots of the main window and the general settings
# dialog from the real windows under a virtual display: docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target quillmere-shots program_files text_db
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb \
  build/tools/quillmere-shots build/bin docs/screenshots
