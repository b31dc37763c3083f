#!/usr/bin/env bash
# A delete to the recycle bin and a restore from it, against the one-note store save,
# with 1,000 and 5,000 notes of 4 KB: natively (bench/bin_bench.cpp), then the same
# program built for Windows under Wine, in one run of this script.
#   bench/bin_bench.sh [RUNS]   (build folders: $VN_BUILD, default build/native;
#                                $VN_WIN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
build=${VN_BUILD:-build/native}
win=${VN_WIN_BUILD:-build/win}
runs=${1:-7}
vn_build native "$build" bin_bench
echo "natively:"
"$build/bench/bin_bench" "$runs"
vn_build win "$win" bin_bench
echo "under Wine:"
scripts/run-wine.sh "$win/bin_bench.exe" "$runs" | tr -d '\r'
