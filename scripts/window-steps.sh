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
