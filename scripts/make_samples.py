#!/usr/bin/env python3
"""Writes the bundled download collection, samples/download/, and the sample
song catalogue, samples/products.cp.

The songs are real but silent MP3 files: a few MPEG-1 Layer III frames
(128 kbit/s, 44.1 kHz) whose side information is all zero, so that a player
plays a fraction of a second of silence. Most carry an ID3v1 tag; those that
do not are numbered in the catalogue. The output is the same on every run.

Usage: python3 scripts/make_samples.py [samples folder]
"""

import os
import shutil
import struct
import sys

FRAME_HEADER = bytes([0xFF, 0xFB, 0x90, 0x00])
FRAME_SIZE = 417  # 144 * 128000 / 44100, no padding
FRAME_COUNT = 8
MCG_SIZE = 7200  # 300 packets of 24 bytes

# (file name, ID3v1 tag as (title, artist, album, year, genre) or None, companion name or None)
SONGS = [
    ("10234.mp3", ("Harbour Lights", "Mara Quell", "Coastline", "1994", 13), "10234.mcg"),
    ("10388.MP3", ("Silver Morning", "The Lamplighters", "", "1988", 17), "10388.MCG"),
    ("11502.mp3", None, "11502.mcg"),
    ("12011.mp3", ("Northbound Train", "Ellis Crane", "Rails", "2003", 2), "12011.mcg"),
    ("12950.mp3", None, None),
    ("13100.mp3", ("Whispering Pines", "Ruth Ambers", "", "1979", 12), "13100.mcg"),
    ("13377.mp3", ("Paper Moon Parade", "Mara Quell", "Coastline", "1994", 13), "13377.mcg"),
]

# Files the scan passes over: another kind of song, other extensions, and a
# sub-folder, which is not entered.
PASSED_OVER = [
    ("14000-IPS.mp3", "song"),
    ("10234.zip", "zip"),
    ("readme.txt", "text"),
    (os.path.join("old", "09999.mp3"), "song"),
]

# (number, title, singer). 12011 is also tagged: its tag wins. Some numbers
# are for songs this collection does not hold, as in a real catalogue.
CATALOGUE = [
    (10001, "Morning Ferry", "Ruth Ambers"),
    (11502, "Paper Boats", "Mara Quell"),
    (12011, "Northbound Train (catalogue)", "Ellis Crane"),
    (12950, "Falling Slowly Home", "Ellis Crane"),
    (20480, "Lantern Street", "The Lamplighters"),
]

README = b"""These files stand for a folder of downloaded karaoke songs.
Only the MP3 files directly in this folder become songs; this text, the
archive, the IPS song and the songs in old/ are passed over.
"""


def silent_audio():
    frame = FRAME_HEADER + bytes(FRAME_SIZE - len(FRAME_HEADER))
    return frame * FRAME_COUNT


def field(text, size):
    data = text.encode("ascii")
    if len(data) > size:
        raise ValueError("%r does not fit %d bytes" % (text, size))
    return data + bytes(size - len(data))


def id3v1(title, artist, album, year, genre):
    tag = b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30)
    tag += field(year, 4) + field("", 30) + bytes([genre])
    assert len(tag) == 128
    return tag


def empty_zip():
    # End-of-central-directory record of an archive with no entries.
    return b"PK\x05\x06" + bytes(18)


def complemented(text):
    data = text.encode("ascii")
    return struct.pack("<i", len(data)) + bytes(255 - b for b in data)


def catalogue_bytes(entries):
    out = bytearray()
    for number, title, singer in entries:
        out += struct.pack("<i", number) + complemented(title) + complemented(singer)
    return bytes(out)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main():
    samples = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "samples")
    download = os.path.join(samples, "download")
    shutil.rmtree(download, ignore_errors=True)

    for name, tag, companion in SONGS:
        data = silent_audio() + (id3v1(*tag) if tag else b"")
        write(os.path.join(download, name), data)
        if companion:
            write(os.path.join(download, companion), bytes(MCG_SIZE))

    for name, what in PASSED_OVER:
        if what == "song":
            data = silent_audio() + id3v1("Not In This Run", "Nobody", "", "2000", 0)
        elif what == "zip":
            data = empty_zip()
        else:
            data = README
        write(os.path.join(download, name), data)

    write(os.path.join(samples, "products.cp"), catalogue_bytes(CATALOGUE))


if __name__ == "__main__":
    main()
