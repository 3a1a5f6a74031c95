#!/usr/bin/env bash
# Takes the screenshots of a table with wrong rows imported into the lesson
# editor of the real program under a window manager, driven by keys: the
# list's menu key, the import entry, the file dialog. The rows' reasons are in
# the interface language: docs/screenshots/lesson-table-errors-en.png and -de.png.
# Needs xvfb, openbox, xdotool and ImageMagick; run by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=window-shots.sh
. scripts/window-shots.sh

table="$work/words.csv"
printf 'lesson,word1,word2,use\n1,house,Haus,1\n1,tree,,1\nx,ferry,F\xc3\xa4hre,1\n1,birch,Birke,yes\n1,bird,V\xc3\xb6gel#,1\n1,"two\nlines",zwei Zeilen,1\n' >"$table"

# shellcheck source=window-steps.sh
. scripts/window-steps.sh

for language in EN DE; do
  l=$(echo "$language" | tr 'A-Z' 'a-z')
  start_program "$language"
  open_lesson_editor
  editor=$(xdotool getactivewindow)
  xdotool windowmove "$editor" 40 40; sleep 1
  # The pair list has the focus: its menu, the import entry (second from the end).
  xdotool key Menu; sleep 1
  xdotool key Up Up Return; sleep 2
  # The file dialog: the table's path into its name field.
  xdotool type --delay 20 "$table"; sleep 0.5
  xdotool key Return; sleep 2
  import -window root "$work/full.png"
  convert "$work/full.png" -trim +repage "$OUT/lesson-table-errors-$l.png"
  echo "wrote $OUT/lesson-table-errors-$l.png"
  stop_program
done
