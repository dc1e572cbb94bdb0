#!/usr/bin/env bash
# Short run of every fuzz target over its committed seed corpus. FUZZ_SECONDS sets the time per target
# (default 20); the config-file target gets FUZZ_CONFIG_SECONDS (default 30). A crash leaves its input in
# build/fuzz/artifacts/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
config_seconds=${FUZZ_CONFIG_SECONDS:-30}
shopt -s nullglob
targets=(build/fuzz/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz-smoke: no fuzz targets built"
  exit 0
fi
mkdir -p build/fuzz/artifacts
passed=0
failed=0
for t in "${targets[@]}"; do
  [ -x "$t" ] || continue
  name=$(basename "$t")
  time=$seconds
  mode=(-max_total_time="$time")
  case $name in
    fuzz_config*) mode=(-max_total_time="$config_seconds"); time=$config_seconds ;;
  esac
  corpus=fuzz/corpus/${name#fuzz_}
  work=build/fuzz/work/$name
  mkdir -p "$work"
  if [ -d "$corpus" ]; then cp -r "$corpus"/. "$work"/ 2>/dev/null || true; fi
  echo "fuzz-smoke: $name for ${time}s"
  if "$t" "${mode[@]}" -timeout=20 -print_final_stats=1 \
      -artifact_prefix=build/fuzz/artifacts/"$name"- "$work" >"build/fuzz/$name.log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "build/fuzz/$name.log" || true
    passed=$((passed + 1))
  else
    tail -n 40 "build/fuzz/$name.log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
