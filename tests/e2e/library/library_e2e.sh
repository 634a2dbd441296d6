#!/usr/bin/env bash
# The Library page end to end:
#  1. a store of five records (existing files, a missing one, a name outside
#     the ANSI code page) in a copy of the installation folder; start the
#     manager on a private Xvfb display; check the alternate row fills and
#     keep a screenshot; click the Location header twice, check the order
#     changed both times and keep screenshots;
#  2. a store of 100,000 records: start again, check the window comes up
#     with the grid filled, sort by Location and keep screenshots.
#   library_e2e.sh <dist folder> <build tree> <wine-run> <artifacts folder>
set -euo pipefail
dist=$1 build=$2 wine_run=$3 artifacts=$4

work=$(mktemp -d "$build/e2e-library.XXXXXX")
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

for n in $(seq 341 440); do
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

# The installation folder as Windows sees it (wine-run maps / to Z:).
win_install="Z:$(echo "$install" | tr '/' '\\')"

# Writes base.ini (UTF-16 with its mark) from "path=value" lines on stdin.
write_store() {
  python3 -c '
import sys
lines = sys.stdin.read().splitlines()
text = "[Files]\r\n" + "".join(l + "\r\n" for l in lines)
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
' "$install/base.ini"
}

pixel() {
  import -display "$DISPLAY" -window root -crop "1x1+$1+$2" -depth 8 txt:- |
    sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1 | tr 'A-F' 'a-f'
}

start_manager() {
  "$wine_run" "$install/StampletsManager.exe" &
  manager_pid=$!
  window=
  for _ in $(seq 1200); do
    window=$(xdotool search --onlyvisible --name '^Stamplets Manager$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$manager_pid" 2>/dev/null || fail "the manager ended before its window showed"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window named Stamplets Manager"
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The grid: page panel at (8, 76), grid at (2, 2) in it, a 2-pixel border,
  # an 18-pixel header, then rows of 22.
  grid_x=$((X + 8 + 2 + 2)) grid_y=$((Y + 76 + 2 + 2))
  row_y() { echo $((grid_y + 18 + ($1 - 1) * 22 + 11)); }
}

stop_manager() {
  xdotool key --window "$window" alt+F4 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$manager_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$manager_pid" 2>/dev/null && kill "$manager_pid"
  manager_pid=
}

# ---- a few records -----------------------------------------------------------
mkdir -p "$install/docs/Ünïcødé Жук ☃"
echo x > "$install/docs/report.txt"
echo x > "$install/docs/Ünïcødé Жук ☃/notes.txt"
write_store <<STORE
$win_install\\docs\\report.txt=7
$win_install\\docs\\gone.txt=3
$win_install\\docs\\Ünïcødé Жук ☃\\notes.txt=1
$win_install\\docs=10
$win_install\\Archive.zip=2
STORE
start_manager
say "window $window at $X,$Y, $WIDTH x $HEIGHT"
far_x=$((X + WIDTH - 30))  # right of every path, inside column 2
import -display "$DISPLAY" -window "$window" "$artifacts/library-few.png"
[ "$(pixel $far_x "$(row_y 1)")" = "ffffff" ] || fail "row 1 is not white ($(pixel $far_x "$(row_y 1)"))"
[ "$(pixel $far_x "$(row_y 2)")" = "d8e9fe" ] || fail "row 2 does not have the even fill"
say "few records: $artifacts/library-few.png"

rows_shot() {  # the five rows' pixels, to tell one order from another
  import -display "$DISPLAY" -window root -crop "400x110+$((grid_x + 84))+$((grid_y + 18))" \
    -depth 8 rgb:- | md5sum | cut -d' ' -f1
}
before=$(rows_shot)
xdotool mousemove $((grid_x + 84 + 100)) $((grid_y + 9)) click 1
sleep 1
ascending=$(rows_shot)
import -display "$DISPLAY" -window "$window" "$artifacts/library-few-location-ascending.png"
xdotool mousemove $((grid_x + 84 + 100)) $((grid_y + 9)) click 1
sleep 1
descending=$(rows_shot)
import -display "$DISPLAY" -window "$window" "$artifacts/library-few-location-descending.png"
[ "$before" != "$ascending" ] || fail "the first click on Location changed nothing"
[ "$ascending" != "$descending" ] || fail "the second click on Location changed nothing"
# A click on a row selects it: the selection colour fills it.
xdotool mousemove $far_x "$(row_y 3)" click 1
sleep 0.5
[ "$(pixel $far_x "$(row_y 3)")" = "0071e1" ] || fail "a clicked row is not drawn selected"
import -display "$DISPLAY" -window "$window" "$artifacts/library-few-selected.png"
stop_manager

# ---- 100,000 records -------------------------------------------------------------
python3 -c '
import sys
for i in range(100000):
    print("C:\\Users\\someone\\Documents\\Projects\\Folder %d\\document %d.txt=%d" % (i // 100, i, i % 10 + 1))
' | write_store
started=$(date +%s.%N)
start_manager
ready=$(date +%s.%N)
say "100,000 records: window with grid after $(echo "$ready - $started" | bc) s (2 s settling included)"
import -display "$DISPLAY" -window "$window" "$artifacts/library-100000.png"
# Right of the paths and left of the scroll bar.
far_x=$((grid_x + 84 + 420))
[ "$(pixel $far_x "$(row_y 2)")" = "d8e9fe" ] || fail "the large grid shows no rows"
xdotool mousemove $far_x "$(row_y 1)" click 1
sleep 1
xdotool mousemove $((grid_x + 84 + 100)) $((grid_y + 9)) click 1
sleep 3
import -display "$DISPLAY" -window "$window" "$artifacts/library-100000-sorted.png"
stop_manager
say "screenshots in $artifacts"
status=0
say "PASS"
