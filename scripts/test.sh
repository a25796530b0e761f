#!/usr/bin/env bash
# Sets up, builds and runs every test.
#   scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build" "$@"
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure --timeout 600
