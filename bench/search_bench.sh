#!/usr/bin/env bash
# Search over 5,000 notes of about 4 KB (bench/search_bench.cpp), natively and
# under Wine as the Windows build runs it.
#   bench/search_bench.sh [NOTES] [ROUNDS]     (build folders: build/native, build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/native/CMakeCache.txt ] || cmake --preset native >/dev/null
cmake --build build/native --target search_bench -j 2 >/dev/null
[ -f build/win/CMakeCache.txt ] || cmake --preset win >/dev/null
cmake --build build/win --target search_bench -j 2 >/dev/null
echo "--- native"
build/native/bench/search_bench "$@"
echo "--- under Wine"
scripts/run-wine.sh build/win/search_bench.exe "$@"
