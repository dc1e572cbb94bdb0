#!/usr/bin/env bash
# Builds the Windows release zip from the windows build: dist/brennic-VERSION-win64.zip.
#
#   tools/dist.sh [BUILD_DIR [OUT_DIR]]     defaults: build/windows and dist
#
# The zip holds one folder, brennic-VERSION-win64, ready to run: brennic.exe with the demo config beside it and
# the demo program in Demo\, vxtool.exe, the examples (sources and compiled configs), README.txt, LICENSE.txt
# and THIRD-PARTY.txt (the licences of what static linking puts into the programs, from the installed Debian
# packages) with Windows line ends, and the config format documentation. Fails when a part is missing or a
# program imports anything but system DLLs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/windows}")
out=$(realpath -m "${2:-dist}")
version=$(sed -n 's/^project(Brennic VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then echo "dist: no project version in CMakeLists.txt" >&2; exit 1; fi
name=brennic-$version-win64

need() {
  for f in "$@"; do
    if [ ! -f "$f" ]; then echo "dist: $f is missing (build the windows preset first: make windows)" >&2; exit 1; fi
  done
}
need "$build/brennic.exe" "$build/tools/vxtool.exe" "$build/examples/demo-run/prog.vx" \
     "$build/examples/demo/brennic-demo.exe" docs/getting-started.md docs/config-format.md tools/dist/README.txt LICENSE

# Programs shipped to Windows users may import only DLLs every Windows has.
system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll ole32.dll advapi32.dll msvcrt.dll "
for program in "$build/brennic.exe" "$build/tools/vxtool.exe" "$build/examples/demo/brennic-demo.exe"; do
  while read -r dll; do
    lower=$(echo "$dll" | tr '[:upper:]' '[:lower:]')
    case $system_dlls in
      *" $lower "*) ;;
      *) echo "dist: $(basename "$program") imports $dll, which is not a system DLL" >&2; exit 1 ;;
    esac
  done < <(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
done

stage_root=$(mktemp -d "${TMPDIR:-/tmp}/brennic-dist.XXXXXX")
trap 'rm -rf "$stage_root"' EXIT
stage=$stage_root/$name
mkdir -p "$stage/Demo" "$stage/docs" "$stage/examples"
cp "$build/brennic.exe" "$build/tools/vxtool.exe" "$stage/"
cp "$build/examples/demo-run/prog.vx" "$stage/prog.vx"
cp "$build/examples/demo/brennic-demo.exe" "$stage/Demo/"
# brennic.exe is linked without symbols; the tools are stripped here.
x86_64-w64-mingw32-strip "$stage/vxtool.exe" "$stage/Demo/brennic-demo.exe"
cp docs/getting-started.md docs/config-format.md "$stage/docs/"
for source in examples/*/*.toml; do
  example=$(basename "$(dirname "$source")")
  mkdir -p "$stage/examples/$example"
  cp "$source" "$stage/examples/$example/"
  need "$build/examples/$example/prog.vx"
  cp "$build/examples/$example/prog.vx" "$stage/examples/$example/"
done
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' tools/dist/README.txt >"$stage/README.txt"
sed -e 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
python3 tools/dist/third-party.py "$stage_root/third-party.txt"
sed -e 's/$/\r/' "$stage_root/third-party.txt" >"$stage/THIRD-PARTY.txt"
rm "$stage_root/third-party.txt"

mkdir -p "$out"
rm -f "$out/$name.zip"
# Stable timestamps and order, so the same build gives the same zip.
find "$stage_root" -exec touch -h -d "@${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}" {} +
(cd "$stage_root" && find "$name" -print | LC_ALL=C sort | zip -q -X -D "$out/$name.zip" -@)
echo "dist: $out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
