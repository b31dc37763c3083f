#!/usr/bin/env bash
# Builds everything and runs every test: the portable unit tests natively and under
# AddressSanitizer + UBSan, the Windows layer and the whole program under Wine, and a
# short fuzzing run of the archive reader.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
status=0
for preset in native asan win; do
  echo "=== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  retry=""
  # Desktop tests under Wine on a shared machine get one more try; a real fault fails twice.
  [ "$preset" = win ] && retry="--repeat until-pass:2"
  ctest --preset "$preset" -j "$jobs" $retry || status=1
done
if [ -x scripts/fuzz.sh ] && [ "${VN_SKIP_FUZZ:-0}" != 1 ]; then
  echo "=== fuzz"
  bash scripts/fuzz.sh "${VN_FUZZ_SECONDS:-60}" || status=1
fi
exit $status
