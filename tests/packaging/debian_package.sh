#!/usr/bin/env bash
# The Debian package the way a user meets it: made with cpack from the build,
# clean for lintian (no errors) and appstreamcli; installed with apt-get, it
# makes the samples from a scratch folder as the built program does, its
# manual pages are found and its bash completion offers every option; removed,
# nothing of it is left.
#   debian_package.sh BUILD_DIR
# Exit 77 (skipped) where it cannot install packages, where valmero is already
# installed (it would be removed), or where a tool it needs is missing.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
build="$(realpath "$1")"
built_cli="$build/bin/valmero-cli"
skip() { echo "skipped: $*"; exit 77; }
[[ $(id -u) -eq 0 ]] || skip "installing a package needs root"
for tool in apt-get dpkg cpack lintian appstreamcli man; do
  command -v "$tool" >/dev/null || skip "no $tool (scripts/setup.sh --tests installs it)"
done

# One package test on the machine at a time, whichever build it comes from.
exec 9>/tmp/valmero-debian-package-test.lock
flock 9
dpkg-query -W -f='${Status}' valmero 2>/dev/null | grep -q 'ok installed' &&
  skip "valmero is installed on this machine; this test would remove it"

work="$(mktemp -d "${TMPDIR:-/tmp}/valmero-deb-XXXXXX")"
export DEBIAN_FRONTEND=noninteractive
apt() { apt-get -o DPkg::Lock::Timeout=300 -y -qq "$@" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; return 1; }; }
installed=""
trap '[[ -z "$installed" ]] || apt purge valmero || true; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" -D CPACK_OUTPUT_FILE_PREFIX="$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$work"/valmero_*_*.deb)"
[[ "$(basename "$deb")" == "valmero_$(dpkg-deb -f "$deb" Version)_$(dpkg --print-architecture).deb" ]] ||
  fail "the package is named $(basename "$deb")"
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian reports errors"; }
dpkg-deb -x "$deb" "$work/contents"
for metainfo in "$work"/contents/usr/share/metainfo/*.xml; do
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli finds fault with $(basename "$metainfo")"; }
done
zcat "$work/contents/usr/share/doc/valmero/THIRD-PARTY-NOTICES.gz" | grep -q 'NOT FOUND' &&
  fail "the notices lack a library's licence"

installed=yes
(cd "$work" && apt install "./$(basename "$deb")") || fail "apt-get install ./$(basename "$deb") failed"
dpkg-query -L valmero | sort >"$work/files.txt"
version="$("$built_cli" --version)"
[[ "$(valmero-cli --version)" == "$version" ]] || fail "the installed valmero-cli says $(valmero-cli --version)"
[[ "$(DISPLAY= valmero --version)" == "${version/valmero-cli/valmero}" ]] ||
  fail "the installed valmero says $(DISPLAY= valmero --version), valmero-cli $version"
for page in valmero valmero-cli; do
  man -w "$page" >/dev/null 2>&1 || fail "man -w $page finds no manual page"
done
grep -q '\.config/VALMERO\.conf' /usr/share/valmero/help.htm && ! grep -q HKEY_ /usr/share/valmero/help.htm ||
  fail "the installed help.htm is not the Linux help"

# The samples from a scratch folder, as the built program makes them.
for side in installed built; do
  mkdir -p "$work/$side"
  cp "$source_dir/samples/products.cp" "$work/$side/"
done
status=0
(cd "$work/installed" && valmero-cli make --source "$source_dir/samples/download" --target out \
  --list --config-renumber --copy-all >/dev/null 2>&1) || status=$?
built_status=0
(cd "$work/built" && "$built_cli" make --source "$source_dir/samples/download" --target out \
  --list --config-renumber --copy-all >/dev/null 2>&1) || built_status=$?
[[ $status -eq $built_status ]] || fail "the installed program ended $status, the built one $built_status"
[[ -s "$work/installed/out/ENGLISH.KVX" ]] && diff -r -q "$work/installed/out" "$work/built/out" ||
  fail "the installed program made other files than the built one"

# The completion offers every option the help names.
offered="$(bash -c 'source /usr/share/bash-completion/completions/valmero-cli
  for command in make check book; do
    COMP_WORDS=(valmero-cli "$command" --); COMP_CWORD=2; _valmero_cli; printf "%s\n" "${COMPREPLY[@]}"
  done
  COMP_WORDS=(valmero-cli ""); COMP_CWORD=1; _valmero_cli; printf "%s\n" "${COMPREPLY[@]}"' | sort -u)"
for option in $("$built_cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  grep -qx -- "$option" <<<"$offered" || fail "the completion does not offer $option"
done

apt purge valmero || fail "apt-get purge valmero failed"
installed=""
while read -r path; do
  [[ -d "$path" ]] && continue  # folders other packages share
  [[ ! -e "$path" ]] || fail "left behind: $path"
done <"$work/files.txt"
[[ ! -d /usr/share/valmero && ! -d /usr/share/doc/valmero ]] || fail "left behind: a folder of valmero's own"

[[ $failures -eq 0 ]] && echo "the Debian package installs, runs the samples and is removed cleanly"
exit $((failures > 0))
