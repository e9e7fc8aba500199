#!/usr/bin/env python3
"""Times valmero-cli make onto a target it filled before, as a karaoke host
runs it after adding songs.

  update_runs.py BUILD WORK [--songs N] [--megabytes MB] [--rounds R] [--fat MB]

BUILD is a build folder (its bin/valmero-cli is run), WORK a folder for the
collection, the target and the program's current directory; put it in
memory (/dev/shm) to time the program rather than the disk. The collection
is a songlist with N songs of about MB megabytes each (sizes vary by up to a
fifth, every file's bytes differ) and a graphics companion an eighth of
that; it is written once and kept in WORK/songs for later calls with the same
N and MB.

Each round starts from an empty target and times, one after the other:
  first      the full run into the empty target
  unchanged  the same run again
  end+1%     1% more songs, numbered after all others
  front+1    one more song, numbered before all others (every song moves up)
and counts the song files each run wrote anew and moved (by inode number, on
a file system that keeps them) besides the program's own summary. --fat MB
puts the target on a FAT32 image of MB megabytes in WORK mounted with
fusefat (needs FUSE) instead. Timings are measurements, never pass/fail; the
figures are medians of the rounds, with the ratio of each run to the first.
"""

import argparse
import os
import random
import re
import shutil
import statistics
import subprocess
import sys

BLOCK = 8 << 20
FIRST_NUMBER = 100


def song_bytes(block, number, size):
    # A header naming the song, then a slice of the random block that starts
    # at an offset of its own: first and last bytes differ from song to song.
    head = b"song %d " % number
    offset = (number * 7919 * 4099) % (len(block) - size)
    return head + block[offset:offset + size - len(head)]


def write_song(folder, block, rng, number, megabytes):
    size = int(megabytes * (1 << 20) * rng.uniform(0.8, 1.2))
    size = min(size, len(block) - 1)
    for extension, part in ((".mp3", size), (".mcg", max(1024, size // 8))):
        with open(os.path.join(folder, "%d%s" % (number, extension)), "wb") as out:
            out.write(song_bytes(block, number * 2 + (extension == ".mcg"), part))


def make_collection(folder, songs, megabytes):
    marker = os.path.join(folder, ".made")
    wanted = "%d %s\n" % (songs, megabytes)
    if os.path.exists(marker) and open(marker).read() == wanted:
        return
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    rng = random.Random(songs * 31 + int(megabytes * 1000))
    block = rng.randbytes(BLOCK)
    extra = max(1, songs // 100)
    # The songs of the list, the 1% added at the end and the one before all.
    numbers = list(range(FIRST_NUMBER, FIRST_NUMBER + songs + extra)) + [1]
    for number in numbers:
        write_song(folder, block, rng, number, megabytes)
    open(marker, "w").write(wanted)
    print("wrote %d songs of about %s MB in %s" % (len(numbers), megabytes, folder), file=sys.stderr)


def write_list(folder, numbers):
    with open(os.path.join(folder, "list.txt"), "wb") as out:
        for number in sorted(numbers):
            out.write(b"%d|Title %d|Singer %d\r\n" % (number, number, number % 97))


def inodes(target):
    found = {}
    for entry in os.scandir(target):
        if entry.name.endswith((".MP3", ".MCG")) and entry.is_file(follow_symlinks=False):
            found[entry.name] = entry.inode()
    return found


def written(before, after):
    names_of = {inode: name for name, inode in before.items()}
    anew = sum(1 for name, inode in after.items() if inode not in names_of)
    moved = sum(1 for name, inode in after.items() if inode in names_of and names_of[inode] != name)
    return anew, moved


def timed_make(cli, cwd, songs, target):
    command = ["/usr/bin/time", "-f", "TIME %e %U %S %M", cli, "make", "--disc", "--source",
               os.path.join(songs, "list.txt"), "--target", target]
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True, stdin=subprocess.DEVNULL)
    if result.returncode != 0:
        sys.exit("valmero-cli failed (%d): %s" % (result.returncode, result.stderr))
    wall, user, system, rss = re.search(r"TIME (\S+) (\S+) (\S+) (\S+)", result.stderr).groups()
    summary = re.search(r"(\d+) files copied, \d+ copies failed(?:, (\d+) already in place, (\d+) moved)?",
                        result.stderr)
    copied, kept, moved = (int(x or 0) for x in summary.groups())
    return {"wall": float(wall), "cpu": float(user) + float(system), "rss": int(rss),
            "copied": copied, "kept": kept, "moved": moved}


class FatImage:
    def __init__(self, work, megabytes):
        self.image = os.path.join(work, "stick.img")
        self.mount = os.path.join(work, "stick")
        os.makedirs(self.mount, exist_ok=True)
        subprocess.run(["truncate", "-s", "%dM" % megabytes, self.image], check=True)
        subprocess.run(["mkfs.vfat", "-F", "32", self.image], check=True, capture_output=True)
        subprocess.run(["fusefat", "-o", "rw+", self.image, self.mount], check=True, capture_output=True)

    def close(self):
        subprocess.run(["fusermount", "-u", self.mount], check=False)
        os.remove(self.image)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build")
    parser.add_argument("work")
    parser.add_argument("--songs", type=int, default=3000)
    parser.add_argument("--megabytes", type=float, default=1.0)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--fat", type=int, default=0)
    args = parser.parse_args()

    cli = os.path.join(os.path.abspath(args.build), "bin", "valmero-cli")
    work = os.path.abspath(args.work)
    songs = os.path.join(work, "songs")
    cwd = os.path.join(work, "cwd")
    os.makedirs(cwd, exist_ok=True)
    make_collection(songs, args.songs, args.megabytes)
    base = list(range(FIRST_NUMBER, FIRST_NUMBER + args.songs))
    extra = list(range(FIRST_NUMBER + args.songs, FIRST_NUMBER + args.songs + max(1, args.songs // 100)))
    steps = [("first", base), ("unchanged", base), ("end+1%", base + extra), ("front+1", base + extra + [1])]

    fat = FatImage(work, args.fat) if args.fat else None
    target = os.path.join(fat.mount if fat else work, "target")
    runs = {name: [] for name, _ in steps}
    try:
        for round_number in range(1, args.rounds + 1):
            shutil.rmtree(target, ignore_errors=True)
            os.makedirs(target)
            for name, numbers in steps:
                write_list(songs, numbers)
                before = inodes(target)
                run = timed_make(cli, cwd, songs, target)
                run["anew"], run["inode_moved"] = written(before, inodes(target)) if not fat else (None, None)
                runs[name].append(run)
                print("round %d %-9s %7.2f s wall %7.2f s cpu %7d KiB  copied %d, in place %d, moved %d%s"
                      % (round_number, name, run["wall"], run["cpu"], run["rss"], run["copied"], run["kept"],
                         run["moved"], "" if fat else "  (inodes: %d new, %d moved)" % (run["anew"], run["inode_moved"])))
                sys.stdout.flush()
    finally:
        write_list(songs, base)
        if fat:
            fat.close()

    first_wall = statistics.median(r["wall"] for r in runs["first"])
    first_cpu = statistics.median(r["cpu"] for r in runs["first"])
    print("\nmedians of %d rounds, %d songs of about %s MB%s:" % (args.rounds, args.songs, args.megabytes,
                                                                   ", target on FAT32 (fusefat)" if fat else ""))
    for name, _ in steps:
        wall = statistics.median(r["wall"] for r in runs[name])
        cpu = statistics.median(r["cpu"] for r in runs[name])
        last = runs[name][-1]
        print("  %-9s %7.2f s wall (%.3fx)  %7.2f s cpu (%.3fx)  copied %d, in place %d, moved %d"
              % (name, wall, wall / first_wall, cpu, cpu / first_cpu if first_cpu else 0, last["copied"], last["kept"],
                 last["moved"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
