#!/usr/bin/env bash
# Export and import with 1,000 notes: the native benchmark (bench/exchange_bench.cpp:
# the exchange's work against the store and archive operations alone, on real
# files), then how long the two dialogs take to open with 1,000 rows under Wine
# (the child role "exchange-dialog-timing" of the Windows-side test program).
#   bench/exchange_bench.sh [RUNS]   (build folders: $VN_BUILD, default build/native;
#                                     $VN_WIN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
build=${VN_BUILD:-build/native}
win=${VN_WIN_BUILD:-build/win}
runs=${1:-7}
vn_build native "$build" exchange_bench
"$build/bench/exchange_bench" "$runs"
vn_build win "$win" vn_win_tests
echo "dialogs under Wine with 1,000 notes ($runs runs):"
for _ in $(seq "$runs"); do
  scripts/run-wine.sh "$win/vn_win_tests.exe" --child exchange-dialog-timing 1000 | tr -d '\r'
done
