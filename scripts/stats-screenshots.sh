#!/usr/bin/env bash
# Takes the screenshots of the statistics window from the real program under
# a window manager, on a copy of the demo with four weeks of history and an
# exercise list with pairs held back: docs/screenshots/statistics-en.png and
# statistics-de.png. Needs xvfb, openbox, xdotool and ImageMagick; run by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=window-shots.sh
. scripts/window-shots.sh

lang="$prog/LangFiles/Eng_Ger/english_german.lang"
python3 - "$(realpath "$lang")" "$prog/Quillmere.History" "$prog/Quillmere.Ini" <<'PY'
import datetime, random, sys
key, history, ini = sys.argv[1:4]
random.seed(7)
today = datetime.datetime.now().replace(hour=19, minute=0, second=0, microsecond=0)
lines = []
for back in range(27, -1, -1):
    if random.random() < 0.3:
        continue
    day = today - datetime.timedelta(days=back)
    for n in range(random.randint(8, 40)):
        typed = random.choice(["right", "right", "right", "wrong", "-"])
        stamp = (day + datetime.timedelta(seconds=20 * n)).strftime("%Y-%m-%d %H:%M:%S")
        lines.append(f"{stamp}\t{random.randint(1, 3)}\t{random.randint(0, 12)}\t{random.choice([0, 0, 1, 2, 3])}\t{typed}\t{key}\n")
open(history, "w").write("".join(lines))
words = [(1, 0, 2), (1, 1, 1), (1, 2, 0), (1, 4, 3), (2, 0, 8), (2, 3, 1), (3, 1, 2), (3, 2, 0)]
text = open(ini).read().replace("[ExerciseWords]\nNbrWords=0",
    "[ExerciseWords]\n" + "".join(f"{i}={l}-{p}-{q}\n" for i, (l, p, q) in enumerate(words)) + f"NbrWords={len(words)}")
open(ini, "w").write(text)
PY
"$prog/quillmere-lang" stats "$lang" --history "$prog/Quillmere.History" --settings "$prog/Quillmere.Ini" | head -6

# shellcheck source=window-steps.sh
. scripts/window-steps.sh

for language in EN DE; do
  l=$(echo "$language" | tr 'A-Z' 'a-z')
  start_program "$language"
  # The exercise menu, then its statistics item.
  if [ "$language" = EN ]; then xdotool key alt+e; else xdotool key alt+b; fi
  sleep 0.5
  xdotool key t; sleep 2
  xdotool windowmove "$(xdotool getactivewindow)" 40 40; sleep 1
  shot "statistics-$l"
  xdotool key Escape; sleep 0.5
  stop_program
done
