#!/usr/bin/env python3
"""Writes large song collections for the benchmarks.

  make_collection.py download FOLDER N [--catalogue PATH] [--untagged SHARE] [--companions]
  make_collection.py songlist FOLDER N [--real-names]

download: FOLDER receives N files 000001.mp3 ... each a few hundred bytes of
silent audio ending in a real 128-byte ID3v1 tag, except a share of untagged
files (5% unless told) whose numbers go into a song catalogue products.cp
(PATH, by default FOLDER/../products.cp), together with numbers the folder
does not hold, as in a real catalogue. --companions adds an .mcg file beside
every song, as a real download folder has.

songlist: FOLDER receives list.txt, one line "number|title|singer" per song,
and every song's .mp3 and .mcg files. --real-names mixes in names as real
songlists have them, in CP1252: accented first letters (Édith, Øystein, Über),
"The" in front or after a comma, leading quotes and signs, one band in other
spellings.

Titles and singers repeat as in a real collection: a few thousand titles of
one to three words, drawn with a skew so that popular titles come back
hundreds of times, and about one singer for every 25 songs, a few of them
with thousands of songs. The output depends only on N and the options.
"""

import argparse
import os
import random
import struct
import sys

WORDS = [
    "LOVE", "RAIN", "HEART", "NIGHT", "BLUE", "SUMMER", "DREAM", "FIRE", "MOON", "RIVER",
    "ROAD", "HOME", "STAR", "WIND", "GOLD", "SILVER", "DANCE", "TEARS", "SMILE", "OCEAN",
    "CITY", "LIGHT", "SHADOW", "ANGEL", "TIME", "WINTER", "SPRING", "GIRL", "BOY", "BABY",
    "HONEY", "SUGAR", "WILD", "SWEET", "LONELY", "MORNING", "EVENING", "SKY", "SONG", "PARADISE",
    "Yesterday", "Tomorrow", "forever", "again", "my", "your", "the", "of", "in", "no",
]
FIRST_NAMES = ["Mara", "Ellis", "Ruth", "Jon", "Kim", "Lee", "Ana", "Tom", "Eva", "Sam",
               "Nina", "Paul", "Ines", "Omar", "Yuki", "Lars", "Rosa", "Ivan", "Mei", "Hugo"]
LAST_NAMES = ["Quell", "Crane", "Ambers", "Park", "Rivers", "Stone", "Vale", "North", "Hart",
              "Moreau", "Santos", "Berg", "Okafor", "Tanaka", "Novak", "Reyes", "Lindqvist"]

FRAME = bytes([0xFF, 0xFB, 0x90, 0x00]) + bytes(417 - 4)  # one silent MPEG-1 Layer III frame
MCG_SIZE = 240


def field(text, size):
    data = text.encode("latin-1")[:size]
    return data + bytes(size - len(data))


def id3v1(title, artist, album, year, genre):
    return (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4)
            + field("", 30) + bytes([genre]))


def complemented(text):
    data = text.encode("latin-1")
    return struct.pack("<i", len(data)) + bytes(255 - b for b in data)


REAL_WORDS = ["\u00dcber", "\u00c7a", "\u00c9t\u00e9", "\u00c1rbol", "Na\u00efve", "\u00bfQui\u00e9n",
              "'Til", "\"Heat\"", "Don't", "Stra\u00dfe", "\u00c6ther", "...Again"]
REAL_SINGERS = ["\u00c9dith Piaf", "\u00c9milie Simon", "\u00d3lafur Arnalds", "\u00d8ystein Sunde",
                "\u00c4rzte", "The Beatles", "Beatles, The", "Beyonc\u00e9", "Beyonce", "beyonc\u00e9",
                "M\u00f6tley Cr\u00fce", "Motley Crue", "AC/DC", "'Til Tuesday", "\"Weird Al\" Yankovic",
                "*NSYNC", "The Who", "Bj\u00f6rk", "Sigur R\u00f3s", "\u00c9tienne Daho"]


class Names:
    """Titles and singers with the skew of a real collection."""

    def __init__(self, count, rng, real_names=False):
        self.rng = rng
        words = WORDS + REAL_WORDS if real_names else WORDS
        self.titles = sorted({" ".join(rng.choice(words) for _ in range(rng.choice((1, 2, 2, 3))))
                              for _ in range(max(50, min(6000, count // 15)))})
        rng.shuffle(self.titles)
        singers = set()
        while len(singers) < max(10, count // 25):
            name = rng.choice(FIRST_NAMES) + " " + rng.choice(LAST_NAMES)
            if rng.random() < 0.5:
                name += " " + str(rng.randrange(1, 400))
            if rng.random() < 0.05:
                name = "The " + rng.choice(LAST_NAMES) + " Orchestra and Friends " + str(len(singers))
            singers.add(name)
        if real_names:
            singers.update(REAL_SINGERS)
        self.singers = sorted(singers)
        rng.shuffle(self.singers)

    def _skewed(self, items):
        # Pareto-like: index = n * u^3 puts most draws at the front.
        return items[min(len(items) - 1, int(len(items) * self.rng.random() ** 3))]

    def title(self):
        return self._skewed(self.titles)

    def singer(self):
        return self._skewed(self.singers)


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def make_download(folder, count, catalogue, untagged, companions):
    rng = random.Random(count * 7 + 1)
    names = Names(count, rng)
    os.makedirs(folder, exist_ok=True)
    width = max(5, len(str(count)))
    entries = []
    for number in range(1, count + 1):
        title, singer = names.title(), names.singer()
        name = "%0*d.mp3" % (width, number)
        if rng.random() < untagged:
            write(os.path.join(folder, name), FRAME)
            entries.append((number, title, singer))
        else:
            tag = id3v1(title, singer, "Album " + str(number % 97), str(1960 + number % 60), number % 80)
            write(os.path.join(folder, name), FRAME + tag)
        if companions:
            write(os.path.join(folder, name[:-4] + ".mcg"), bytes(MCG_SIZE))
    # Entries for songs this folder does not hold.
    for number in range(count + 1, count + 1 + count // 10):
        entries.append((number, names.title(), names.singer()))
    rng.shuffle(entries)
    with open(catalogue, "wb") as out:
        for number, title, singer in entries:
            out.write(struct.pack("<i", number) + complemented(title) + complemented(singer))
    print("%d songs in %s (%d untagged), catalogue %s with %d entries"
          % (count, folder, sum(1 for e in entries if e[0] <= count), catalogue, len(entries)))


def make_songlist(folder, count, real_names=False):
    rng = random.Random(count * 7 + 2)
    names = Names(count, rng, real_names)
    os.makedirs(folder, exist_ok=True)
    numbers = rng.sample(range(1, count * 3 + 1), count)
    with open(os.path.join(folder, "list.txt"), "wb") as out:
        for number in numbers:
            out.write(("%d|%s|%s\r\n" % (number, names.title(), names.singer())).encode("cp1252"))
            write(os.path.join(folder, "%d.mp3" % number), FRAME)
            write(os.path.join(folder, "%d.mcg" % number), bytes(MCG_SIZE))
    print("%d songs in %s/list.txt" % (count, folder))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("kind", choices=("download", "songlist"))
    parser.add_argument("folder")
    parser.add_argument("count", type=int)
    parser.add_argument("--catalogue")
    parser.add_argument("--untagged", type=float, default=0.05)
    parser.add_argument("--companions", action="store_true")
    parser.add_argument("--real-names", action="store_true")
    args = parser.parse_args()
    if args.count < 1:
        parser.error("N must be at least 1")
    if args.kind == "download":
        catalogue = args.catalogue or os.path.join(os.path.dirname(os.path.abspath(args.folder)), "products.cp")
        make_download(args.folder, args.count, catalogue, args.untagged, args.companions)
    else:
        make_songlist(args.folder, args.count, args.real_names)
    return 0


if __name__ == "__main__":
    sys.exit(main())
