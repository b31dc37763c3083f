#!/usr/bin/env bash
# Search over 5,000 notes of about 4 KB (bench/search_bench.cpp), natively and
# under Wine as the Windows build runs it.
#   bench/search_bench.sh [NOTES] [ROUNDS]     (build folders: build/native, build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
vn_build native build/native search_bench
vn_build win build/win search_bench
echo "--- native"
build/native/bench/search_bench "$@"
echo "--- under Wine"
scripts/run-wine.sh build/win/search_bench.exe "$@"
