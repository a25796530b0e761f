#!/usr/bin/env bash
# Sets up, builds and runs vemlo on the bundled sample program with a sample
# query (the MOVE statements), then shows vemlo's exit status.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$root/build"
cd "$root"
status=0
build/tool/vemlo -q='STMT_MOVE' samples/PAYROLL.cbl || status=$?
echo "vemlo exit status: $status"
# A status of 30 and above is a crash or an interrupt.
[[ $status -lt 30 ]]
