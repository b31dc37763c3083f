#!/usr/bin/env bash
# The scale figures in one run, under Wine on a private Xvfb desktop, against the
# empty program: start-up until ready, store save and memory with 0, 100, 1,000 and
# 5,000 stored notes; the idle processor use of the program and of the Wine server
# with 1,000 stored notes of which 100 are shown; the windows (and GDI objects) of a
# shown note and of a checklist line (bench/startup_bench.py says how).
#   bench/startup_bench.sh [RUNS]      (build folder: $VN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
build=${VN_BUILD:-build/win}
vn_build win "$build" VantoryNote vn_inspect
VN_EXE="$PWD/$build/VantoryNote.exe" VN_INSPECT="$PWD/$build/vn_inspect.exe" \
  exec python3 bench/startup_bench.py "${1:-5}"
