#!/usr/bin/env bash
# Takes the screenshots that only the eye can judge from the real program under
# a window manager (frames and title bars as a learner sees them), driven by
# keys and clicks: docs/screenshots/wm-*.png. Needs xvfb, openbox, xdotool and
# ImageMagick (apt-get install xvfb openbox xdotool imagemagick); run by hand.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${WM_SHOTS_WORK:-}" ]; then
  cmake --build build --target quillmere program_files text_db
  mkdir -p docs/screenshots
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  # The program runs on a copy of its folder, so the build's settings stay as they are.
  cp -r build/bin "$work/prog"
  WM_SHOTS_WORK="$work" OUT="$PWD/docs/screenshots" xvfb-run -a -s "-screen 0 1280x800x24" "$0"
  exit
fi

work="$WM_SHOTS_WORK"
prog="$work/prog"
openbox >/dev/null 2>&1 &
sleep 1

# The screen minus its black background: the windows with their frames.
# shellcheck source=window-steps.sh
. scripts/window-steps.sh
shot() { import -window root "$work/full.png"; convert "$work/full.png" -trim +repage "$OUT/$1.png"; }
visible() { for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname "$w"; done; }

start() {
  sed -i -e "s/^Language=.*/Language=$1/" -e 's/^MaxWords=.*/MaxWords=6/' "$prog/Quillmere.Ini"
  (cd "$prog" && ./quillmere >/dev/null 2>&1) &
  sleep 3
}
quit() { xdotool key --window "$(window 'Quillmere V')" alt+F4 2>/dev/null || true; sleep 2; pkill -x quillmere || true; sleep 1; }

for lang in EN DE; do
  l=$(echo "$lang" | tr 'A-Z' 'a-z')
  start "$lang"
  shot "wm-main-window-$l"

  # An exercise in manual mode: Return goes on, a digit gives the pair a priority.
  xdotool key F5; sleep 2
  for i in $(seq 1 80); do
    [ "$i" = 6 ] && xdotool key 3
    xdotool key Return; sleep 0.6
    [ "$(visible | wc -l)" -ge 3 ] && break
  done
  sleep 1
  shot "wm-end-of-pass-question-$l"
  # No: the exercise table with headings and priorities.
  xdotool key Escape; sleep 1.5
  shot "wm-exercise-table-$l"
  xdotool key Escape; sleep 1.5

  # The lesson editor of lesson 1, resized larger by the learner.
  open_lesson_editor
  lesson=$(xdotool getactivewindow)
  xdotool windowsize "$lesson" 1000 640; sleep 0.5
  xdotool windowmove "$lesson" 100 60; sleep 1
  shot "wm-edit-lesson-resized-$l"
  quit
done
