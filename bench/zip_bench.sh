#!/usr/bin/env bash
# Runs the archive benchmark (bench/zip_bench.cpp) next to Info-ZIP zip/unzip and
# raw zlib on the same generated files.
#   bench/zip_bench.sh [RUNS]      (build folder: $VN_BUILD, default build/native)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
build=${VN_BUILD:-build/native}
vn_build native "$build" zip_bench
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vn-zip-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
"$build/bench/zip_bench" "$scratch/data" "${1:-5}"
