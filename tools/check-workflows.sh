#!/usr/bin/env bash
# Checks every CI workflow in .github/workflows against the GitHub Actions workflow schema, offline, with the
# validator pinned in tools/workflow-check/package-lock.json (installed there by npm ci on first use).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
checker="$root/tools/workflow-check"
if [ ! -x "$checker/node_modules/.bin/action-validator" ]; then
  (cd "$checker" && npm ci --no-audit --no-fund --silent)
fi
status=0
for workflow in "$root"/.github/workflows/*.yml; do
  if "$checker/node_modules/.bin/action-validator" "$workflow"; then
    echo "workflow ok: ${workflow#"$root"/}"
  else
    echo "workflow INVALID: ${workflow#"$root"/}"
    status=1
  fi
done
exit "$status"
