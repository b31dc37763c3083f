#!/usr/bin/env bash
# How long a store save holds up the interface thread: the native benchmark
# (bench/save_block_bench.cpp: capture and hand-over, the longest turn of a stand-in
# message loop while the writer writes, and the write itself, at 1,000 and 5,000
# notes), then the program itself under Wine during the first save of a 1,000-note
# store (the scenario e2e_first_save_keeps_notes_moving, which prints the longest
# gap between handled messages).
#   bench/save_block_bench.sh [RUNS]   (build folders: $VN_BUILD, default build/native;
#                                       $VN_WIN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
build=${VN_BUILD:-build/native}
win=${VN_WIN_BUILD:-build/win}
runs=${1:-5}
vn_build native "$build" save_block_bench
"$build/bench/save_block_bench" "$runs"
vn_build win "$win" VantoryNote vn_inspect
echo "the program under Wine, first save of 1,000 notes:"
ctest --test-dir "$win" -R '^e2e_first_save_keeps_notes_moving$' -V 2>&1 | grep -E 'interface thread|moves during|Passed|Failed'
