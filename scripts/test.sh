#!/usr/bin/env bash
# Builds everything and runs every test: the portable unit tests natively and under
# AddressSanitizer + UBSan, the Windows layer and the whole program under Wine, and a
# short fuzzing run of the readers of outside data (archive, index file, body text).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
status=0
passed=0
failed=0
retried=()
failures=()
for preset in native asan win; do
  echo "=== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  retry=""
  # Desktop tests under Wine on a shared machine get one more try; a real fault fails twice.
  [ "$preset" = win ] && retry="--repeat until-pass:2"
  log=$(mktemp)
  ctest --preset "$preset" -j "$jobs" $retry 2>&1 | tee "$log" || status=1
  # "100% tests passed, 0 tests failed out of 101"
  summary=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -1 || true)
  if [ -n "$summary" ]; then
    f=$(echo "$summary" | awk '{print $1}'); t=$(echo "$summary" | awk '{print $NF}')
    failed=$((failed + f)); passed=$((passed + t - f))
  else
    status=1
  fi
  # A test that failed and then passed needed its second try: name it, so that a
  # flaky test stays visible instead of hidden by the retry.
  while read -r name; do
    [ -n "$name" ] && retried+=("$preset/$name")
  done < <(awk '/Test +#[0-9]+: /{ n=$0; sub(/.*Test +#[0-9]+: /,"",n); sub(/ .*/,"",n);
                 if ($0 ~ /Passed/) p[n]=1; else if ($0 ~ /\*\*\*|Failed|Timeout|Not Run/) f[n]=1 }
               END { for (n in f) if (n in p) print n }' "$log" | sort)
  # Name every test that failed for good at the end of the output, where a short log
  # still shows it.
  while read -r name; do
    [ -n "$name" ] && failures+=("$preset/$name")
  done < <(sed -n '/The following tests FAILED:/,$p' "$log" | grep -Eo '^[[:space:]]*[0-9]+ - [^ ]+' | awk '{print $3}')
  rm -f "$log"
done
if [ -x scripts/fuzz.sh ] && [ "${VN_SKIP_FUZZ:-0}" != 1 ]; then
  echo "=== fuzz"
  bash scripts/fuzz.sh "${VN_FUZZ_SECONDS:-20}" || { status=1; failures+=("fuzz"); }
fi
[ $status -eq 0 ] || [ $failed -gt 0 ] || failed=1
if [ ${#retried[@]} -gt 0 ]; then
  echo "passed only on the second try: ${retried[*]}"
else
  echo "passed only on the second try: none"
fi
[ ${#failures[@]} -eq 0 ] || echo "failed: ${failures[*]}"
echo "tests: $passed passed, $failed failed"
exit $status
