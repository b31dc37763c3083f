#!/usr/bin/env bash
# Takes the user guide's picture of a note at 150 % (docs/guide-scale-150.png): the
# note window's test on a Wine display at 144 DPI puts a note on Notepad, and
# VN_SCALE_PICTURE asks it for the screen around them.
#   docs/make_scale_picture.sh     (build folder: $VN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VN_BUILD:-build/win}
[ -f "$build/CMakeCache.txt" ] || cmake --preset win -B "$build" >/dev/null
cmake --build "$build" --target vn_win_tests -j 2 >/dev/null
shot=$(mktemp --suffix .bmp)
trap 'rm -f "$shot"' EXIT
VN_WINE_DPI=144 VN_SCALE_PICTURE="Z:${shot//\//\\}" scripts/run-wine.sh "$build/vn_win_tests.exe" \
  --gtest_filter='Dpi144NoteWindow.ANoteOnNotepad*' >/dev/null
convert "$shot" -strip -colors 64 "PNG8:docs/guide-scale-150.png"
echo "docs/guide-scale-150.png"
