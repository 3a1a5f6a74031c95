#!/usr/bin/env bash
# Takes screenshots of exercise cards in other scripts from the real program
# under a window manager: a German-Russian, an English-Chinese and an
# English-Arabic pair, question and answer written to their end:
# docs/screenshots/card-russian.png, card-chinese.png, card-arabic.png.
# Needs xvfb, openbox, xdotool and ImageMagick; run by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=window-shots.sh
. scripts/window-shots.sh

# card NAME LANG1 LANG2 TABLE: an exercise over the pair of TABLE (lesson 1),
# its card's question and answer written, then the shot.
card() {
  local name=$1 lang1=$2 lang2=$3 table=$4
  printf '%b' "$table" > "$work/$name.tsv"
  rm -f "$prog/$name.lang"
  "$prog/quillmere-lang" import "$work/$name.tsv" --tsv "$prog/$name.lang" --lang1 "$lang1" --lang2 "$lang2"
  cat > "$prog/Quillmere.Ini" <<EOF
[Application]
Language=EN

[Exercise]
LangFileName=$prog/$name.lang
Lang1=$lang1
Lang2=$lang2
FirstLang=True
MaxWords=6

[AvailableUnits]
0=1
NbrUnits=1

[ExerciseWords]
NbrWords=0
EOF
  (cd "$prog" && exec ./quillmere >"$work/$name.log" 2>&1) &
  local pid=$!
  sleep 3
  # F5 opens the exercise: the card flies in with the question; Return
  # writes the answer letter by letter.
  xdotool key F5
  sleep 3
  xdotool key Return
  sleep 5
  shot "card-$name"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  sleep 1
}

card russian "Deutsch" "Русский" \
  'lesson\tword1\tword2\n1\tGuten Morgen, wie geht es dir?\tДоброе утро, как у тебя дела?\n'
card chinese "English" "普通话" \
  'lesson\tword1\tword2\n1\tI would like a cup of green tea, please.\t请给我一杯绿茶。\n'
card arabic "English" "العربية" \
  'lesson\tword1\tword2\n1\tGood morning, how are you?\tصباح الخير، كيف حالك؟\n'
