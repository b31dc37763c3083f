#!/usr/bin/env bash
# Takes the user guide's two pictures that Wine cannot show on a whole desktop, from
# the Wine tests that already set up what they show (each keeps the screen around
# its note in a BMP file when asked through an environment variable):
# - docs/guide-high-contrast.png: the note's high-contrast test, which pins the
#   program's flag and sets the system's black contrast theme (VN_CONTRAST_PICTURE);
# - docs/guide-scale-150.png: a note on Notepad on a Wine display at 144 DPI
#   (VN_SCALE_PICTURE).
#   docs/make_test_pictures.sh     (build folder: $VN_BUILD, default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-folder.sh
build=${VN_BUILD:-build/win}
vn_build win "$build" vn_win_tests
shot=$(mktemp --suffix .bmp)
trap 'rm -f "$shot"' EXIT
winshot="Z:${shot//\//\\}"

# picture NAME COLOURS [VARIABLE=VALUE...] -- GTEST_FILTER
picture() {
  local name=$1 colours=$2
  shift 2
  local settings=()
  while [ "$1" != -- ]; do settings+=("$1"); shift; done
  env "${settings[@]}" scripts/run-wine.sh "$build/vn_win_tests.exe" --gtest_filter="$2" >/dev/null
  convert "$shot" -strip -colors "$colours" "PNG8:docs/$name.png"
  echo "docs/$name.png"
}

picture guide-high-contrast 32 VN_CONTRAST_PICTURE="$winshot" -- 'NoteWindowTest.HighContrast*'
picture guide-scale-150 64 VN_WINE_DPI=144 VN_SCALE_PICTURE="$winshot" -- 'Dpi144NoteWindow.ANoteOnNotepad*'
