#!/usr/bin/env bash
# The Language and Settings pages end to end, once per language (English,
# then Russian, chosen through CurLang in settings.ini):
#  1. copy the laid-out installation folder and start StampletsManager.exe
#     from it on a private Xvfb display;
#  2. open the Language page and keep a screenshot; open the Settings page,
#     keep a screenshot, drop down the toolbar-set list and keep another;
#  3. in the English run, double-click the second language row, keep a
#     screenshot (the restart note in the chosen language), close the window
#     and check that settings.ini names that language file.
#   pages_e2e.sh <dist folder> <build tree> <wine-run> <artifacts folder>
set -euo pipefail
dist=$1 build=$2 wine_run=$3 artifacts=$4

work=$(mktemp -d "$build/e2e-pages.XXXXXX")
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

[ -f "$dist/StampletsManager.exe" ] || fail "no StampletsManager.exe in $dist"
mkdir -p "$artifacts"

# A display of our own. The window is found by its program, not its caption,
# which is translated.
for n in $(seq 361 460); do
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

# settings.ini as the manager keeps it: UTF-16 LE with its mark, CR LF.
write_settings() {
  printf '\xff\xfe' >"$1"
  printf '[Translate]\r\nCurLang=%s\r\n' "$2" | iconv -f UTF-8 -t UTF-16LE >>"$1"
}

start_manager() {
  "$wine_run" "$1/StampletsManager.exe" &
  manager_pid=$!
  window=
  for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --classname '^stampletsmanager\.exe$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$manager_pid" 2>/dev/null || fail "the manager ended before its window showed"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window of StampletsManager.exe"
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  say "window $window at $X,$Y, $WIDTH x $HEIGHT"
}

close_manager() {
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key --window "$window" alt+F4 2>/dev/null
  for _ in $(seq 100); do kill -0 "$manager_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$manager_pid" 2>/dev/null && fail "the manager did not close on Alt+F4"
  manager_pid=
}

click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }
shot() {
  import -display "$DISPLAY" -window "$window" "$artifacts/$1.png"
  say "screenshot $artifacts/$1.png"
}
whole_screen_shot() {
  import -display "$DISPLAY" -window root -crop "${WIDTH}x$((HEIGHT + 200))+$X+$Y" \
    "$artifacts/$1.png"
  say "screenshot $artifacts/$1.png"
}

for language in ${E2E_LANGUAGES:-English Russian.ini}; do
  tag=$([ "$language" = English ] && echo english || echo russian)
  install=$work/$tag
  cp -r "$dist" "$install"
  write_settings "$install/settings.ini" "$language"
  start_manager "$install"

  # Language page: button 4 (left edge 162); the list at (8, 73).
  click $((162 + 38)) 34
  sleep 1
  shot "language-page-$tag"

  # Settings page: button 5 (left edge 240); the toolbar-set box at (31, 238).
  click $((240 + 38)) 34
  sleep 1
  shot "settings-page-$tag"
  click $((31 + 180)) $((238 + 18))
  sleep 1
  # The open list is a window of its own below the box.
  whole_screen_shot "settings-toolbar-list-$tag"
  # A click beside the list closes it.
  click 300 380
  sleep 0.5

  if [ "$language" = English ]; then
    click $((162 + 38)) 34
    sleep 1
    # The second row (the first language file); rows are about 23 pixels.
    xdotool mousemove $((X + 8 + 120)) $((Y + 73 + 34)) click --repeat 2 --delay 80 1
    sleep 1
    shot "language-page-after-choice"
    close_manager
    chosen=$(iconv -f UTF-16 -t UTF-8 "$install/settings.ini" | tr -d '\r' |
      sed -n 's/^CurLang=//p')
    say "CurLang after the double click: $chosen"
    case "$chosen" in
      *.ini) [ -f "$install/langs/$chosen" ] || fail "CurLang names no language file: $chosen" ;;
      *) fail "the double click stored no language file: '$chosen'" ;;
    esac
  else
    # Alt+F4 toggles a focused drop-down list: give the focus to the
    # language list first.
    click $((162 + 38)) 34
    sleep 0.5
    click $((8 + 120)) $((73 + 11))
    sleep 0.5
    close_manager
  fi
done
status=0
say "PASS"
