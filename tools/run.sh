#!/usr/bin/env bash
# `make run`: starts brennic.exe under Wine with the demo config and demo program, in a private Wine prefix
# under build/windows. With an X display the program runs until you close it. Without one, a private Xvfb is
# started, a screenshot of the window is saved to build/screenshot.png, and everything is stopped again.
# BRENNIC_SCALE=125 (or 100, 150, 200, ...) runs it at that display scale (LogPixels in a prefix of its own);
# the screenshot is then build/screenshot-125.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
run_dir="$build/examples/demo-run"
. "$root/tests/e2e/wine-session.sh"

if [ ! -f "$run_dir/brennic.exe" ]; then
  echo "run: $run_dir/brennic.exe is missing; build first (make windows)" >&2
  exit 1
fi
if [ ! -f "$run_dir/prog.vx" ]; then
  echo "run: no demo config at $run_dir/prog.vx; the program will report that it cannot load it" >&2
fi

headless=1
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then headless=0; fi

if [ "$headless" = 0 ]; then
  # The program's windows are left to the window manager, as a user would see them.
  export BRENNIC_WINE_MANAGED=1
  wine_session_prefix "$build/wineprefix-run"
  echo "run: starting brennic.exe from $run_dir (close its window to stop)"
  cd "$run_dir"
  exec wine ./brennic.exe </dev/null
fi

scale=${BRENNIC_SCALE:-}
if [ -n "$scale" ] && ! [[ "$scale" =~ ^[0-9]+$ && "$scale" -ge 100 && "$scale" -le 500 ]]; then
  echo "run: BRENNIC_SCALE must be a percentage from 100 to 500, not '$scale'" >&2
  exit 1
fi

# Without a window manager Wine draws the window frames itself (a prefix of its own for that).
trap wine_session_end EXIT
wine_session_prefix "$build/wineprefix-shot${scale:+-$scale}"
if [ -n "$scale" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((scale * 96 / 100)) /f >/dev/null 2>&1 </dev/null
  wineserver -w
fi
BRENNIC_PRIVATE_X=1 wine_session_display
cd "$run_dir"
wine ./brennic.exe </dev/null >/dev/null 2>&1 &
program=$!

# Wait (bounded) for the main window, then until two screenshots in a row are the same (painting done).
window=
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --class brennic.exe 2>/dev/null | tail -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$program" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$window" ]; then
  echo "run: the main window did not appear" >&2
  exit 1
fi
shot="$root/build/screenshot${scale:+-$scale}.png"
previous=
for _ in $(seq 50); do
  import -window root "$shot.tmp.png"
  current=$(md5sum <"$shot.tmp.png")
  [ "$current" = "$previous" ] && break
  previous=$current
  sleep 0.1
done
# Crop to the program's windows (the main window and any message box over it).
left=100000 top=100000 right=0 bottom=0
for w in $(xdotool search --onlyvisible --class brennic.exe 2>/dev/null); do
  eval "$(xdotool getwindowgeometry --shell "$w")"
  [ "$X" -lt "$left" ] && left=$X
  [ "$Y" -lt "$top" ] && top=$Y
  [ $((X + WIDTH)) -gt "$right" ] && right=$((X + WIDTH))
  [ $((Y + HEIGHT)) -gt "$bottom" ] && bottom=$((Y + HEIGHT))
done
if [ "$right" -gt "$left" ]; then
  convert "$shot.tmp.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shot"
else
  mv "$shot.tmp.png" "$shot"
fi
rm -f "$shot.tmp.png"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
echo "run: no X display; screenshot of the window saved to $shot"
