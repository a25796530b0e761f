#!/usr/bin/env bash
# Sets up, builds and runs vemlo on the bundled sample program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$root/build"
if [[ -x "$root/build/tool/vemlo" ]]; then
  "$root/build/tool/vemlo" -q='STMT_MOVE' "$root/samples/PAYROLL.cbl"
else
  echo "Built the libraries; the vemlo program itself is not there yet."
fi
