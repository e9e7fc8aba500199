#!/usr/bin/env bash
# Writes the notices of the libraries built into VALMERO's programs on one
# system, with their copyright and licence texts as Debian ships them
# (/usr/share/doc/PACKAGE/copyright), or for a library kept in third_party/,
# the licence file beside it. The Windows notices also carry the full
# texts of the licences those files name, which a Windows machine lacks.
#   third_party_notices.sh linux|windows OUTPUT VERSION
set -euo pipefail
platform="$1" output="$2" version="$3"

# library | the Debian package whose copyright file covers it, or a licence
# file in this source tree | how it is used
source_tree="$(cd "$(dirname "$0")/.." && pwd)"
utf8proc="utf8proc 2.8.0 (the song book's Unicode folding)|third_party/utf8proc/LICENSE.md|compiled into both programs"
case "$platform" in
  linux)
    libraries=(
      "$utf8proc"
      "wxWidgets (the desktop program's windows)|libwxgtk3.2-1|linked as a shared library"
      "Cairo (PDF song books)|libcairo2|linked as a shared library"
      "Pango (text in PDF song books)|libpango-1.0-0|linked as a shared library"
      "nlohmann-json (the check's JSON output)|nlohmann-json3-dev|compiled into valmero-cli"
      "GNU C++ library and GCC runtime|libstdc++6|linked as shared libraries")
    ;;
  windows)
    libraries=(
      "$utf8proc"
      "MinGW-w64 runtime and winpthreads|mingw-w64-x86-64-dev|linked statically into both programs"
      "GNU C++ library and GCC runtime (libstdc++, libgcc), under the GCC Runtime Library Exception|gcc-mingw-w64-x86-64-posix-runtime|linked statically into both programs"
      "nlohmann-json (the check's JSON output)|nlohmann-json3-dev|compiled into valmero-cli.exe")
    ;;
  *) echo "third_party_notices.sh: linux or windows, not '$platform'" >&2; exit 2 ;;
esac

rule() { printf '%.0s=' {1..76}; printf '\n'; }
{
  printf 'VALMERO %s: notices of the libraries in its programs\n' "$version"
  rule
  printf '\nVALMERO itself is under the MIT licence (LICENSE). Its programs for %s\n' \
    "$([[ $platform == linux ]] && echo Linux || echo Windows)"
  printf 'contain or use the libraries below. Each one'"'"'s copyright and licence\n'
  printf 'follow as Debian ships them with its package.\n\n'
  for entry in "${libraries[@]}"; do
    IFS='|' read -r name package use <<<"$entry"
    if [[ $package == */* ]]; then
      printf '  - %s: %s (%s)\n' "$name" "$use" "$package"
    else
      printf '  - %s: %s (Debian package %s)\n' "$name" "$use" "$package"
    fi
  done
  cited=()
  for entry in "${libraries[@]}"; do
    IFS='|' read -r name package use <<<"$entry"
    file="/usr/share/doc/$package/copyright"
    [[ $package == */* ]] && file="$source_tree/$package"
    printf '\n\n'; rule
    printf '%s\n' "$name"
    printf 'From %s\n' "${file#"$source_tree/"}"
    rule
    if [[ -r "$file" ]]; then
      cat "$file"
      mapfile -t -O "${#cited[@]}" cited < <(grep -o '/usr/share/common-licenses/[A-Za-z0-9.+-]*[A-Za-z0-9+-]' "$file" || true)
    else
      # A build machine without the package: said here and on stderr, and
      # caught by the packages' tests, which look for this line.
      echo "NOT FOUND on the build machine: $file (Debian package $package)"
      echo "third_party_notices.sh: $file is missing; install $package" >&2
    fi
  done
  if [[ $platform == windows ]]; then
    for license in $(for path in "${cited[@]}"; do readlink -e "$path" || true; done | sort -u); do
      printf '\n\n'; rule
      printf 'The licence text %s\n' "$license"
      rule
      cat "$license"
    done
  fi
} >"$output.tmp"
if [[ $platform == windows ]]; then
  sed -i 's/\r\?$/\r/' "$output.tmp"  # Notepad wants CR LF
fi
mv "$output.tmp" "$output"
