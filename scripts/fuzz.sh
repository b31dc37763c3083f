#!/usr/bin/env bash
# Fuzzes the readers of outside data for about SECONDS seconds each (default 20):
# the archive unpacker, the store's index file with its record reader, and the
# plain-text body reader, and the text search reads from a body.
#   scripts/fuzz.sh [SECONDS] [HARNESS...]     (HARNESS: zip, index, body, text; default all)
# Builds only the harnesses (clang, ASan + UBSan) into build/fuzz, or into
# $VN_FUZZ_BUILD; makes seeds (archives with the installed zip tools, a few index
# and body files); keeps what the fuzzer learns in <build>/<harness>-corpus for the
# next run. A finding is written to <build>/crash-* (or leak-*, oom-*, timeout-*)
# and makes the script fail.
set -euo pipefail
seconds=${1:-20}
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(zip index body text)
cd "$(dirname "$0")/.."
build=${VN_FUZZ_BUILD:-build/fuzz}
cmake --preset fuzz -B "$build" >/dev/null
targets=()
for h in "${harnesses[@]}"; do
  case $h in
    zip) targets+=(zip_unpack_fuzzer) ;;
    index) targets+=(index_file_fuzzer) ;;
    body) targets+=(body_text_fuzzer) ;;
    text) targets+=(note_text_fuzzer) ;;
    *) echo "unknown harness: $h" >&2; exit 2 ;;
  esac
done
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"

seed_store() {
  local folder=$1
  rm -rf "$folder"
  mkdir -p "$folder"
  printf 'editor.exe|Report 7 - Editor=WS-01|11.08.2015 14:03:22|Information\\2.txt|010\r\n' > "$folder/plain"
  printf 'browser.exe|search?q=x | Site=HALL'"'"'B|t|Information\\0.txt|\nx.exe|a=WS||x|Temp Export\\1.txt|1\r' > "$folder/odd"
  printf '\xef\xbb\xbfnotepad.exe|\xd0\x9e\xd1\x82\xd1\x87\xd1\x91\xd1\x82=WS|t|Information\\0.txt|1\r\n' > "$folder/utf8"
  printf '\xff\xfea\x00|\x00b\x00=\x00o\x00|\x00t\x00|\x00\r\x00\n\x00' > "$folder/utf16"
  printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 milk\\par}' > "$folder/rtf"
  printf 'milk\r\neggs\rbread\nbutter' > "$folder/text"
  printf '\xfe\xff\x00a\x00\r\x00\n\xd8\x3d' > "$folder/utf16be"
  printf '{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 A;}{\\f1\\cpg1250 B;}}\\f0 \\'"'"'cf {\\f1\\'"'"'b3}\\uc2\\u26085\\'"'"'93\\'"'"'fa\\par {\\*\\x y}{\\pict\\bin2 }}\\emdash\\line\\cell\\row}' > "$folder/rtf-text"
}

status=0
for target in "${targets[@]}"; do
  name=${target%_fuzzer}
  seeds="$build/$name-seeds"
  corpus="$build/$name-corpus"
  mkdir -p "$corpus"
  options=()
  if [ "$target" = zip_unpack_fuzzer ]; then
    rm -rf "$seeds"
    mkdir -p "$seeds"
    python3 fuzz/make_zip_seeds.py "$seeds"
    options=(-dict=fuzz/zip.dict -max_len=8192)
  else
    seed_store "$seeds"
    options=(-max_len=4096)
  fi
  echo "--- $target, $seconds s"
  # A single allocation above 64 MB or a process above 1 GB counts as a finding: no
  # input, however it lies, may make a reader allocate by what it claims.
  "$build/fuzz/$target" -max_total_time="$seconds" "${options[@]}" \
    -malloc_limit_mb=64 -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/" "$corpus" "$seeds" || status=1
done
exit $status
