#!/usr/bin/env bash
# Two builds of valmero-cli on the same collections, one after the other in
# the same folders: every output, copy, song book, log (time stamps aside),
# standard output, standard error (times and free space aside) and exit
# status must be the same. For a change that must not change behaviour.
#
#   bench/same_outputs.sh BEFORE_CLI AFTER_CLI WORK [DOWNLOAD_FOLDER SONGLIST_FILE]
#
# WORK is a scratch folder (tmpfs for a large collection); it is emptied.
# Without a collection of its own, the bundled samples are used; with one
# (made by make_collection.py), its runs come on top of the samples'.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
before="$(realpath "$1")" after="$(realpath "$2")" work="$3"
shift 3
rm -rf "$work" && mkdir -p "$work"
work="$(realpath "$work")"
# A copy of the samples: a run with --subfolder writes beside its source.
cp -r "$here/../samples" "$work/samples"
samples="$work/samples"
differences=0

# scenario NAME PRODUCTS_CP COMMAND ARGS...: the command (make, check, book)
# with both programs in $work/run, its results kept as $work/NAME.SIDE.
scenario() {
  local name="$1" products="$2"
  shift 2
  for side in before after; do
    local cli="$before"
    [[ $side == after ]] && cli="$after"
    rm -rf "$work/run" "$samples/disc/KVX" && mkdir -p "$work/run/start"
    cp "$products" "$work/run/start/products.cp"
    (set +e; cd "$work/run/start" && "$cli" "$@" >../stdout 2>../stderr; echo $? >../status)
    if [[ -d "$samples/disc/KVX" ]]; then mv "$samples/disc/KVX" "$work/run/subfolder"; fi
    if [[ -f "$work/run/start/mirqlog.txt" ]]; then
      sed -i -e 's/^\* [0-9:]* [0-9:]* - //' "$work/run/start/mirqlog.txt"
    fi
    sed -i -E -e 's/[0-9.]+ s$/TIME s/' -e 's/^(Free in the target:).*/\1 FREE/' \
      -e 's/"free_bytes": *[0-9]+/"free_bytes": FREE/' "$work/run/stdout" "$work/run/stderr"
    mv "$work/run" "$work/$name.$side"
  done
  if diff -r "$work/$name.before" "$work/$name.after" >"$work/$name.diff"; then
    echo "same   $name: $(find "$work/$name.after" -type f | wc -l) files"
    rm -rf "$work/$name.before" "$work/$name.after" "$work/$name.diff"
  else
    echo "DIFFER $name (see $work/$name.diff)"
    head -20 "$work/$name.diff"
    differences=$((differences + 1))
  fi
}

out="$work/run/out"
catalogue="$samples/products.cp"
download="$samples/download"
songlist="$samples/disc/list.txt"
scenario samples-default "$catalogue" make --source "$download" --target "$out"
scenario samples-all "$catalogue" make --source "$download" --target "$out" --list --config-renumber --copy-all
scenario samples-keep "$catalogue" make --source "$download" --target "$out" --index keep --list --config-keep
scenario samples-none "$catalogue" make --source "$download" --target "$out" --index none --list --config-keep
scenario samples-disc "$catalogue" make --disc --source "$songlist" --target "$out" --list --config-renumber
scenario samples-disc-keep "$catalogue" make --disc --source "$songlist" --subfolder --index keep --copy-all
scenario samples-check "$catalogue" check --source "$download" --target "$samples/disc" --list --copy-all
scenario samples-check-json "$catalogue" check --disc --source "$songlist" --json
scenario samples-book "$catalogue" book --source "$download" --out "$work/run/book.html"
scenario samples-missing "$catalogue" make --source "$work/none" --target "$out"

if [[ $# -ge 2 ]]; then
  big_download="$(realpath "$1")" big_songlist="$(realpath "$2")"
  big_catalogue="$(dirname "$big_download")/products.cp"
  [[ -f $big_catalogue ]] || big_catalogue="$catalogue"
  scenario big-keep "$big_catalogue" make --source "$big_download" --target "$out" --index keep --list --config-keep
  scenario big-renumber "$big_catalogue" make --source "$big_download" --target "$out" --list --config-renumber
  scenario big-disc "$big_catalogue" make --disc --source "$big_songlist" --target "$out" --list --config-renumber
  scenario big-check "$big_catalogue" check --source "$big_download" --json
  scenario big-book "$big_catalogue" book --disc --source "$big_songlist" --out "$work/run/book.html"
fi

echo "$differences scenario(s) differ"
[[ $differences -eq 0 ]]
