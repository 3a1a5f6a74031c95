#!/usr/bin/env bash
# Takes the screenshots of the lesson editor with a Greek lesson and of the
# offer to convert a Windows-1252 file, from the real windows under a virtual
# display with a window manager (for the captions): docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target quillmere-editor-shots program_files text_db
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x800x24" sh -c '
  openbox & wm=$!
  sleep 1
  QT_QPA_PLATFORM=xcb build/tools/quillmere-editor-shots build/bin docs/screenshots; rc=$?
  kill $wm
  exit $rc'
