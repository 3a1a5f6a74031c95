#!/usr/bin/env bash
# Takes the screenshots of the lesson editor with a sound marked bad, from the
# real program under a window manager: the demo file's first German sound is
# replaced by a silent one in a copy of the program's folder, and the mark's
# tooltip is shown: docs/screenshots/editor-sound-check-en.png and -de.png.
# Needs xvfb, openbox, xdotool and ImageMagick; run by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=window-shots.sh
. scripts/window-shots.sh

# The sound the first pair of lesson 1 names on its German side, made silent.
lang="$prog/LangFiles/Eng_Ger/english_german.lang"
wav2=$("$prog/quillmere-lang" export "$lang" | awk -F'\t' '$1 == 1 && $2 == 0 { print $8; exit }')
silent="$prog/$(echo "$wav2" | tr '\\' '/')"
python3 - "$silent" <<'PY'
import sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
    w.writeframes(b"\0\0" * 22050)
PY
"$prog/quillmere-lang" check "$lang" --lesson 1 || true

# shellcheck source=window-steps.sh
. scripts/window-steps.sh

for language in EN DE; do
  l=$(echo "$language" | tr 'A-Z' 'a-z')
  start_program "$language"
  open_lesson_editor
  editor=$(xdotool getactivewindow)
  xdotool windowmove "$editor" 40 40; sleep 1
  # The mark ends the second sound field's row: hover it for its tooltip.
  origin "$editor"
  w=$(xwininfo -id "$editor" | awk '/Width/{print $2}')
  h=$(xwininfo -id "$editor" | awk '/Height/{print $2}')
  xdotool mousemove $((X + w - 20)) $((Y + h - 22)); sleep 2
  import -window root "$work/full.png"
  convert "$work/full.png" -trim +repage "$OUT/editor-sound-check-$l.png"
  echo "wrote $OUT/editor-sound-check-$l.png"
  stop_program
done
