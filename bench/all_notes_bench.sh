#!/usr/bin/env bash
# The All Notes window with 5,000 notes of about 4 KB under Wine, in one run each:
# start until ready, the search texts read after it, the window's first and later
# opening, every keystroke of typed searches (list and preview drawn), and the memory
# the search text costs per note (the child role "all-notes-timing" of the
# Windows-side test program).
#   bench/all_notes_bench.sh [RUNS] [NOTES]   (build folder: $VN_WIN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
win=${VN_WIN_BUILD:-build/win}
runs=${1:-3}
notes=${2:-5000}
vn_build win "$win" vn_win_tests
echo "All Notes under Wine with $notes notes ($runs runs):"
for _ in $(seq "$runs"); do
  scripts/run-wine.sh "$win/vn_win_tests.exe" --child all-notes-timing "$notes" | tr -d '\r'
done
