#!/usr/bin/env python3
"""Makes song books of hard collections with the real valmero-cli and reads
them back: the HTML with html.parser, the PDF with pdftotext and pdfinfo, and
the HTML once more in chromium (skipped when it is missing): printed, and
searched with the queries guests type.

  check_book.py VALMERO_CLI

Every song a guest can key in must stand exactly once in each part, in the
order a reader looks names up (Python's own Unicode data is the oracle here:
no accents, case or punctuation first, then accents, then the text), under
the right letter, with its number; the others are counted on the title page.
The markup must be well-formed with every text escaped, and the book command
must write nothing but the book.
"""

import collections
import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unicodedata

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
    (30, b"Yesterday", b"The Beatles"), (31, b"Help!", b"Beatles, The"), (32, b"Halo", b"Beyonc\xe9"),
    (33, b"Crazy in Love", b"Beyonce"), (34, b"Single Ladies", b"Beyonc\xe9"),
    (35, b"Kickstart My Heart", b"M\xf6tley Cr\xfce"), (36, b"Non, je ne regrette rien", b"\xc9dith Piaf"),
    (37, b"\xdcber den Wolken", b"Reinhard Mey"), (38, b"Don't Stop Believin'", b"Journey"),
    (39, b"Thunderstruck", b"AC/DC"), (40, b"Voices Carry", b"'Til Tuesday"),
    (41, b"Amish Paradise", b'"Weird Al" Yankovic'), (42, b"Bye Bye Bye", b"*NSYNC"),
    (43, b"\xc7a plane pour moi", b"Plastic Bertrand"), (44, b"Take On Me", b"\xd8ystein Sunde"),
] + [(1000 + (i * 37) % 300, b"Song %03d" % ((i * 7) % 300), b"Big Band") for i in range(300)]

# Download folder: ID3v1 texts (30 bytes at most), in CP949 where not ASCII.
KOREAN = lambda text: text.encode("cp949")
DOWNLOAD_SONGS = [(101, b"Pipe | Dream", b"Bar|Band"), (102, KOREAN("사랑"), KOREAN("가수")),
                  (103, b"Pipe | Dream", b"Other Band"), (104, None, None), (105, KOREAN("까치"), KOREAN("나비")),
                  (106, KOREAN("하늘"), b"Zed")]
# What the songs' tags give: an untagged song without a catalogue entry has neither title nor singer.
DOWNLOAD_SONGS_SHOWN = [(n, t or b"", s or b"") for n, t, s in DOWNLOAD_SONGS]

SPELLED = {"æ": "ae", "œ": "oe", "ø": "o", "đ": "d", "ð": "d", "ł": "l", "þ": "th", "ħ": "h", "ŧ": "t", "ı": "i"}
HANGUL_INITIALS = "ㄱㄱㄴㄷㄷㄹㅁㅂㅂㅅㅅㅇㅈㅈㅊㅋㅌㅍㅎ"
WORDS = {"en": ("By singer", "By title", "Other"), "ko": ("가수별", "제목별", "기타")}
LEFT_OUT = {"en": ("%d songs? without a usable number", "%d songs? without title and singer"),
            "ko": ("번호가 없는 %d곡", "제목과 가수가 없는 %d곡")}


def key(text, lookup):
    """The reader's key (lookup) or the accents' tie-break, by Python's Unicode data."""
    folded = unicodedata.normalize("NFKD", unicodedata.normalize("NFKD", text).casefold())
    out, space = "", False
    for c in "".join(SPELLED.get(c, c) for c in folded):
        category = unicodedata.category(c)
        if category.startswith("Z"):
            space = bool(out)
        elif category[0] in "LN" and not (lookup and category == "Lm") or (not lookup and category[0] == "M" and out):
            out += (" " if space else "") + c
            space = False
    return out


def heading(lookup, language):
    """(rank, label): the heading's order and its label."""
    block = lambda name: {"en": "#LAHO", "ko": "H#LAO"}[language].index(name) * 0x200000
    first = lookup[:1]
    if not first or first.isdigit():
        return block("#"), "#"
    if "a" <= first <= "z":
        return block("L") + ord(first), first.upper()
    if "\u1100" <= first <= "\u1112":
        label = HANGUL_INITIALS[ord(first) - 0x1100]
        return block("H") + "ㄱㄴㄷㄹㅁㅂㅅㅇㅈㅊㅋㅌㅍㅎ".index(label), label
    if first.upper() != first:
        return block("A") + ord(first.upper()), first.upper()
    return block("O"), WORDS[language][2]


def listed_singer(singer):
    match = re.match(r"^ *(the) +(\S.*)$", singer, re.IGNORECASE)
    return "%s, %s" % (match.group(2), match.group(1)) if match else singer


def expected_book(songs, renumber, encoding, language="en"):
    """songs in run order: [(number, title, singer)] -> (singers, titles, left out)."""
    run = sorted(songs, key=lambda song: song[0])
    shown, seen, left_out = [], set(), collections.Counter()
    for position, (number, title, singer) in enumerate(run):
        number = position + 1 if renumber else number
        if not 1 <= number <= 99999:
            left_out["number"] += 1
        elif not title.strip() and not singer.strip():
            left_out["texts"] += 1
        elif (number, title, singer) not in seen:
            seen.add((number, title, singer))
            shown.append((number, title.decode(encoding, errors="replace"), singer.decode(encoding, errors="replace")))
    name_key = lambda text: (heading(key(text, True), language)[0], key(text, True), key(text, False), text)
    groups = collections.OrderedDict()
    for i, (_, _, singer) in enumerate(shown):
        groups.setdefault(key(listed_singer(singer), True), []).append(i)
    named = []
    for lookup, members in groups.items():
        spellings = collections.Counter(listed_singer(shown[i][2]) for i in members)
        name = max(members, key=lambda i: (spellings[listed_singer(shown[i][2])], -i))
        named.append((listed_singer(shown[name][2]), members))
    named.sort(key=lambda group: name_key(group[0]))
    group_of = {i: g for g, (_, members) in enumerate(named) for i in members}
    by_title = lambda i: (name_key(shown[i][1]), group_of[i], shown[i][0])
    singers = [(heading(key(name, True), language)[1], name or "(no singer)",
                [(shown[i][0], shown[i][1] or "(no title)") for i in sorted(members, key=by_title)])
               for name, members in named]
    titles = [(heading(key(shown[i][1], True), language)[1], shown[i][0], shown[i][1] or "(no title)",
               named[group_of[i]][0] or "(no singer)") for i in sorted(range(len(shown)), key=by_title)]
    return singers, titles, left_out


class BookReader(html.parser.HTMLParser):
    """Collects both parts and checks that every element is closed in order."""
    VOID = {"meta", "input", "br"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.part, self.letter, self.field = [], None, None, None
        self.singers, self.titles, self.entry, self.errors, self.cover = [], [], None, [], ""

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag not in self.VOID:
            self.stack.append(tag)
        if tag == "section" and attrs.get("id") in ("by-singer", "by-title"):
            self.part = attrs["id"]
        if tag == "section" and "cover" in (attrs.get("class") or ""):
            self.part = "cover"
        self.field = {"h3": "letter", "th": "singer"}.get(tag) or {"n": "n", "t": "t", "s": "s"}.get(
            (attrs.get("class") or "").split(" ")[0], self.field)
        if tag == "th":
            self.singers.append([self.letter, "", []])
        if "e" in (attrs.get("class") or "").split(" "):
            self.entry = {"n": "", "t": "", "s": ""}
        if tag == "h3":
            self.letter = ""

    def handle_endtag(self, tag):
        if not self.stack or self.stack.pop() != tag:
            self.errors.append("unbalanced </%s>" % tag)
        if tag == "tr" and self.part == "by-singer" and self.entry:
            self.singers[-1][2].append((int(self.entry["n"]), self.entry["t"]))
            self.entry = None
        if tag == "li" and self.part == "by-title":
            self.titles.append((self.letter, int(self.entry["n"]), self.entry["t"], self.entry["s"]))
        if tag in ("h3", "th", "span", "td"):
            self.field = None

    def handle_data(self, data):
        if self.part == "cover":
            self.cover += data + "\n"
        if self.field == "letter":
            self.letter += data
        elif self.field == "singer":
            self.singers[-1][1] += data
        elif self.field in ("n", "t", "s") and self.entry is not None:
            self.entry[self.field] += data


def check_html(path, songs, renumber, encoding, language="en"):
    singers, titles, left_out = expected_book(songs, renumber, encoding, language)
    with open(path, encoding="utf-8") as page:
        text = page.read()
    reader = BookReader()
    reader.feed(text)
    check(not reader.errors and not reader.stack, "%s: markup not well-formed %s" % (path, reader.errors[:3]))
    check(not re.search(r"(src|href)=\"(?!#)", text), "%s: refers to something outside itself" % path)
    markup = text[:text.index("<script>")]
    check(not re.search(r"&(?!(amp|lt|gt|quot|#39);)", markup), "%s: a bare & in the markup" % path)
    got = [(letter, name, entries) for letter, name, entries in reader.singers]
    check(got == singers, "%s: part by singer differs:\n%s\n%s" % (path, got[:6], singers[:6]))
    check(reader.titles == titles, "%s: part by title differs:\n%s\n%s" % (path, reader.titles[:5], titles[:5]))
    for count, phrase in zip((left_out["number"], left_out["texts"]), LEFT_OUT[language]):
        check(bool(count) == bool(re.search(phrase % count, reader.cover)),
              "%s: the title page does not count %s:\n%s" % (path, phrase % count, reader.cover))


def pdf_pages(path):
    return subprocess.run(["pdftotext", "-raw", path, "-"], capture_output=True, check=True).stdout.decode().split("\f")


def pdf_parts(path, language="en"):
    # -raw: the text in the order it was drawn, column after column.
    part = {"singer": "", "title": ""}
    for page in pdf_pages(path)[1:]:
        part["singer" if WORDS[language][0] in page else "title"] += page + "\n"
    return part


def entry_pattern(number, *texts):
    flexible = [r"\s*".join(re.escape(c) for c in t if not c.isspace()) for t in texts]
    return re.compile(r"(?<![\d])%d\s+" % number + r"\s*\W*\s*".join(flexible))


def check_pdf(path, songs, renumber, encoding, language="en"):
    singers, titles, _ = expected_book(songs, renumber, encoding, language)
    parts = pdf_parts(path, language)
    for part, entries in (("singer", [(n, (t,)) for *_, group in singers for n, t in group]),
                          ("title", [(n, (t, s)) for _, n, t, s in titles])):
        position = 0
        for number, texts in entries:
            pattern = entry_pattern(number, *texts)
            found = pattern.search(parts[part], position)
            check(found is not None, "%s: %d %s missing or out of order by %s" % (path, number, texts, part))
            check(len(pattern.findall(parts[part])) == 1, "%s: %d %s not once by %s" % (path, number, texts, part))
            position = found.end() if found else position
    return parts


def write_tagged(path, title, singer):
    tag = b""
    if title is not None:
        tag = b"TAG" + title.ljust(30, b"\0") + singer.ljust(30, b"\0") + bytes(30 + 4 + 30) + b"\x0c"
    with open(path, "wb") as song:
        song.write(b"\xff\xfb\x90\x00" + bytes(400) + tag)


def write_songlist(folder, songs):
    os.makedirs(folder)
    with open(os.path.join(folder, "list.txt"), "wb") as songlist:
        for number, title, singer in songs:
            songlist.write(b"%d|%s|%s\r\n" % (number, title, singer))
            for ending in ("mp3", "mcg"):
                open(os.path.join(folder, "%d.%s" % (number, ending)), "wb").close()
    return os.path.join(folder, "list.txt")


CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync"]


def chromium_run(chromium, work, *args):
    profile = tempfile.mkdtemp(dir=work)
    return subprocess.run([chromium, *CHROMIUM_FLAGS, "--user-data-dir=" + profile, *args],
                          capture_output=True, timeout=180)


def print_with(chromium, work, html):
    printed = html[:-len(".html")] + "-printed.pdf"
    chromium_run(chromium, work, "--no-pdf-header-footer", "--print-to-pdf=" + printed, "file://" + html)
    check(os.path.exists(printed), "chromium printed nothing of " + html)
    return printed if os.path.exists(printed) else None


# The queries of a guest, what each must find (numbers), and the jump links
# left; run in the page by a script added after the book's own.
# Songs by their number in the songlist; the book shows them renumbered.
SEARCHES = {"beyonce": {32, 33, 34}, "BEYONCÉ halo": {32}, "motley crue": {35}, "motley": {35}, "edith": {36},
            "uber": {37}, "dont stop": {38}, "acdc": {39}, "ac/dc": {39}, "til tuesday": {40}, "weird al": {41},
            "nsync": {42}, "nothing like this": set()}
RENUMBERED = {number: position + 1 for position, (number, _, _) in enumerate(sorted(DISC_SONGS))}
# A number finds its song, and the titles that hold it: song 40 is "Voices Carry", renumbered 24.
NUMBER_QUERY = ("24", {40} | {1000 + (i * 37) % 300 for i in range(300) if b"24" in b"%03d" % ((i * 7) % 300)})
SEARCH_DRIVER = """<script>
(function () {
  var box = document.getElementById("search"), results = {};
  QUERIES.forEach(function (query) {
    box.value = query;
    box.dispatchEvent(new Event("input"));
    var numbers = {};
    document.querySelectorAll("#by-title .e:not([hidden]) .n").forEach(function (n) { numbers[n.textContent] = 1; });
    var links = [];
    document.querySelectorAll("#by-title .jump a:not([hidden])").forEach(function (a) { links.push(a.textContent); });
    results[query] = {numbers: Object.keys(numbers).map(Number), singers: document.querySelectorAll(
      "#by-singer .e:not([hidden])").length, none: !document.getElementById("no-songs").hidden, links: links};
  });
  var out = document.createElement("pre");
  out.id = "results";
  out.textContent = JSON.stringify(results);
  document.body.appendChild(out);
})();
</script>
"""


def check_search(chromium, work, book):
    with open(book, encoding="utf-8") as page:
        text = page.read()
    driven = os.path.join(work, "searched.html")
    searches = dict(SEARCHES, **{NUMBER_QUERY[0]: NUMBER_QUERY[1]})
    driver = SEARCH_DRIVER.replace("QUERIES", json.dumps(list(searches)))
    with open(driven, "w", encoding="utf-8") as page:
        page.write(text.replace("</body>", driver + "</body>"))
    dom = chromium_run(chromium, work, "--dump-dom", "file://" + driven).stdout.decode()
    found = re.search(r'<pre id="results">(.*?)</pre>', dom, re.S)
    check(found is not None, "the search could not be driven in chromium")
    if not found:
        return
    results = json.loads(html.unescape(found.group(1)))
    for query, wanted in searches.items():
        wanted = {RENUMBERED[number] for number in wanted}
        result = results[query]
        check(set(result["numbers"]) == wanted, "search %r found %s, not %s" % (query, result["numbers"], wanted))
        check(result["singers"] == len(wanted), "search %r left %d songs by singer" % (query, result["singers"]))
        check(result["none"] == (not wanted), "search %r: 'No songs found' shown: %s" % (query, result["none"]))
    check(results["uber"]["links"] == ["U"], "search 'uber' leaves the jump links %s" % results["uber"]["links"])


# Print: letters of about a page or more have pages of their own, headed by
# the part and their letters; the small letters between them go on after
# others, so that no page but a part's last is mostly empty.
BIG_LETTERS = [("Apple", 300), ("Berry", 5), ("Cherry", 5), ("Date", 300), ("Elder", 3)]


def write_big_songlist(work):
    songs, number = [], 1
    for word, count in BIG_LETTERS:
        for i in range(count):
            songs.append((number, b"%s %03d" % (word.encode(), i), b"%s %d" % (word.encode(), i % 10)))
            number += 1
    return write_songlist(os.path.join(work, "big"), songs)


def check_print_pages(path):
    pages = [page for page in subprocess.run(["pdftotext", path, "-"], capture_output=True, check=True)
             .stdout.decode().split("\f")[1:] if page.strip()]
    words = {word[0]: word for word, _ in BIG_LETTERS}
    entry = r"\b(?:%s) \d{3}\b"
    entries = [len(re.findall(entry % "|".join(words.values()), page)) for page in pages]
    headers = set()
    for part in ("singer", "title"):
        numbers = [n for n, page in enumerate(pages) if ("By %s" % part) in page]
        for n in numbers:
            header = re.search(r"By %s(?: \u00b7 ([A-E])(?: \u2013 ([A-E]))?)?" % part, pages[n])
            check(header is not None, "%s page %d: the part is not named at the top" % (path, n + 2))
            if header is None or header.group(1) is None:
                continue
            first, last = header.group(1), header.group(2) or header.group(1)
            headers.add((part, first, last))
            if part == "title":
                others = [w for letter, w in words.items() if not first <= letter <= last]
                check(not re.search(entry % "|".join(others), pages[n]),
                      "%s page %d: holds entries of letters outside %s-%s" % (path, n + 2, first, last))
        for n in numbers[:-1]:
            check(entries[n] * 2 >= max(entries),
                  "%s page %d: %d entries, most of the page empty" % (path, n + 2, entries[n]))
    check(len(headers) >= 2, "%s: no letter has pages of its own: %s" % (path, headers))


def main():
    work = tempfile.mkdtemp(prefix="valmero-book-")
    try:
        disc_list = write_songlist(os.path.join(work, "disc"), DISC_SONGS)
        download = os.path.join(work, "download")
        os.makedirs(download)
        for number, title, singer in DOWNLOAD_SONGS:
            write_tagged(os.path.join(download, "%05d.mp3" % number), title, singer)
        start = os.path.join(work, "start")
        os.makedirs(start)
        with open(os.path.join(start, "mirqlog.txt"), "wb") as log:
            log.write(b"a log of yesterday\r\n")

        # Under the sanitizers: what the PDF libraries keep to the exit is not counted.
        environment = dict(os.environ)
        environment.setdefault("LSAN_OPTIONS", "suppressions=" + os.path.join(os.path.dirname(HERE), "lsan.supp"))

        def cli(*args):
            return subprocess.run([CLI, *args], cwd=start, capture_output=True, timeout=120, env=environment)

        out = lambda name: os.path.join(work, name)
        disc_args = ["--disc", "--source", disc_list]
        for name in ("disc.html", "disc.pdf"):
            result = cli("book", *disc_args, "--out", out(name), "--title", "Bar & <Grill>")
            check(result.returncode == 0, "book %s: %s" % (name, result.stderr))
            check(b"warning" not in result.stderr, "book %s: a CP1252 list warned %s" % (name, result.stderr))
        for name in ("dl.html", "dl.pdf"):
            result = cli("book", "--source", download, "--index", "keep", "--encoding", "CP949", "--out", out(name))
            check(result.returncode == 0 and b"no font" not in result.stderr, "book %s: %s" % (name, result.stderr))
        check(sorted(os.listdir(start)) == ["mirqlog.txt"], "book wrote beside the log: %s" % os.listdir(start))
        with open(os.path.join(start, "mirqlog.txt"), "rb") as log:
            check(log.read() == b"a log of yesterday\r\n", "book touched the log")

        check_html(out("disc.html"), DISC_SONGS, True, "cp1252")
        check_html(out("dl.html"), DOWNLOAD_SONGS_SHOWN, False, "cp949", "ko")
        parts = check_pdf(out("disc.pdf"), DISC_SONGS, True, "cp1252")
        check(len(re.findall(r"Big Band \(continued\)", parts["singer"])) >= 1,
              "disc.pdf: the Big Band's songs go on without their singer named again")
        parts = check_pdf(out("dl.pdf"), DOWNLOAD_SONGS_SHOWN, False, "cp949", "ko")
        check(re.search(r"ㄱ.*ㄴ.*ㅎ.*#.*Z", parts["title"], re.S), "dl.pdf: no Hangul initials before # and Z:\n"
              + parts["title"][:300])
        pages = subprocess.run(["pdfinfo", out("disc.pdf")], capture_output=True).stdout.decode()
        check(re.search(r"Pages:\s+([4-9]|\d\d)\n", pages), "disc.pdf: a title page and both parts expected\n" + pages)

        # A venue's book: Letter paper, large print, its line on every page.
        result = cli("book", *disc_args, "--out", out("venue.pdf"), "--paper", "Letter", "--font-size", "large",
                     "--footer", "Joe's Bar · Tuesdays")
        check(result.returncode == 0, "book venue.pdf: %s" % result.stderr)
        info = subprocess.run(["pdfinfo", out("venue.pdf")], capture_output=True).stdout.decode()
        check("612 x 792 pts" in info, "venue.pdf is not on Letter paper:\n" + info)
        venue_pages = pdf_pages(out("venue.pdf"))[:-1]
        check(all("Joe's Bar · Tuesdays" in page for page in venue_pages), "venue.pdf: a page without the venue")
        check(len(venue_pages) > int(re.search(r"Pages:\s+(\d+)", pages).group(1)),
              "venue.pdf in large print has no more pages than the small one")

        # The book of a make is the book of the same options.
        result = cli("make", *disc_args, "--target", out("target"), "--book", out("made.html"), "--title",
                     "Bar & <Grill>")
        check(result.returncode == 0, "make --book: %s" % result.stderr)
        with open(out("made.html"), "rb") as made, open(out("disc.html"), "rb") as book:
            check(made.read() == book.read(), "make --book differs from book")

        # A songlist saved as UTF-8: the book says so.
        utf8_list = write_songlist(os.path.join(work, "utf8"), [(1, "Café".encode(), "Beyoncé".encode())])
        result = cli("book", "--disc", "--source", utf8_list, "--out", out("utf8.html"))
        check(result.returncode == 0 and b"UTF-8" in result.stderr, "a UTF-8 songlist: no warning %s" % result.stderr)
        # A character no font has (an unassigned one) prints as a box: the PDF book says so.
        odd_list = write_songlist(os.path.join(work, "odd"), [(1, "Odd \u0378".encode(), b"Abc")])
        result = cli("book", "--disc", "--encoding", "UTF-8", "--source", odd_list, "--out", out("odd.pdf"))
        check(result.returncode == 0 and b"U+0378" in result.stderr and b"prints as a box" in result.stderr,
              "characters without a font: no warning %s" % result.stderr)

        for args in (["--out", out("x.txt")], ["--out", out("x.html"), "--encoding", "NO-SUCH-CODE"],
                     ["--out", out("x.html"), "--index", "none"], ["--out", out("x.html"), "--paper", "A5"],
                     ["--out", out("x.html"), "--font-size", "huge"], []):
            result = cli("book", *disc_args, *args)
            check(result.returncode == 2, "book %s: exit %d, not 2" % (args, result.returncode))
        result = cli("book", "--disc", "--source", out("missing.txt"), "--out", out("x.html"))
        check(result.returncode == 1 and not os.path.exists(out("x.html")), "unreadable source: %s" % result)

        chromium = shutil.which("chromium")
        if chromium:
            printed = print_with(chromium, work, out("disc.html"))
            if printed:
                parts = check_pdf(printed, DISC_SONGS, True, "cp1252")
                check(parts["singer"].count("Big Band") >= 2,
                      "printed disc.html: the Big Band is not named again where its songs go on")
            check_search(chromium, work, out("disc.html"))
            result = cli("book", "--disc", "--source", write_big_songlist(work), "--out", out("big.html"))
            check(result.returncode == 0, "book big.html: %s" % result.stderr)
            printed = print_with(chromium, work, out("big.html"))
            if printed:
                check_print_pages(printed)
        else:
            print("chromium not found: the printed HTML and the search are not checked")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
