#!/usr/bin/env bash
# Renders the program icon and the note tile picture from their SVG sources:
#   resources/icon/vantory-note.svg     -> 20, 24, 32, 48, 64 and 128 px images of the icon
#   resources/icon/vantory-note-16.svg  -> the 16 px image (drawn on whole pixels)
# (16, 20, 24 and 32 px are the notification area's icon at 100, 125, 150 and 200 %)
#   resources/icon/tile.svg             -> resources/hig.png (100 x 100)
# and packs the seven icon images into resources/VantoryNote.ico, every one as a
# 32-bit image with alpha. Safe to run again; the outputs are only replaced
# once everything has been rendered and checked.
set -euo pipefail
cd "$(dirname "$0")/.."

# The Debian ImageMagick, by full path: another `convert` may come first on PATH.
CONVERT=/usr/bin/convert
INKSCAPE=$(command -v inkscape || true)
ICOTOOL=$(command -v icotool || true)
missing=""
[ -n "$INKSCAPE" ] || missing="$missing inkscape"
[ -n "$ICOTOOL" ] || missing="$missing icotool(icoutils)"
[ -x "$CONVERT" ] || missing="$missing $CONVERT(imagemagick)"
if [ -n "$missing" ]; then
  echo "make-icon.sh: missing tools:$missing" >&2
  echo "install them with: sudo apt-get install inkscape icoutils imagemagick" >&2
  exit 1
fi

src=resources/icon
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# render SVG SIZE OUT: an RGBA PNG of SIZE x SIZE pixels, without the time stamps
# and tool metadata that would make every run produce a different file.
render() {
  "$INKSCAPE" "$1" --export-type=png --export-png-color-mode=RGBA_8 \
    --export-width="$2" --export-height="$2" --export-filename="$work/raw.png" >/dev/null 2>&1 \
    || { echo "make-icon.sh: inkscape could not render $1" >&2; exit 1; }
  "$CONVERT" "$work/raw.png" -strip -define png:exclude-chunks=date,time "PNG32:$3"
}

icons=()
sizes="16 20 24 32 48 64 128"
for size in $sizes; do
  svg=$src/vantory-note.svg
  [ "$size" = 16 ] && svg=$src/vantory-note-16.svg
  render "$svg" "$size" "$work/icon-$size.png"
  icons+=("$work/icon-$size.png")
done
"$ICOTOOL" -c -b 32 -o "$work/VantoryNote.ico" "${icons[@]}"

# The tile picture is drawn over the note's grey (201,201,201) tile face. Fully
# transparent pixels carry that grey as their colour, so a reader that ignores
# the alpha channel still shows the right background.
render "$src/tile.svg" 100 "$work/tile.png"
"$CONVERT" "$work/tile.png" -background 'rgb(201,201,201)' -alpha background \
  -strip -define png:exclude-chunks=date,time "PNG32:$work/hig.png"

# Check the results before they replace the committed files.
listing=$("$ICOTOOL" -l "$work/VantoryNote.ico")
for size in $sizes; do
  if ! grep -q -- "--width=$size --height=$size --bit-depth=32" <<<"$listing"; then
    echo "make-icon.sh: no 32-bit $size px image in the icon:" >&2
    echo "$listing" >&2
    exit 1
  fi
done
[ "$(wc -l <<<"$listing")" = 7 ] || { echo "make-icon.sh: unexpected images:" >&2; echo "$listing" >&2; exit 1; }
geometry=$("$CONVERT" "$work/hig.png" -format '%wx%h' info:)
[ "$geometry" = 100x100 ] || { echo "make-icon.sh: hig.png is $geometry, not 100x100" >&2; exit 1; }

cp "$work/VantoryNote.ico" resources/VantoryNote.ico
cp "$work/hig.png" resources/hig.png
echo "$listing"
echo "resources/hig.png: $geometry"
