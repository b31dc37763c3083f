#!/usr/bin/env bash
# Fuzzes the archive unpacker for about SECONDS seconds (default 60).
#   scripts/fuzz.sh [SECONDS]
# Builds only the harness (clang, ASan + UBSan) into build/fuzz, or into
# $VN_FUZZ_BUILD; makes seed archives with the installed zip tools; keeps what the
# fuzzer learns in <build>/zip-corpus for the next run. A finding is written to
# <build>/crash-* (or leak-*, oom-*, timeout-*) and makes the script fail.
set -euo pipefail
seconds=${1:-60}
cd "$(dirname "$0")/.."
build=${VN_FUZZ_BUILD:-build/fuzz}
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target zip_unpack_fuzzer -j "$(nproc)"
seeds="$build/zip-seeds"
corpus="$build/zip-corpus"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus"
python3 fuzz/make_zip_seeds.py "$seeds"
# A single allocation above 64 MB or a process above 1 GB counts as a finding: no
# archive, however it lies, may make the unpacker allocate by what it claims.
"$build/fuzz/zip_unpack_fuzzer" -max_total_time="$seconds" -dict=fuzz/zip.dict -max_len=8192 \
  -malloc_limit_mb=64 -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$build/" "$corpus" "$seeds"
