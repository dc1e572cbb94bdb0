#!/usr/bin/env bash
# The release zip as a Windows user meets it: built from the windows build, unpacked into an empty folder,
# brennic.exe started from there under a fresh Wine prefix with the demo config beside it. Passes when the
# main window appears titled with the described program's name (the config loaded, no DLL missing, nothing
# taken from the build tree), vxtool.exe from the zip accepts the shipped configs, and the programs import
# only system DLLs.
#
#   tools/dist-test.sh BUILD_DIR        (the windows build; the test works in BUILD_DIR/dist-test)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath "${1:-build/windows}")
work=$build/dist-test
rm -rf "$work"
mkdir -p "$work/zip" "$work/unpacked"

fail() { echo "dist-test: FAILED: $*" >&2; exit 1; }

tools/dist.sh "$build" "$work/zip" >&2
zip=$(ls "$work"/zip/brennic-*-win64.zip)
(cd "$work/unpacked" && unzip -q "$zip")
app=$(ls -d "$work"/unpacked/brennic-*-win64)
for f in brennic.exe vxtool.exe prog.vx Demo/brennic-demo.exe README.txt LICENSE.txt THIRD-PARTY.txt \
         docs/getting-started.md docs/config-format.md examples/xcopy/prog.toml examples/xcopy/prog.vx; do
  [ -f "$app/$f" ] || fail "$f is not in the zip"
done
for f in README.txt LICENSE.txt THIRD-PARTY.txt; do
  if ! grep -q $'\r$' "$app/$f" || grep -q $'[^\r]$' <(sed -n '1p' "$app/$f"); then
    fail "$f does not have Windows line ends"
  fi
done
grep -q "^Copyright (c) [0-9]* The Brennic developers" "$app/LICENSE.txt" || fail "LICENSE.txt names no copyright holder"
# Every part that static linking puts into the programs has its licence text.
for text in "toml++" "Files: mingw-w64-libraries/winpthreads/\*" "License: ZPL-2.1" "License: Lucent" \
            "GCC RUNTIME LIBRARY EXCEPTION" "GNU GENERAL PUBLIC LICENSE"; do
  grep -q -- "$text" "$app/THIRD-PARTY.txt" || fail "THIRD-PARTY.txt lacks \"$text\""
done

system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll ole32.dll advapi32.dll msvcrt.dll "
for program in "$app/brennic.exe" "$app/vxtool.exe" "$app/Demo/brennic-demo.exe"; do
  imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
  [ -n "$imports" ] || fail "no import table read from $(basename "$program")"
  for dll in $imports; do
    lower=$(echo "$dll" | tr '[:upper:]' '[:lower:]')
    case $system_dlls in *" $lower "*) ;; *) fail "$(basename "$program") imports $dll" ;; esac
  done
done

# The version resource carries the project version the zip is named after.
version=$(basename "$zip" | sed 's/^brennic-\(.*\)-win64\.zip$/\1/')
strings -el "$app/brennic.exe" | grep -qx "$version" || fail "brennic.exe has no version resource text $version"

# The window title is the described program's name: the demo config's folder name.
expected=$(sed -n 's/^folder = "\(.*\)"$/\1/p' examples/demo/demo.toml | head -n 1)
[ -n "$expected" ] || fail "no folder name in examples/demo/demo.toml"

# shellcheck source=../tests/e2e/wine-session.sh
source tests/e2e/wine-session.sh
trap wine_session_end EXIT
rm -rf "$work/wineprefix" "$work/wineprefix.lock"
wine_session_prefix "$work/wineprefix"
wine_session_display

# The probe comes from the build tree; everything it starts comes from the unpacked folder only.
probe=$build/bench/startup_probe.exe
[ -f "$probe" ] || fail "$probe is missing"
exe=$(winepath -w "$app/brennic.exe" 2>/dev/null)
if ! result=$(cd "$app" && wine "$probe" 1 "\"$exe\"" 2>"$work/probe.err" </dev/null); then
  cat "$work/probe.err" >&2
  fail "brennic.exe from the zip showed no window"
fi
title=$(echo "$result" | tr -d '\r' | head -n 1 | cut -d' ' -f4-)
echo "dist-test: brennic.exe started from the zip: window \"$title\"" >&2
[ "$title" = "$expected" ] || fail "main window titled \"$title\", expected \"$expected\" (config not loaded?)"

for config in "$app/prog.vx" "$app"/examples/*/prog.vx; do
  name=$(winepath -w "$config" 2>/dev/null)
  if ! (cd "$app" && wine vxtool.exe check "$name" </dev/null >"$work/check.out" 2>&1); then
    cat "$work/check.out" >&2
    fail "vxtool.exe from the zip refused $config"
  fi
done
echo "dist-test: passed ($(stat -c %s "$zip") bytes, $(basename "$zip"))"
