# Helpers shared by scripts/test and scripts/demo (sourced, not run).

# start_display: gives this shell an X display, a private Xvfb when there is
# none, stopped when the script exits.
start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  STAMPLETS_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$fd_file")"
  rm -f "$fd_file"
  trap stop_background EXIT
}

# start_wineserver PREFIX: keeps one wineserver alive for the whole run, so
# the many short Windows programs do not each start their own.
start_wineserver() {
  export WINEPREFIX
  WINEPREFIX=$(realpath -m "$1")
  STAMPLETS_WINEPREFIX_USED=$WINEPREFIX
  mkdir -p "$(dirname "$WINEPREFIX")"
  STAMPLETS_WINEPREFIX="$WINEPREFIX" cmake/wine-run cmd /c exit >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -p >/dev/null 2>&1 || true
  trap stop_background EXIT
}

stop_background() {
  if [ -n "${STAMPLETS_WINEPREFIX_USED:-}" ]; then
    WINEPREFIX=$STAMPLETS_WINEPREFIX_USED /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "${STAMPLETS_XVFB_PID:-}" ]; then
    kill "$STAMPLETS_XVFB_PID" >/dev/null 2>&1 || true
  fi
}
