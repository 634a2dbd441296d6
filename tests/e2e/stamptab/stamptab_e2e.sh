#!/usr/bin/env bash
# The Stamplets page in the shell's own Properties window, end to end:
#  1. copy the laid-out installation folder to a scratch folder and register
#     its Stamptab.dll with regsvr32 in the build tree's Wine prefix;
#  2. open the Properties of a file through its context menu (the probe);
#  3. on a private Xvfb display, click the "Stamplets" tab and double-click
#     "Important" with xdotool;
#  4. check that base.ini of the copy holds the file's path with "7" and
#     that the page marks "Important"; keep a screenshot of the page;
#  5. unregister and remove everything made here, whatever happened.
#   stamptab_e2e.sh <probe.exe> <dist folder> <build tree> <wine-run> <artifacts folder>
set -euo pipefail
probe=$1 dist=$2 build=$3 wine_run=$4 artifacts=$5

work=$(mktemp -d "$build/e2e-stamptab.XXXXXX")
install=$work/install
signals=$work/signals
target=$work/target.txt
xvfb_pid= probe_pid= registered=

say() { echo "e2e: $*"; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

cleanup() {
  set +e
  [ -d "$signals" ] && touch "$signals/close"
  if [ -n "$probe_pid" ]; then
    for _ in $(seq 50); do kill -0 "$probe_pid" 2>/dev/null || break; sleep 0.2; done
    kill "$probe_pid" 2>/dev/null
  fi
  if [ -n "$registered" ]; then
    "$wine_run" regsvr32 /s /u "$(winpath "$install/Stamptab.dll")"
    if "$wine_run" reg query 'HKCR\*\shellex\PropertySheetHandlers\Varnok.StampletsProp.1' \
        >/dev/null 2>&1; then
      say "FAIL: the handler key is still registered"
      status=1
    fi
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  exit "${status:-1}"
}
trap cleanup EXIT

fail() { say "FAIL: $*"; status=1; exit 1; }

# Waits up to $2 seconds for the file $1.
wait_for() {
  local i
  for i in $(seq $(($2 * 10))); do
    [ -s "$1" ] && return 0
    [ -s "$signals/error.txt" ] && fail "probe: $(cat "$signals/error.txt")"
    if [ -n "$probe_pid" ] && ! kill -0 "$probe_pid" 2>/dev/null; then
      fail "the probe ended early"
    fi
    sleep 0.1
  done
  fail "no $(basename "$1") after $2 s"
}

# The store's text (UTF-16 with BOM) in UTF-8.
store_text() { [ -f "$install/base.ini" ] && iconv -f UTF-16 -t UTF-8 "$install/base.ini" || true; }

cp -r "$dist" "$install"
mkdir -p "$signals" "$artifacts"
printf 'a file to mark\r\n' >"$target"
[ -f "$install/Stamptab.dll" ] || fail "no Stamptab.dll in $dist"

# A display of our own.
for n in $(seq 140 240); do
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

"$wine_run" regsvr32 /s "$(winpath "$install/Stamptab.dll")" || fail "regsvr32 failed"
registered=1
"$wine_run" reg query 'HKCR\*\shellex\PropertySheetHandlers\Varnok.StampletsProp.1' >/dev/null ||
  fail "regsvr32 wrote no handler key"

"$wine_run" "$probe" "$(winpath "$target")" "$(winpath "$signals")" &
probe_pid=$!

wait_for "$signals/tab.txt" 90
read -r tab_x tab_y <"$signals/tab.txt"
say "Stamplets tab at $tab_x,$tab_y"
xdotool mousemove "$tab_x" "$tab_y" click 1

wait_for "$signals/item.txt" 30
read -r item_x item_y <"$signals/item.txt"
say "Important at $item_x,$item_y"
sleep 1
xdotool mousemove "$item_x" "$item_y" click --repeat 2 --delay 120 1

expected="$(winpath "$target")=7"
for _ in $(seq 100); do
  store_text | tr -d '\r' | grep -qiF "$expected" && break
  sleep 0.1
done
store_text | tr -d '\r' | grep -qiF "$expected" ||
  fail "base.ini does not hold $expected; it holds: $(store_text)"
say "base.ini holds $(store_text | tr -d '\r' | grep -iF target.txt)"

for _ in $(seq 50); do grep -qF '[ Important ]' "$signals/texts.txt" && break; sleep 0.1; done
grep -qxF '[ Important ]' "$signals/texts.txt" || fail "the page does not mark Important"
[ "$(grep -c '^\[ ' "$signals/texts.txt")" = 1 ] || fail "more than one entry is marked"
[ "$(wc -l <"$signals/texts.txt")" = 11 ] || fail "the page does not show eleven entries"

sleep 0.5
import -display "$DISPLAY" -window root "$artifacts/stamptab-properties-screen.png"
# The Properties window alone: its X window (named after the file), or else
# its rectangle as Windows reports it.
window_id=$(xdotool search --onlyvisible --name 'target\.txt' 2>/dev/null | head -n 1 || true)
if [ -n "$window_id" ]; then
  import -display "$DISPLAY" -window "$window_id" "$artifacts/stamptab-properties.png"
else
  read -r left top right bottom <"$signals/sheet.txt"
  /usr/bin/convert "$artifacts/stamptab-properties-screen.png" \
    -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    "$artifacts/stamptab-properties.png"
fi
say "screenshot: $artifacts/stamptab-properties.png"

touch "$signals/close"
for _ in $(seq 100); do kill -0 "$probe_pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$probe_pid" 2>/dev/null; then fail "the Properties window did not close"; fi
wait "$probe_pid" || fail "the probe reported a failure"
probe_pid=
status=0
say "PASS"
