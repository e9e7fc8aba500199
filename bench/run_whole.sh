#!/bin/sh
# Whole-program runs side by side: the floor program and valmero-cli over the
# same download folder, in alternating order, ROUNDS times each; prints every
# run and the medians of wall time and peak memory (max RSS) from
# /usr/bin/time -v. Timings are measurements, never pass/fail.
#
#   bench/run_whole.sh BUILD FOLDER [ROUNDS] [--cold] [--against OTHER_BUILD] [-- make options]
#
# BUILD is the bench build folder (build-bench), FOLDER a download folder made
# by make_collection.py; the run's log and products.cp lie in FOLDER/.. (the
# folder the generator wrote the catalogue into), which is the current
# directory of valmero-cli. --cold drops the page cache before every run
# (needs root; without it both programs run with a warm cache). --against
# times the valmero-cli of another build (say, of the main branch) in the same
# rotation, labelled "other", for before-and-after figures from one run. The
# make options are "--index keep" unless given.
set -eu
build=$(cd "$1" && pwd); folder=$(cd "$2" && pwd); rounds=${3:-5}
shift 2; [ $# -gt 0 ] && shift
cold=no
other=
if [ "${1:-}" = "--cold" ]; then cold=yes; shift; fi
if [ "${1:-}" = "--against" ]; then other=$(cd "$2" && pwd); shift 2; fi
if [ "${1:-}" = "--" ]; then shift; fi
make_options=${*:-"--index keep"}
workdir=$(dirname "$folder")
target=$(mktemp -d "${TMPDIR:-/tmp}/valmero-target.XXXXXX")
results=$(mktemp "${TMPDIR:-/tmp}/valmero-runs.XXXXXX")
trap 'rm -rf "$target" "$results" "$results.one"' EXIT

drop_caches() {
  [ "$cold" = yes ] || return 0
  sync; echo 3 > /proc/sys/vm/drop_caches
}

# One timed run: label, then the command; appends "label wall_s maxrss_kib cpu_s"
# (cpu = user + system time: on a shared machine it is the steadier figure).
timed() {
  label=$1; shift
  drop_caches
  ( cd "$workdir" && /usr/bin/time -v "$@" ) >/dev/null 2>"$results.one" || true
  wall=$(sed -n 's/.*Elapsed (wall clock) time.*: //p' "$results.one" | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$results.one")
  cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$results.one")
  echo "$label $wall $rss $cpu" >> "$results"
  printf '%-8s %8.3f s wall %8.3f s cpu %9d KiB\n' "$label" "$wall" "$cpu" "$rss"
}

# A warm-up of each, not counted, so that the first measured run is not the
# one that pays for reading the folder from disk.
[ "$cold" = yes ] || { (cd "$workdir" && "$build/bin/floor_scan" "$folder" && \
  "$build/bin/valmero-cli" make --source "$folder" --target "$target" $make_options) >/dev/null; }

run_one() {
  case $1 in
    floor) timed floor "$build/bin/floor_scan" "$folder" ;;
    valmero) timed valmero "$build/bin/valmero-cli" make --source "$folder" --target "$target" $make_options ;;
    other) timed other "$other/bin/valmero-cli" make --source "$folder" --target "$target" $make_options ;;
  esac
}

# Each round starts with the next program in turn, so that none always runs
# first or last.
programs="floor valmero"
[ -n "$other" ] && programs="floor valmero other"
i=0
while [ $i -lt "$rounds" ]; do
  set -- $programs
  shift $((i % $#)) || true
  first="$*"
  set -- $programs
  for p in $first; do run_one "$p"; done
  for p in $programs; do case " $first " in *" $p "*) ;; *) run_one "$p" ;; esac; done
  i=$((i + 1))
done

median() { grep "^$1 " "$results" | awk '{ print $'"$2"' }' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
floor_s=$(median floor 2); valmero_s=$(median valmero 2)
floor_c=$(median floor 4); valmero_c=$(median valmero 4)
echo "median floor   $floor_s s wall, $floor_c s cpu, max RSS $(median floor 3) KiB"
echo "median valmero $valmero_s s wall, $valmero_c s cpu, max RSS $(median valmero 3) KiB"
if [ -n "$other" ]; then
  other_s=$(median other 2); other_c=$(median other 4)
  echo "median other   $other_s s wall, $other_c s cpu, max RSS $(median other 3) KiB"
  echo "ratio other/floor wall $(awk "BEGIN { printf \"%.2f\", $other_s / $floor_s }")," \
       "cpu $(awk "BEGIN { printf \"%.2f\", $other_c / $floor_c }")"
fi
echo "ratio valmero/floor wall $(awk "BEGIN { printf \"%.2f\", $valmero_s / $floor_s }")," \
     "cpu $(awk "BEGIN { printf \"%.2f\", $valmero_c / $floor_c }")"
