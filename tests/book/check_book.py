#!/usr/bin/env python3
"""Makes song books of hard collections with the real valmero-cli and reads
them back: the HTML with html.parser, the PDF with pdftotext and pdfinfo, and
the HTML once more as printed by chromium (skipped when it is missing).

  check_book.py VALMERO_CLI

Every song must stand exactly once in each part, in the order the player's
index gives (singers by upper-cased name, titles byte by byte), under the
right letter, with its number; the markup must be well-formed with every
text escaped; and the book command must write nothing but the book.
"""

import html.parser
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
HERE = os.path.dirname(os.path.abspath(__file__))
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


# (number, title, singer) as the source's bytes.
LONG = b"The Longest Title Of Them All Goes On And On Until It Endss"  # 59 characters
LONG_SINGER = b"The Longest Singer Name A Songlist Holds Ends Here"  # 50, the songlist's most
DISC_SONGS = [
    (7, b"Hello", b"Adele"), (3, b"Hello", b"Lionel Richie"), (12, b"HELLO", b"Zed"),
    (20, LONG, LONG_SINGER), (21, b'Rock & Roll <Live> "Now"', b"Guns 'n' Roses"),
    (22, b"Caf\xe9 Ni\xf1o", b"Jos\xe9 Pe\xf1a"), (23, b"Bad\x81Byte", b"abc"), (24, b"Second", b"ABC"),
    (25, b"", b"Nobody"), (26, b"Lonely Title", b""), (27, b"99 Luftballons", b"Nena"),
    (28, b"\xc4rger", b"~Tilde"), (29, b"[Bracketed]", b"zz top"),
] + [(1000 + (i * 37) % 300, b"Song %03d" % ((i * 7) % 300), b"Big Band") for i in range(300)]

# Download folder: ID3v1 texts (30 bytes at most), in CP949 where not ASCII.
KOREAN_TITLE = "사랑".encode("cp949")
KOREAN_SINGER = "가수".encode("cp949")
DOWNLOAD_SONGS = [(101, b"Pipe | Dream", b"Bar|Band"), (102, KOREAN_TITLE, KOREAN_SINGER),
                  (103, b"Pipe | Dream", b"Other Band"), (104, None, None)]


def upper(text):
    return bytes(b - 32 if 97 <= b <= 122 else b for b in text)


def heading(text):
    first = upper(text[:1])
    if first and 65 <= first[0] <= 90:
        return chr(first[0])
    return "#" if not first or first[0] < 65 else "Other"


def expected_book(songs, renumber, encoding):
    """songs in run order: [(number, title, singer)] -> parts as display tuples."""
    run = sorted(songs, key=lambda song: song[0])
    shown = [((position + 1) if renumber else number, title, singer)
             for position, (number, title, singer) in enumerate(run)]
    order = list(range(len(shown)))
    by_singer = sorted(order, key=lambda i: (upper(shown[i][2]), upper(shown[i][1])))
    by_title = sorted(order, key=lambda i: (upper(shown[i][1]), upper(shown[i][2])))
    text = lambda raw, empty: raw.decode(encoding, errors="replace") if raw else empty
    singers = []
    for i in by_singer:
        key = upper(shown[i][2])
        if not singers or singers[-1][0] != key:
            first = min(j for j in order if upper(shown[j][2]) == key)
            singers.append((key, heading(key), text(shown[first][2], "(no singer)"), []))
        singers[-1][3].append((shown[i][0], text(shown[i][1], "(no title)")))
    titles = [(heading(shown[i][1]), shown[i][0], text(shown[i][1], "(no title)"), text(shown[i][2], "(no singer)"))
              for i in by_title]
    return singers, titles


class BookReader(html.parser.HTMLParser):
    """Collects both parts and checks that every element is closed in order."""
    VOID = {"meta", "input", "br"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.part, self.letter, self.field = [], None, None, None
        self.singers, self.titles, self.entry, self.errors = [], [], None, []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag not in self.VOID:
            self.stack.append(tag)
        if tag == "section" and attrs.get("id") in ("by-singer", "by-title"):
            self.part = attrs["id"]
        self.field = {"h3": "letter", "h4": "singer"}.get(tag) or {"n": "n", "t": "t", "s": "s"}.get(
            (attrs.get("class") or "").split(" ")[0], self.field)
        if tag == "h4":
            self.singers.append([self.letter, "", []])
        if tag == "li":
            self.entry = {"n": "", "t": "", "s": ""}
        if tag == "h3":
            self.letter = ""

    def handle_endtag(self, tag):
        if not self.stack or self.stack.pop() != tag:
            self.errors.append("unbalanced </%s>" % tag)
        if tag == "li" and self.part == "by-singer":
            self.singers[-1][2].append((int(self.entry["n"]), self.entry["t"]))
        if tag == "li" and self.part == "by-title":
            self.titles.append((self.letter, int(self.entry["n"]), self.entry["t"], self.entry["s"]))
        if tag in ("h3", "h4", "span"):
            self.field = None

    def handle_data(self, data):
        if self.field == "letter":
            self.letter += data
        elif self.field == "singer":
            self.singers[-1][1] += data
        elif self.field in ("n", "t", "s") and self.entry is not None:
            self.entry[self.field] += data


def check_html(path, songs, renumber, encoding):
    singers, titles = expected_book(songs, renumber, encoding)
    with open(path, encoding="utf-8") as page:
        text = page.read()
    reader = BookReader()
    reader.feed(text)
    check(not reader.errors and not reader.stack, "%s: markup not well-formed %s" % (path, reader.errors[:3]))
    check(not re.search(r"(src|href)=\"(?!#)", text), "%s: refers to something outside itself" % path)
    check(not re.search(r"&(?!(amp|lt|gt|quot|#39);)", text), "%s: a bare & in the markup" % path)
    got = [(letter, name, entries) for letter, name, entries in reader.singers]
    check(got == [(h, name, entries) for _, h, name, entries in singers], "%s: part by singer differs" % path)
    check(reader.titles == titles, "%s: part by title differs:\n%s\n%s" % (path, reader.titles[:5], titles[:5]))


def pdf_parts(path):
    # -raw: the text in the order it was drawn, column after column.
    pages = subprocess.run(["pdftotext", "-raw", path, "-"], capture_output=True, check=True).stdout.decode().split("\f")
    part = {"singer": "", "title": ""}
    for page in pages[1:]:
        part["singer" if "By singer" in page else "title"] += page + "\n"
    return part


def entry_pattern(number, *texts):
    flexible = [r"\s*".join(re.escape(c) for c in t if not c.isspace()) for t in texts]
    return re.compile(r"(?<![\d])%d\s+" % number + r"\s*\W*\s*".join(flexible))


def check_pdf(path, songs, renumber, encoding, printable):
    singers, titles = expected_book(songs, renumber, encoding)
    parts = pdf_parts(path)
    for part, entries in (("singer", [(n, (t,)) for *_, group in singers for n, t in group]),
                          ("title", [(n, (t, s)) for _, n, t, s in titles])):
        position = 0
        for number, texts in entries:
            if not all(map(printable, texts)):
                continue
            pattern = entry_pattern(number, *texts)
            found = pattern.search(parts[part], position)
            check(found is not None, "%s: %d %s missing or out of order by %s" % (path, number, texts, part))
            check(len(pattern.findall(parts[part])) == 1, "%s: %d %s not once by %s" % (path, number, texts, part))
            position = found.end() if found else position


def write_tagged(path, title, singer):
    tag = b""
    if title is not None:
        tag = b"TAG" + title.ljust(30, b"\0") + singer.ljust(30, b"\0") + bytes(30 + 4 + 30) + b"\x0c"
    with open(path, "wb") as song:
        song.write(b"\xff\xfb\x90\x00" + bytes(400) + tag)


def print_with(chromium, html):
    printed = html[:-len(".html")] + "-printed.pdf"
    subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-pdf-header-footer",
                    "--print-to-pdf=" + printed, "file://" + html], capture_output=True, timeout=180)
    check(os.path.exists(printed), "chromium printed nothing of " + html)
    return printed if os.path.exists(printed) else None


# Enough songs under two letters in each part that each letter gets pages of
# its own: titles under A and B, singers under C and D.
def write_big_songlist(work):
    folder = os.path.join(work, "big")
    os.makedirs(folder)
    with open(os.path.join(folder, "list.txt"), "wb") as songlist:
        for i in range(1, 331):
            title = b"%s %03d" % (b"Apple" if i <= 165 else b"Berry", i)
            singer = b"%s %02d" % (b"Cora" if i % 2 else b"Dale", i % 20)
            songlist.write(b"%d|%s|%s\r\n" % (i, title, singer))
            for ending in ("mp3", "mcg"):
                open(os.path.join(folder, "%d.%s" % (i, ending)), "wb").close()
    return os.path.join(folder, "list.txt")


# Every printed page after the cover names its part and letter at the top,
# and holds only that letter's entries.
def check_letter_headers(path):
    pages = subprocess.run(["pdftotext", path, "-"], capture_output=True, check=True).stdout.decode().split("\f")
    pages = [page for page in pages[1:] if page.strip()]
    own = {"A": "Apple", "B": "Berry", "C": "Cora", "D": "Dale"}
    seen = set()
    for number, page in enumerate(pages, 2):
        header = re.search(r"By (singer|title) \u00b7 ([A-D])", page)
        check(header is not None, "%s page %d: no part and letter at the top" % (path, number))
        if header is None:
            continue
        part, letter = header.groups()
        seen.add(letter)
        others = [own[other] for other in own if other != letter and (part == "title") == (other in "AB")]
        check(not any(other in page for other in others),
              "%s page %d: letter %s holds another letter's entries" % (path, number, letter))
    check(seen == set("ABCD"), "%s: letters with pages of their own: %s" % (path, sorted(seen)))


def main():
    work = tempfile.mkdtemp(prefix="valmero-book-")
    try:
        disc = os.path.join(work, "disc")
        download = os.path.join(work, "download")
        os.makedirs(disc)
        os.makedirs(download)
        with open(os.path.join(disc, "list.txt"), "wb") as songlist:
            for number, title, singer in DISC_SONGS:
                songlist.write(b"%d|%s|%s\r\n" % (number, title, singer))
                for ending in ("mp3", "mcg"):
                    open(os.path.join(disc, "%d.%s" % (number, ending)), "wb").close()
        for number, title, singer in DOWNLOAD_SONGS:
            write_tagged(os.path.join(download, "%05d.mp3" % number), title, singer)
        start = os.path.join(work, "start")
        os.makedirs(start)
        with open(os.path.join(start, "mirqlog.txt"), "wb") as log:
            log.write(b"a log of yesterday\r\n")

        # Under the sanitizers: fontconfig's cache lives until the exit.
        environment = dict(os.environ, LSAN_OPTIONS="suppressions=" + os.path.join(HERE, "lsan.supp"))

        def cli(*args):
            return subprocess.run([CLI, *args], cwd=start, capture_output=True, timeout=120, env=environment)

        out = lambda name: os.path.join(work, name)
        disc_args = ["--disc", "--source", os.path.join(disc, "list.txt")]
        for name in ("disc.html", "disc.pdf"):
            result = cli("book", *disc_args, "--out", out(name), "--title", "Bar & <Grill>")
            check(result.returncode == 0, "book %s: %s" % (name, result.stderr))
        for name in ("dl.html", "dl.pdf"):
            result = cli("book", "--source", download, "--index", "keep", "--encoding", "CP949", "--out", out(name))
            check(result.returncode == 0, "book %s: %s" % (name, result.stderr))
        check(sorted(os.listdir(start)) == ["mirqlog.txt"], "book wrote beside the log: %s" % os.listdir(start))
        with open(os.path.join(start, "mirqlog.txt"), "rb") as log:
            check(log.read() == b"a log of yesterday\r\n", "book touched the log")

        check_html(out("disc.html"), DISC_SONGS, True, "cp1252")
        check_html(out("dl.html"), DOWNLOAD_SONGS_SHOWN, False, "cp949")
        latin = lambda text: all(ord(c) < 0x250 or c in "\u2014\ufffd" for c in text)
        korean_font = subprocess.run(["fc-list", ":lang=ko"], capture_output=True).stdout.strip() != b""
        shown = (lambda text: True) if korean_font else latin
        check_pdf(out("disc.pdf"), DISC_SONGS, True, "cp1252", latin)
        check_pdf(out("dl.pdf"), DOWNLOAD_SONGS_SHOWN, False, "cp949", shown)
        pages = subprocess.run(["pdfinfo", out("disc.pdf")], capture_output=True).stdout.decode()
        check(re.search(r"Pages:\s+([4-9]|\d\d)\n", pages), "disc.pdf: a title page and both parts expected\n" + pages)

        # The book of a make is the book of the same options.
        target = out("target")
        result = cli("make", *disc_args, "--target", target, "--book", out("made.html"), "--title", "Bar & <Grill>")
        check(result.returncode == 0, "make --book: %s" % result.stderr)
        with open(out("made.html"), "rb") as made, open(out("disc.html"), "rb") as book:
            check(made.read() == book.read(), "make --book differs from book")

        for args in (["--out", out("x.txt")], ["--out", out("x.html"), "--encoding", "NO-SUCH-CODE"],
                     ["--out", out("x.html"), "--index", "none"], []):
            result = cli("book", *disc_args, *args)
            check(result.returncode == 2, "book %s: exit %d, not 2" % (args, result.returncode))
        result = cli("book", "--disc", "--source", out("missing.txt"), "--out", out("x.html"))
        check(result.returncode == 1 and not os.path.exists(out("x.html")), "unreadable source: %s" % result)

        chromium = shutil.which("chromium")
        if chromium:
            printed = print_with(chromium, out("disc.html"))
            if printed:
                check_pdf(printed, DISC_SONGS, True, "cp1252", latin)
            big = write_big_songlist(work)
            result = cli("book", "--disc", "--source", big, "--out", out("big.html"))
            check(result.returncode == 0, "book big.html: %s" % result.stderr)
            printed = print_with(chromium, out("big.html"))
            if printed:
                check_letter_headers(printed)
        else:
            print("chromium not found: the printed HTML is not checked")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d failures" % len(failures))
    return 1 if failures else 0


# An untagged song without a catalogue entry has neither title nor singer.
DOWNLOAD_SONGS_SHOWN = [(n, t or b"", s or b"") for n, t, s in DOWNLOAD_SONGS]

if __name__ == "__main__":
    sys.exit(main())
