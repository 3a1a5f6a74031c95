# Sourced by the screenshot scripts that drive the real program with xdotool:
# finding windows, clicking, and the way into the lesson editor.

# The first visible window whose title matches.
window() { xdotool search --onlyvisible --name "$1" | head -1; }
# Where a window's inner area starts on the screen: sets X and Y.
origin() { read -r X Y < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}'); }
# A click at a screen point, then a pause (seconds, 1.5 unless given).
click() { xdotool mousemove "$1" "$2"; sleep 0.3; xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep "${3:-1.5}"; }

# The lesson editor of lesson 1: the editor button of the main window, then
# the lesson button of the exercise editor. It is then the active window.
open_lesson_editor() {
  local main width
  main=$(window 'Quillmere V')
  origin "$main"
  width=$(xwininfo -id "$main" | awk '/Width/{print $2}')
  click $((X + width - 68)) $((Y + 65))
  origin "$(xdotool getactivewindow)"
  click $((X + 221)) $((Y + 24)) 2
}

# Starts the program of the copied folder in an interface language (EN, DE);
# sets pid.
start_program() {
  sed -i -e "s/^Language=.*/Language=$1/" "$prog/Quillmere.Ini"
  (cd "$prog" && exec ./quillmere >"$work/run.log" 2>&1) &
  pid=$!
  sleep 3
}
stop_program() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  sleep 1
}
