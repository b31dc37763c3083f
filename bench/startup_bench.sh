#!/usr/bin/env bash
# Start-up with 0, 100 and 1,000 stored notes until the program is ready, its idle
# processor use, and the time of the store save at shutdown, measured under Wine on
# a private Xvfb desktop (bench/startup_bench.py says how).
#   bench/startup_bench.sh [RUNS]      (build folder: $VN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VN_BUILD:-build/win}
[ -f "$build/CMakeCache.txt" ] || cmake --preset win -B "$build" >/dev/null
cmake --build "$build" --target VantoryNote vn_inspect -j "$(nproc)" >/dev/null
VN_EXE="$PWD/$build/VantoryNote.exe" VN_INSPECT="$PWD/$build/vn_inspect.exe" \
  exec python3 bench/startup_bench.py "${1:-5}"
