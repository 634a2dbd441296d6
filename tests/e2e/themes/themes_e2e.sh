#!/usr/bin/env bash
# A packed theme named on the manager's command line, end to end:
#  1. copy the laid-out installation folder to a scratch folder and pack a
#     theme (Slate's icons, a UTF-16 plist.ini with a Cyrillic THEME_NAME)
#     with Info-ZIP's zip under the fixed password, as "aurora.QMZ";
#  2. start StampletsManager.exe with its path on a private Xvfb display;
#  3. answer the confirmation "Stamplets: Confirm" with Yes (xdotool);
#  4. check themes/<name>/ with its eleven files and no temporary file;
#  5. click the Themes page button, check that the list holds the theme and
#     keep a screenshot of the page in the artifacts folder.
#   themes_e2e.sh <ManagerProbe.exe> <dist folder> <build tree> <wine-run> <artifacts folder>
set -euo pipefail
probe=$1 dist=$2 build=$3 wine_run=$4 artifacts=$5

work=$(mktemp -d "$build/e2e-themes.XXXXXX")
install=$work/install
package=$work/aurora.QMZ
theme='Aurora Тест'
xvfb_pid= manager_pid=

say() { echo "e2e: $*"; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

cleanup() {
  set +e
  if [ -n "$manager_pid" ]; then
    "$wine_run" taskkill /F /IM StampletsManager.exe >/dev/null 2>&1
    for _ in $(seq 50); do kill -0 "$manager_pid" 2>/dev/null || break; sleep 0.2; done
    kill "$manager_pid" 2>/dev/null
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  exit "${status:-1}"
}
trap cleanup EXIT

fail() { say "FAIL: $*"; status=1; exit 1; }

cp -r "$dist" "$install"
mkdir -p "$artifacts" "$work/package"
[ -f "$install/StampletsManager.exe" ] || fail "no StampletsManager.exe in $dist"
for n in 1 2 3 4 5 6 7 8 9 10; do cp "$dist/themes/Slate/$n.ico" "$work/package/"; done
printf '[AUTHOR]\r\nNAME=E2E\r\nVER=1.0.1\r\nTHEME_NAME=%s\r\nCOPYRIGHT=Made for the test/nsecond line/Nthird line\r\n' \
  "$theme" | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/package/plist.ini"
(cd "$work/package" && zip -q -X -P lemoncat "$package" ./*.ico plist.ini)

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

"$wine_run" "$install/StampletsManager.exe" "$(winpath "$package")" &
manager_pid=$!

confirm=
for _ in $(seq 600); do
  confirm=$(xdotool search --onlyvisible --name 'Stamplets: Confirm' 2>/dev/null | head -n 1 || true)
  [ -n "$confirm" ] && break
  kill -0 "$manager_pid" 2>/dev/null || fail "the manager ended early"
  sleep 0.1
done
[ -n "$confirm" ] || fail "no confirmation after 60 s"
say "confirmation window $confirm"
sleep 0.5
import -display "$DISPLAY" -window root "$artifacts/themes-confirm.png"
xdotool windowfocus --sync "$confirm" 2>/dev/null || true
xdotool key --clearmodifiers y

folder="$install/themes/$theme"
for _ in $(seq 200); do [ -f "$folder/plist.ini" ] && break; sleep 0.1; done
[ -f "$folder/plist.ini" ] || fail "no $folder/plist.ini after the confirmation"
for name in 1 2 3 4 5 6 7 8 9 10; do
  cmp -s "$folder/$name.ico" "$work/package/$name.ico" || fail "$name.ico differs or is missing"
done
cmp -s "$folder/plist.ini" "$work/package/plist.ini" || fail "plist.ini differs"
[ ! -e "$install/~temp.ini" ] && [ ! -e "$install/~temp.ico" ] || fail "a temporary file remains"
say "installed: $(ls "$folder" | tr '\n' ' ')"

# The Themes page button t_2 lies at (85, 1), 77 by 67, in the client area.
"$wine_run" "$probe" 123 34 | tr -d '\r' >"$work/probe.txt"
read -r _ px py < <(grep '^point ' "$work/probe.txt")
xdotool mousemove "$px" "$py" click 1
sleep 1.5
"$wine_run" "$probe" 123 34 | tr -d '\r' >"$work/probe.txt"
grep -q "^item [0-9]* [0-9]* $theme\$" "$work/probe.txt" ||
  fail "the theme list does not hold $theme: $(grep '^item' "$work/probe.txt" | tr '\n' ';')"
say "listed: $(grep "$theme" "$work/probe.txt")"

read -r _ left top right bottom < <(grep '^window ' "$work/probe.txt")
import -display "$DISPLAY" -window root "$work/screen.png"
/usr/bin/convert "$work/screen.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
  "$artifacts/themes-page.png"
say "screenshot: $artifacts/themes-page.png"
status=0
say "PASS"
