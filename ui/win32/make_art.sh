#!/usr/bin/env bash
# Makes the Windows program's icon and bitmaps from the program's PNG art
# (ImageMagick); run it when the art changes and commit the results.
set -euo pipefail
cd "$(dirname "$0")"
convert ../art/valmero-16.png ../art/valmero-32.png ../art/valmero-48.png art/valmero.ico
convert ../art/logo.png -background '#F0F0F0' -flatten -type TrueColor BMP3:art/logo.bmp
convert ../art/title.png -background white -flatten -type TrueColor BMP3:art/title.bmp
