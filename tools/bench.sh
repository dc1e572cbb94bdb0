#!/usr/bin/env bash
# The benchmarks behind `make bench`: the portable core (Google Benchmark, bench preset), then start-up, size
# and memory of brennic.exe under Wine beside a bare dialog program of the same toolchain and beside Brennic's
# windows created without its work (windows preset).
# Prints one table with every figure and its target. BENCH_RUNS sets the start-up runs per program (default 11).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${BENCH_RUNS:-11}
results=build/bench/results
mkdir -p "$results" build/bench/data
rm -f "$results"/*

echo "bench: portable core" >&2
BRENNIC_BENCH_DATA=build/bench/data build/bench/bench/brennic_bench \
  --benchmark_out="$results/core.json" --benchmark_out_format=json >&2

echo "bench: Windows programs" >&2
win=build/windows
for f in "$win/brennic.exe" "$win/bench/bare_dialog.exe" "$win/bench/window_set.exe" \
         "$win/bench/startup_probe.exe" "$win/examples/demo-run/prog.vx" "$win/bench/run_flood_probe.exe" \
         "$win/tests/e2e/brennic_e2e_talker.exe"; do
  if [ ! -f "$f" ]; then echo "bench: $f is missing (make windows)" >&2; exit 1; fi
done

# A copy of the ready-to-run demo folder: brennic.exe loads prog.vx from its own folder.
run=build/bench/run
rm -rf "$run"
mkdir -p "$run"
cp -r "$win/examples/demo-run/." "$run/"
cp "$win/brennic.exe" "$run/brennic.exe"
cp "$win/bench/bare_dialog.exe" "$run/bare_dialog.exe"
cp "$win/bench/window_set.exe" "$run/window_set.exe"

stat -c %s "$win/brennic.exe" >"$results/brennic.size"
stat -c %s "$win/bench/bare_dialog.exe" >"$results/bare.size"
x86_64-w64-mingw32-objdump -p "$win/brennic.exe" | sed -n 's/^\s*DLL Name: //p' >"$results/brennic.imports"

# shellcheck source=../tests/e2e/wine-session.sh
source tests/e2e/wine-session.sh
trap wine_session_end EXIT
wine_session_prefix "$root/build/bench/wineprefix"
wine_session_display
brennic_exe=$(winepath -w "$root/$run/brennic.exe" 2>/dev/null)
bare_exe=$(winepath -w "$root/$run/bare_dialog.exe" 2>/dev/null)
set_exe=$(winepath -w "$root/$run/window_set.exe" 2>/dev/null)
probe="$win/bench/startup_probe.exe"
# The three programs in turn. The first round also starts Wine's desktop process and fills the caches: it is
# not counted (one probe process keeps the session alive between the runs).
if ! wine "$probe" "$((runs + 1))" "\"$brennic_exe\"" "\"$bare_exe\"" "\"$set_exe\"" >"$results/startup.txt" 2>"$results/startup.err" </dev/null; then
  echo "bench: the start-up probe failed:" >&2
  cat "$results/startup.err" >&2
  exit 1
fi

# The run window under a flood of output: BENCH_FLOOD_ROUNDS rounds (default 3) of 200 MiB, each written once
# to NUL and once into a run window, then 2 GiB once in the window; Brennic's peak working set after each.
flood=build/bench/flood
rm -rf "$flood"
mkdir -p "$flood"
cp "$win/brennic.exe" "$flood/brennic.exe"
flood_exe=$(winepath -w "$root/$flood/brennic.exe" 2>/dev/null)
talker_exe=$(winepath -w "$root/$win/tests/e2e/brennic_e2e_talker.exe" 2>/dev/null)
if ! wine "$win/bench/run_flood_probe.exe" "$flood_exe" "$talker_exe" "${BENCH_FLOOD_ROUNDS:-3}" 200 2048 \
    >"$results/flood.txt" 2>"$results/flood.err" </dev/null; then
  echo "bench: the flood probe failed:" >&2
  cat "$results/flood.err" >&2
  exit 1
fi

python3 - "$results" <<'PY'
import json, statistics, sys, os
results = sys.argv[1]
every = json.load(open(os.path.join(results, "core.json")))["benchmarks"]
core = {b["name"]: b for b in every}
def rate(name):
    for key, b in core.items():
        if key.split("/")[0] == name:
            return b["bytes_per_second"] / 1e6
    raise SystemExit("bench: no result for " + name)
def micros(name, counter):
    for key, b in core.items():
        if key.split("/")[0] == name:
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
            return b["cpu_time"] * scale, b.get(counter, 0)
    raise SystemExit("bench: no result for " + name)
rows = []
def row(figure, value, target, met):
    rows.append((figure, value, target, "-" if met is None else ("met" if met else "MISSED")))

for label, key in (("largest config (17 MiB)", "Largest"), ("string-heavy config (64 MiB)", "Strings64MiB")):
    load, base = rate("BM_ConfigLoad_" + key), rate("BM_ConfigBaseline_" + key)
    row(f"config load+validate+build, {label}", f"{load:.0f} MB/s", "", None)
    row(f"  baseline read+scan, {label}", f"{base:.0f} MB/s", "", None)
    row(f"  ratio to baseline", f"{load / base:.2f}", ">= 0.50", load / base >= 0.5)
us, length = micros("BM_StartThreePages", "parameter_bytes")
row("Start, three pages, long action texts, many marks", f"{us:.1f} us ({length/1024:.1f} KiB of parameters)", "", None)
us, length = micros("BM_PreviewPerKeystroke", "line_bytes")
row("  command preview per keystroke, the same pages", f"{us:.1f} us ({length/1024:.1f} KiB line)", "<= 1000 us", us <= 1000)
def repeated(name):
    # Repeated benchmarks: the lower quartile and the median of their rates, for a noisy machine.
    values = sorted(b["bytes_per_second"] / 1e6 for b in every
                    if b["name"].split("/")[0] == name and b.get("run_type") == "iteration")
    if not values: raise SystemExit("bench: no result for " + name)
    return values[len(values) // 4], statistics.median(values)
low, mid = repeated("BM_RunOutputFlood")
row("run window: output flood through decoding, layout and view updates", f"{mid:.0f} MB/s (lower quartile {low:.0f})",
    ">= 40 MB/s (200 MiB in 5 s)", low >= 40)
low, mid = repeated("BM_RunOutputPlainFlood")
row("  plain numbered lines, as the flood probe's program writes them", f"{mid:.0f} MB/s (lower quartile {low:.0f})", "", None)
low, mid = repeated("BM_RunLogStream")
row("  the same output streamed into the log", f"{mid:.0f} MB/s (lower quartile {low:.0f})", "", None)

runs = {0: [], 1: [], 2: []}
memory = {0: [], 1: [], 2: []}
title = ""
seen = set()
for line in open(os.path.join(results, "startup.txt")):
    parts = line.split(None, 3)
    if len(parts) < 3: continue
    index = int(parts[0])
    if index not in seen:  # the warm-up round
        seen.add(index)
        continue
    runs[index].append(float(parts[1]))
    memory[index].append(int(parts[2]))
    if index == 0 and len(parts) > 3: title = parts[3].strip()
b, d = statistics.median(runs[0]), statistics.median(runs[1])
row(f"start-up to shown and idle, brennic.exe, median of {len(runs[0])} (window \"{title}\")", f"{b:.1f} ms", "", None)
row(f"start-up to shown and idle, bare dialog, median of {len(runs[1])}", f"{d:.1f} ms", "", None)
row("  start-up ratio brennic / bare", f"{b / d:.2f}", "<= 1.10", b / d <= 1.10)
w = statistics.median(runs[2])
row(f"start-up to shown and idle, Brennic's windows without its work, median of {len(runs[2])}", f"{w:.1f} ms", "", None)
row("  ratio windows alone / bare (what Wine takes to create them)", f"{w / d:.2f}", "", None)
row("  ratio brennic / windows alone (Brennic's own start-up work)", f"{b / w:.2f}", "", None)
size = int(open(os.path.join(results, "brennic.size")).read())
bare = int(open(os.path.join(results, "bare.size")).read())
row("brennic.exe size", f"{size} bytes ({size/1048576:.2f} MiB)", "<= 1 MiB", size <= 1048576)
row("  bare dialog size", f"{bare} bytes", "", None)
system = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll", "ole32.dll",
          "advapi32.dll", "msvcrt.dll", "psapi.dll", "shlwapi.dll", "oleaut32.dll", "uxtheme.dll"}
imports = [l.strip() for l in open(os.path.join(results, "brennic.imports")) if l.strip()]
foreign = [i for i in imports if i.lower() not in system]
row("brennic.exe imports", " ".join(sorted(i.lower().removesuffix(".dll") for i in imports)), "system DLLs only", not foreign)
pb, pd = statistics.median(memory[0]), statistics.median(memory[1])
row("peak working set after start-up, brennic.exe", f"{pb/1024:.1f} MiB", "", None)
row("  peak working set after start-up, bare dialog", f"{pd/1024:.1f} MiB", "", None)
row("  peak working set after start-up, Brennic's windows without its work", f"{statistics.median(memory[2])/1024:.1f} MiB", "", None)

def quartile(values):
    values = sorted(values)
    return values[(len(values) - 1) // 4]
nul, window, answers, peak = [], [], [], {}
for line in open(os.path.join(results, "flood.txt")):
    parts = line.split()
    if parts[0] == "nul" and parts[1] == "200": nul.append(float(parts[2]))
    if parts[0] == "window":
        if parts[1] == "200":
            window.append(float(parts[2]))
            answers.append(float(parts[5]))
        peak[parts[1]] = int(parts[7])
wm, nm = statistics.median(window), statistics.median(nul)
row(f"200 MiB of lines into the run window, median of {len(window)} (min / lower quartile)",
    f"{wm:.0f} ms ({min(window):.0f} / {quartile(window):.0f})", "", None)
row(f"  the same program writing to NUL, median of {len(nul)} (min / lower quartile)",
    f"{nm:.0f} ms ({min(nul):.0f} / {quartile(nul):.0f})", "", None)
row("  ratio window / NUL (medians)", f"{wm / nm:.2f}", "<= 2.00", wm / nm <= 2.0)
row("  run window's answer to a sent message during the flood, 99th percentile (worst round)",
    f"{max(answers):.1f} ms", "<= 50 ms", max(answers) <= 50)
row("  peak working set of brennic.exe after 200 MiB", f"{peak['200']/1024:.1f} MiB", "<= 64 MiB",
    peak["200"] <= 64 * 1024)
row("  peak working set after a further 2 GiB", f"{peak['2048']/1024:.1f} MiB", "no more than after 200 MiB",
    peak["2048"] <= peak["200"])

width = [max(len(r[i]) for r in rows + [("Figure", "Value", "Target", "")]) for i in range(4)]
def show(r): print("  ".join(c.ljust(width[i]) for i, c in enumerate(r)).rstrip())
show(("Figure", "Value", "Target", ""))
show(tuple("-" * w for w in width))
for r in rows: show(r)
PY
