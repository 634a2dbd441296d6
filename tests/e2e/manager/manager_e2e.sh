#!/usr/bin/env bash
# Stamplets Manager end to end:
#  1. copy the laid-out installation folder to a scratch folder and start
#     StampletsManager.exe from it on a private Xvfb display;
#  2. click the five page buttons with xdotool; after each click check that
#     the button shows the selected look and keep a screenshot of the page;
#  3. close the window with Alt+F4 and check that settings.ini holds the
#     window placement written at exit;
#  4. choose Deutsch.ini in settings.ini, start again and check the window
#     comes up translated, with the two-line About button.
#   manager_e2e.sh <dist folder> <build tree> <wine-run> <artifacts folder>
set -euo pipefail
dist=$1 build=$2 wine_run=$3 artifacts=$4

work=$(mktemp -d "$build/e2e-manager.XXXXXX")
install=$work/install
xvfb_pid= manager_pid=

say() { echo "e2e: $*"; }

cleanup() {
  set +e
  if [ -n "$manager_pid" ] && kill -0 "$manager_pid" 2>/dev/null; then
    kill "$manager_pid" 2>/dev/null
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  exit "${status:-1}"
}
trap cleanup EXIT

fail() { say "FAIL: $*"; status=1; exit 1; }

cp -r "$dist" "$install"
mkdir -p "$artifacts"
[ -f "$install/StampletsManager.exe" ] || fail "no StampletsManager.exe in $dist"

# A display of our own.
for n in $(seq 241 340); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
    export DISPLAY=":$n"
    break
  fi
  xvfb_pid=
done
[ -n "${DISPLAY:-}" ] && [ -n "$xvfb_pid" ] || fail "no free X display"
say "display $DISPLAY"

"$wine_run" "$install/StampletsManager.exe" &
manager_pid=$!

window=
for _ in $(seq 600); do
  window=$(xdotool search --onlyvisible --name '^Stamplets Manager$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$manager_pid" 2>/dev/null || fail "the manager ended before its window showed"
  sleep 0.1
done
[ -n "$window" ] || fail "no window named Stamplets Manager"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
say "window $window at $X,$Y, $WIDTH x $HEIGHT"

# The colour of one screen pixel as rrggbb.
pixel() {
  import -display "$DISPLAY" -window root -crop "1x1+$1+$2" -depth 8 txt:- |
    sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1 | tr 'A-F' 'a-f'
}

# Page number, button left edge in the client area (the About button is
# kept at the right edge), and the name of its screenshot.
pages=("1 8 library" "2 85 themes" "4 162 language" "5 240 settings"
       "3 $((WIDTH - 80)) about" "1 8 library-again")
for entry in "${pages[@]}"; do
  read -r page left name <<<"$entry"
  xdotool mousemove $((X + left + 38)) $((Y + 34)) click 1
  sleep 1
  # The selected look: a dark line down the button's second column, on the
  # light face; other buttons are plain.
  line=$(pixel $((X + left + 1)) $((Y + 30)))
  face=$(pixel $((X + left + 10)) $((Y + 60)))
  [ "$line" != "$face" ] || fail "page $page: button does not show the selected look ($line)"
  for other in 8 85 162 240 $((WIDTH - 80)); do
    [ "$other" = "$left" ] && continue
    [ "$(pixel $((X + other + 1)) $((Y + 30)))" = "$(pixel $((X + other + 10)) $((Y + 60)))" ] ||
      fail "page $page: the button at $other looks selected too"
  done
  shot="$artifacts/manager-page$page-$name.png"
  import -display "$DISPLAY" -window "$window" "$shot"
  say "page $page ($name): $shot"
done

# A hint reaches the status bar: point at the Settings button.
xdotool mousemove $((X + 240 + 38)) $((Y + 34))
sleep 0.5
import -display "$DISPLAY" -window "$window" "$artifacts/manager-hint.png"

xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --window "$window" alt+F4 2>/dev/null
for _ in $(seq 100); do kill -0 "$manager_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$manager_pid" 2>/dev/null && fail "the manager did not close on Alt+F4"
manager_pid=

[ -f "$install/settings.ini" ] || fail "no settings.ini written at exit"
settings=$(iconv -f UTF-16 -t UTF-8 "$install/settings.ini" | tr -d '\r')
say "settings.ini: $(echo "$settings" | tr '\n' ' ')"
echo "$settings" | grep -qx 'State=0' || fail "settings.ini has no State=0"
echo "$settings" | grep -qx "width=[0-9]*" || fail "settings.ini has no width"

python3 - "$install/settings.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, "rb").read().decode("utf-16")
text += "\r\n[Translate]\r\nCurLang=Deutsch.ini\r\n"
open(path, "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
"$wine_run" "$install/StampletsManager.exe" &
manager_pid=$!
window=
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Stamplets-Verwaltung$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$manager_pid" 2>/dev/null || fail "the manager ended before its German window showed"
  sleep 0.1
done
[ -n "$window" ] || fail "no window named Stamplets-Verwaltung"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH - 80 + 38)) $((Y + 34)) click 1
sleep 1
shot="$artifacts/manager-page3-about-deutsch.png"
import -display "$DISPLAY" -window "$window" "$shot"
say "page 3 in German: $shot"
# "Über das/nProgramm": the About button's first line starts above where a
# one-line caption would, so row 39 holds ink while the Library button's does not.
dark_row() {
  import -display "$DISPLAY" -window root -crop "77x1+$1+$2" -depth 8 txt:- |
    sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
    awk '$1 + $2 + $3 < 288 { found = 1 } END { exit !found }'
}
dark_row $((X + WIDTH - 80)) $((Y + 39)) || fail "the About button does not show two lines"
dark_row $((X + 8)) $((Y + 39)) && fail "the Library button shows ink above its one line"
xdotool key --window "$window" alt+F4 2>/dev/null
for _ in $(seq 100); do kill -0 "$manager_pid" 2>/dev/null || break; sleep 0.1; done
status=0
say "PASS"
