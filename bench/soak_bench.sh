#!/usr/bin/env bash
# The long soak: the end-to-end soak (tests/e2e/vn_soak.py) for 30 minutes of a
# person's use, with its figures: steps, checkpoints, restarts, kills and, for every
# run of the program, the slope of its kernel handles, windows and private memory
# after the warm-up.
#   bench/soak_bench.sh [SECONDS] [SEED]   (build folder: $VN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
build=${VN_BUILD:-build/win}
vn_build win "$build" VantoryNote vn_inspect
VN_EXE="$PWD/$build/VantoryNote.exe" VN_INSPECT="$PWD/$build/vn_inspect.exe" VN_SOURCE_DIR="$PWD" \
  VN_ARTIFACTS="$PWD/$build/e2e-artifacts" VN_SOAK_SECONDS="${1:-1800}" VN_SOAK_SEED="${2:-1312}" \
  VN_SOAK_RESTARTS="${VN_SOAK_RESTARTS:-0.2}" \
  PYTHONPATH="$PWD/tests/e2e" exec python3 tests/e2e/scenarios/soak.py
