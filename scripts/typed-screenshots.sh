#!/usr/bin/env bash
# Takes the screenshots of typed answers and of the settings dialog with the
# drill options from the real program under a window manager:
# docs/screenshots/typed-answer-right-en.png, typed-answer-wrong-en.png,
# typed-answer-wrong-de.png, typed-settings-en.png, typed-settings-de.png.
# Needs xvfb, openbox, xdotool and ImageMagick; run by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=window-shots.sh
. scripts/window-shots.sh

printf 'lesson\tword1\tword2\n1\tgood morning\tGuten Morgen\n' > "$work/pair.tsv"
"$prog/quillmere-lang" import "$work/pair.tsv" --tsv "$prog/typed.lang" --lang1 English --lang2 Deutsch

# settings LANGUAGE: a settings file with typed answers on.
settings() {
  cat > "$prog/Quillmere.Ini" <<EOF
[Application]
Language=$1

[GeneralProperty]
AutoPresent=False
VoiceAnswer=False
LetterAnswer=False
DelayPresent=10
DelayAnswer=10
VoicePresent=0
ShowTable=True
TypedAnswer=True
IgnoreCase=False
IgnoreAccents=True
IgnorePunctuation=True
SpeakMissing=True
CardPace=1
LetterPace=2

[Exercise]
LangFileName=$prog/typed.lang
Lang1=English
Lang2=Deutsch
FirstLang=True
MaxWords=6

[AvailableUnits]
0=1
NbrUnits=1

[ExerciseWords]
NbrWords=0
EOF
}

start() {
  (cd "$prog" && exec ./quillmere >"$work/run.log" 2>&1) &
  pid=$!
  sleep 3
}
stop() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  sleep 1
}

# typed NAME LANGUAGE TEXT: an exercise, TEXT typed as the answer, Return.
typed() {
  settings "$2"
  start
  xdotool key F5
  sleep 3
  xdotool type --delay 60 "$3"
  xdotool key Return
  sleep 3
  shot "typed-answer-$1"
  stop
}

typed right-en EN "Guten Morgen"
typed wrong-en EN "gutem Morgn!"
typed wrong-de DE "gutem Morgn!"

# The settings dialog from the main window's Exercise menu.
for lang in EN DE; do
  l=$(echo "$lang" | tr 'A-Z' 'a-z')
  settings "$lang"
  start
  # Exercise > General settings by their underlined letters.
  if [ "$lang" = EN ]; then xdotool key alt+e; sleep 1; xdotool key g; else xdotool key alt+b; sleep 1; xdotool key a; fi
  sleep 2
  shot "typed-settings-$l"
  stop
done
