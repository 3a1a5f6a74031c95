# Sourced by the screenshot scripts that drive the real program under a
# window manager. Outside the virtual display it builds the program, copies
# its folder (so the build's settings stay as they are) and runs the calling
# script again under xvfb-run; inside it starts openbox and defines `shot`.
# Needs xvfb, openbox, xdotool and ImageMagick.
if [ -z "${WINDOW_SHOTS_WORK:-}" ]; then
  cmake --build build --target quillmere quillmere-lang program_files text_db
  mkdir -p docs/screenshots
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  cp -r build/bin "$work/prog"
  WINDOW_SHOTS_WORK="$work" OUT="$PWD/docs/screenshots" xvfb-run -a -s "-screen 0 1280x800x24" "$0"
  exit
fi

work="$WINDOW_SHOTS_WORK"
prog="$work/prog"
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true' EXIT
sleep 1

# The active window with its frame.
shot() {
  import -frame -window "$(xdotool getactivewindow)" "$OUT/$1.png"
  echo "wrote $OUT/$1.png"
}
