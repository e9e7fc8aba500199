#!/usr/bin/env bash
# Makes valmero-windows-x64.zip: valmero.exe, valmero-cli.exe, help.htm and a
# short README.txt, cross-built with the windows preset. The programs need
# only the DLLs every 64-bit Windows has.
#   scripts/package-windows.sh [OUTPUT_FOLDER]     (default: the repository)
set -euo pipefail
cd "$(dirname "$0")/.."
output="$(realpath "${1:-.}")"

cmake --preset windows >/dev/null
cmake --build --preset windows --target valmero valmero-cli

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
folder="$stage/valmero-windows-x64"
mkdir -p "$folder"
cp build-windows/bin/valmero.exe build-windows/bin/valmero-cli.exe "$folder/"
cp ui/help/help.htm "$folder/"
# Windows' Notepad wants CR LF.
sed 's/$/\r/' >"$folder/README.txt" <<'TEXT'
VALMERO for 64-bit Windows
==========================

VALMERO makes the index a number-based karaoke player reads (ENGLISH.KVX),
the song list LIST.TXT, the player's SCDG.CFG, and copies the songs under
their numbers (00001.MP3, 00001.MCG, ...).

valmero.exe      the desktop program: tick the options, choose the source
                 (a folder of downloaded songs, or a songlist text file) and
                 the target folder, press MAKE. Right-click the window
                 (or press F5) to check what a run would do first, or to
                 make a printable song book of the collection.
valmero-cli.exe  the same from a command prompt or a script, for example
                   valmero-cli make --source D:\Songs --target E:\KVX --list
                 "valmero-cli --help" lists every command and option.
help.htm         the help page (the desktop program's Help button opens it).

Every step is logged in mirqlog.txt in the folder the program is started
from; a catalogue products.cp found there names the songs without a tag.
Paths are limited to 259 characters, as in every Windows program.
No installation: unpack the folder anywhere and start the programs there.
TEXT

rm -f "$output/valmero-windows-x64.zip"
(cd "$stage" && zip -q -r -X "$output/valmero-windows-x64.zip" valmero-windows-x64)
echo "$output/valmero-windows-x64.zip"
