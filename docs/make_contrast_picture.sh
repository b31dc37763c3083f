#!/usr/bin/env bash
# Takes the user guide's high-contrast picture (docs/guide-high-contrast.png).
# Wine cannot switch high contrast on for the whole desktop, so the picture comes
# from the note window's high-contrast test, which pins the program's flag and sets
# the system's black high-contrast colours; VN_CONTRAST_PICTURE asks it for the note
# as the screen shows it.
#   docs/make_contrast_picture.sh     (build folder: $VN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VN_BUILD:-build/win}
[ -f "$build/CMakeCache.txt" ] || cmake --preset win -B "$build" >/dev/null
cmake --build "$build" --target vn_win_tests -j 2 >/dev/null
shot=$(mktemp --suffix .bmp)
trap 'rm -f "$shot"' EXIT
VN_CONTRAST_PICTURE="Z:${shot//\//\\}" scripts/run-wine.sh "$build/vn_win_tests.exe" \
  --gtest_filter='NoteWindowTest.HighContrast*' >/dev/null
convert "$shot" -strip -colors 32 "PNG8:docs/guide-high-contrast.png"
echo "docs/guide-high-contrast.png"
