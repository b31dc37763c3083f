#!/usr/bin/env bash
# The checklist walk on a key release in a 100-line note, under Wine with the real
# rich-text control, as a ratio to a key release without the walk.
#   bench/checklist_bench.sh [ROUNDS]      (build folder: $VN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
build=${VN_BUILD:-build/win}
vn_build win "$build" checklist_bench
cd "$build"  # the note reads its tile picture from the current folder
exec ../../scripts/run-wine.sh ./checklist_bench.exe "${1:-200}"
