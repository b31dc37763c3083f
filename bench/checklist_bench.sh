#!/usr/bin/env bash
# The checklist walk on a key release in a 100-line note, under Wine with the real
# rich-text control, as a ratio to a key release without the walk.
#   bench/checklist_bench.sh [ROUNDS]      (build folder: $VN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VN_BUILD:-build/win}
[ -f "$build/CMakeCache.txt" ] || cmake --preset win -B "$build" >/dev/null
cmake --build "$build" --target checklist_bench -j 2 >/dev/null
cd "$build"  # the note reads its tile picture from the current folder
exec ../../scripts/run-wine.sh ./checklist_bench.exe "${1:-200}"
