#!/bin/sh
# Renders the PNG icons from lunmark.svg. Run it after changing the drawing and
# commit the results; the build installs the committed files as they are.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 48 256; do
  rsvg-convert --width "$size" --height "$size" --output "lunmark-$size.png" lunmark.svg
done
