#!/usr/bin/env bash
# Runs the end-to-end driver under Wine on a private X display and the build's private Wine prefix.
#
#   run-under-wine.sh BUILD_DIR DRIVER_EXE [driver options...]
#
# Options that name files or folders on this machine (--exe, --data) are handed to the driver as Windows
# paths (drive Z:). The driver works in BUILD_DIR/e2e-work. Set BRENNIC_PRIVATE_X=0 to use $DISPLAY instead.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
driver=$2
shift 2

here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-session.sh"

to_windows() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --exe|--data) args+=("$1" "$(to_windows "$(cd "$(dirname "$2")" && pwd)/$(basename "$2")")"); shift 2 ;;
    *) args+=("$1"); shift ;;
  esac
done
work="$build_dir/e2e-work"
logs="$build_dir/e2e-logs"
mkdir -p "$work" "$logs"
log="$logs/all.txt"
prev=
for a in "${args[@]}"; do
  if [ "$prev" = --file ]; then log="$logs/$a.txt"; fi
  prev=$a
done
args+=(--work "$(to_windows "$work")")

trap wine_session_end EXIT
wine_session_prefix "$build_dir/wineprefix"
# A run that was stopped (a test time-out) may have left programs running in the prefix; they would hold the
# workspace's files. The end-to-end tests run one at a time, so nothing else uses the prefix now.
wineserver -k >/dev/null 2>&1 || true
wine_session_display

# The driver's output is read here; the programs it starts get NUL as their standard handles.
# sed -u passes each line on at once: a run that is stopped still shows how far it got. The driver bounds each
# case itself; this bounds each run below ctest's limit, so the session's clean-up (the trap) still runs.
run_driver() {
  timeout -k 10 280 wine "$driver" "${args[@]}" </dev/null | sed -u 's/\r$//' | tee "$log"
  local code=${PIPESTATUS[0]}
  if [ "$code" = 124 ]; then echo "run-under-wine: the driver did not end within 280 s" | tee -a "$log"; fi
  return "$code"
}
set +e
run_driver
status=$?
# Under Wine a program can stop responding now and then (seen after a command that opens the shell's folder
# browser: the browser never appeared and the program answered nothing more). The watchdog then ends the case;
# such a file is run again, at most twice, and every log is kept. A program that stops responding every time
# still fails.
for attempt in 2 3; do
  grep -q '^  watchdog:' "$log" || break
  mv "$log" "$log.stopped-$((attempt - 1))"
  echo "run-under-wine: a program stopped responding (log: $log.stopped-$((attempt - 1))); running the file again"
  wineserver -k >/dev/null 2>&1 || true
  run_driver
  status=$?
done
set -e
grep -q '^[0-9]* passed, 0 failed$' "$log" || status=1
exit "$status"
