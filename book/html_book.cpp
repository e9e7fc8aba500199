#include "book/html_book.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/atomic_file.h"

namespace valmero {

namespace {

// Screen: one column per letter that widens into several where there is
// room. Print: each part on its own pages under a running header with the
// part's name (and, in a big book, its letters: see PageGroupsOf), two or
// three columns, page numbers and the venue's line at the foot, headings
// kept with what follows them. A singer is a table whose head the browser
// repeats at the top of every column the singer's songs go on in.
constexpr const char* STYLE = R"CSS(
:root { color-scheme: light; }
body { font-family: "DejaVu Sans", Verdana, Arial, "Noto Sans CJK KR", "Noto Sans CJK JP", sans-serif;
       margin: 0 auto; max-width: 72em; padding: 0 1em; color: #111; background: #fff; font-size: 15px; }
.cover { text-align: center; padding: 4em 0 3em; }
.cover h1 { font-size: 2.6em; margin: 0 0 .4em; overflow-wrap: anywhere; }
.cover p { margin: .3em 0; font-size: 1.2em; }
.cover .venue { font-size: 1.4em; }
.cover .left-out { font-size: 1em; color: #555; }
.cover nav a { margin: 0 .6em; }
#search-bar { position: sticky; top: 0; background: #fff; padding: .5em 0; border-bottom: 1px solid #ccc; z-index: 1; }
#search-bar input { width: 100%; box-sizing: border-box; font-size: 1.1em; padding: .35em .5em; }
#no-songs { font-size: 1.2em; font-style: italic; color: #555; margin: 1em 0; }
h2 { font-size: 1.8em; border-bottom: 3px solid #222; margin: 1.2em 0 .4em; }
.jump { display: flex; flex-wrap: wrap; gap: .15em; margin: 0 0 1em; }
.jump a, .jump span { min-width: 1.5em; text-align: center; padding: .1em .25em; border: 1px solid #bbb;
                      border-radius: 3px; text-decoration: none; color: #124; }
.jump span { color: #bbb; border-color: #eee; }
.letter h3 { font-size: 1.5em; margin: .8em 0 .3em; padding: .05em .3em; background: #222; color: #fff; }
.cols { column-width: 20em; column-gap: 2em; }
table.group { width: 100%; border-collapse: collapse; margin: .6em 0 0; break-inside: avoid; }
.group th { font-size: 1em; text-align: left; padding: 0 0 .1em; border-bottom: 1px solid #999; overflow-wrap: anywhere; }
.group td { padding: .05em 0; vertical-align: top; overflow-wrap: anywhere; }
.group td.n { width: 4em; padding-right: .4em; }
ul { list-style: none; margin: 0; padding: 0; }
li { padding: .05em 0 .05em 4.4em; text-indent: -4.4em; overflow-wrap: anywhere; }
.n { display: inline-block; width: 4em; margin-right: .4em; text-indent: 0; text-align: right; white-space: nowrap;
     font-variant-numeric: tabular-nums; font-weight: bold; }
td.n { display: table-cell; }
.s { color: #555; }
.s::before { content: " \2014  "; }
.none { font-style: italic; color: #777; }
[hidden] { display: none !important; }
@page cover { @bottom-center { content: none; } @bottom-left { content: none; } @bottom-right { content: none; } }
@media print {
  body { max-width: none; padding: 0; }
  #search-bar, #no-songs { display: none; }
  .cover { page: cover; padding-top: 35%; }
  .cover nav { display: none; }
  .part { break-before: page; }
  #by-singer { page: singers; }
  #by-title { page: titles; }
  #by-singer .cols { column-count: 3; column-width: auto; column-gap: 5mm; }
  #by-title .cols { column-count: 2; column-width: auto; column-gap: 8mm; }
  h2 { font-size: 15pt; margin-top: 0; }
  .jump a, .jump span { min-width: 1em; padding: 0 .2em; }
  .letter h3 { font-size: 12pt; margin: 3mm 0 1.5mm; -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  table.group { break-inside: auto; }
  h2, h3, .jump, thead { break-after: avoid; }
  li, tr { break-inside: avoid; }
  a { color: inherit; }
}
)CSS";

// Filters as one types. Texts and words are compared as a guest types
// them: without accents, case, punctuation or spaces ("acdc" finds AC/DC,
// "dont stop" finds Don't Stop); katakana as hiragana. A word of digits
// also finds the song of that number. Letters, singers and jump links with
// nothing left disappear; "No songs found" when nothing is left.
constexpr const char* SCRIPT = R"JS(
(function () {
  var bar = document.getElementById("search-bar"), box = document.getElementById("search");
  var none = document.getElementById("no-songs");
  var spelled = {"\u00e6": "ae", "\u0153": "oe", "\u00f8": "o", "\u0111": "d", "\u00f0": "d", "\u0142": "l",
                 "\u00fe": "th", "\u0127": "h", "\u0167": "t", "\u0131": "i", "\u00df": "ss"};
  function fold(text) {
    return text.normalize("NFKD").toLowerCase().replace(/\p{M}/gu, "")
      .replace(/[\u00e6\u0153\u00f8\u0111\u00f0\u0142\u00fe\u0127\u0167\u0131\u00df]/g, function (c) { return spelled[c]; })
      .replace(/[\u30a1-\u30f6]/g, function (c) { return String.fromCharCode(c.charCodeAt(0) - 0x60); })
      .replace(/[^\p{L}\p{N}]+/gu, "");
  }
  var entries = Array.prototype.slice.call(document.querySelectorAll(".e"));
  var numbers = [], texts = [];
  entries.forEach(function (entry) {
    var group = entry.closest(".group"), number = entry.querySelector(".n").textContent;
    var text = entry.textContent.slice(entry.textContent.indexOf(number) + number.length);
    numbers.push(number);
    texts.push(fold(text + " " + (group ? group.querySelector("th").textContent : "")));
  });
  var blocks = document.querySelectorAll(".group, .letter");
  var links = document.querySelectorAll(".jump a");
  bar.hidden = false;
  box.addEventListener("input", function () {
    var words = box.value.split(/\s+/).map(function (w) { return { digits: /^\d+$/.test(w), folded: fold(w) }; })
      .filter(function (w) { return w.folded; });
    var found = 0;
    entries.forEach(function (entry, i) {
      var hit = words.every(function (w) {
        return texts[i].indexOf(w.folded) >= 0 || (w.digits && numbers[i] === String(Number(w.folded)));
      });
      entry.hidden = !hit;
      if (hit) found++;
    });
    blocks.forEach(function (block) { block.hidden = block.querySelector(".e:not([hidden])") === null; });
    links.forEach(function (link) {
      var target = document.getElementById(link.getAttribute("href").slice(1));
      link.hidden = words.length > 0 && (target === null || target.hidden);
    });
    document.querySelectorAll(".jump span").forEach(function (span) { span.hidden = words.length > 0; });
    none.hidden = words.length === 0 || found > 0;
  });
})();
)JS";

// A printed part's measures, roughly: the lines of a page (all its columns,
// less a line a column that breaks lose) and the characters of a line.
struct PrintMeasures {
  double linesPerPage;
  double charsPerLine;
};

PrintMeasures MeasuresOf(const SongBook& book, int columns, double gapMm) {
  const bool letter = book.paper == PaperSize::Letter;
  const double points = SongPoints(book.fontSize) + 0.5;
  const double pointsPerMm = 72 / 25.4;
  const double linesPerColumn = ((letter ? 279.4 : 297) - 32) * pointsPerMm / (points * 1.3);
  const double columnPoints = ((letter ? 215.9 : 210) - 24 - gapMm * (columns - 1)) / columns * pointsPerMm;
  // An average character is about half a point size wide; the number takes the first five.
  return {columns * (linesPerColumn - 1), columnPoints / (points * 0.55) - 5};
}

// The width of a text in characters: CJK characters count two.
double WidthInCharacters(const std::string& text) {
  double width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;
    width += byte >= 0xE1 && byte <= 0xEF ? 2 : 1;  // U+1000 to U+FFFF: mostly Hangul, kana, kanji here
  }
  return width;
}

double LinesOf(double characters, const PrintMeasures& measures) {
  return std::max(1.0, std::ceil(characters / measures.charsPerLine));
}

std::string CssString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n' || c == '\r' || c == '<') {
      quoted += c == '<' ? "\\3C " : " ";
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

void AppendText(std::string& html, const std::string& text, const char* whenEmpty) {
  if (text.empty()) {
    html += "<span class=\"none\">";
    html += whenEmpty;
    html += "</span>";
  } else {
    html += EscapeHtml(text);
  }
}

std::string ElementId(const char* prefix, const LetterHeading& heading) { return prefix + HeadingId(heading); }

void AppendJumpBar(std::string& html, const char* prefix, const std::vector<PartHeading>& headings) {
  html += "<nav class=\"jump\">";
  for (const PartHeading& part : headings) {
    const std::string label = EscapeHtml(part.heading.label);
    if (part.present) {
      html += "<a href=\"#" + ElementId(prefix, part.heading) + "\">" + label + "</a>";
    } else {
      html += "<span>" + label + "</span>";
    }
  }
  html += "</nav>\n";
}

// A browser's running header cannot follow the letters as they pass, but a
// named page can carry one, and a change of name starts a page. Letters in
// print go in page groups: a group ends only where its last page is at least
// half full, so that no short letter leaves most of a page empty, and each
// group's pages name its letters ("By singer · U – Z").
struct PageGroup {
  std::string name;   // the @page name
  std::string first;  // the first and last letter's label
  std::string last;
};

struct PartPages {
  std::vector<PageGroup> groups;
  std::vector<std::size_t> groupOfHeading;  // by the heading's place in the part
};

PartPages PageGroupsOf(const char* prefix, const std::vector<std::pair<LetterHeading, double>>& linesOfHeadings,
                       double linesPerPage) {
  PartPages pages;
  double lines = 0;
  for (std::size_t i = 0; i < linesOfHeadings.size(); ++i) {
    if (pages.groups.empty() || lines == 0) {
      pages.groups.push_back({std::string(prefix) + "p" + std::to_string(pages.groups.size()),
                              linesOfHeadings[i].first.label, linesOfHeadings[i].first.label});
    }
    pages.groups.back().last = linesOfHeadings[i].first.label;
    pages.groupOfHeading.push_back(pages.groups.size() - 1);
    lines += linesOfHeadings[i].second;
    const double lastPage = std::fmod(lines, linesPerPage);
    if (lines >= linesPerPage && (lastPage >= linesPerPage / 2 || lastPage < 0.01)) lines = 0;
  }
  // A last group of less than half a page goes on after the one before it.
  if (pages.groups.size() > 1 && lines > 0 && lines < linesPerPage / 2) {
    const std::size_t last = pages.groups.size() - 1;
    pages.groups[last - 1].last = pages.groups[last].last;
    pages.groups.pop_back();
    for (std::size_t& group : pages.groupOfHeading) group = std::min(group, last - 1);
  }
  // One group is the part itself: no letter pages.
  if (pages.groups.size() < 2) pages = PartPages();
  return pages;
}

std::string PageStyle(const PartPages& pages, const char* partName, const std::string& partPage) {
  std::string style = "@page " + partPage + " { @top-left { content: " + CssString(partName) +
                      "; font: bold 9pt \"DejaVu Sans\", sans-serif; } }\n";
  for (const PageGroup& group : pages.groups) {
    std::string letters = group.first == group.last ? group.first : group.first + " \u2013 " + group.last;
    style += "@page " + group.name + " { @top-left { content: " + CssString(std::string(partName) + " \u00B7 " + letters) +
             "; font: bold 9pt \"DejaVu Sans\", sans-serif; } }\n";
  }
  return style;
}

// The print style attribute that puts a block on its page group, or nothing.
std::string PageOf(const PartPages& pages, std::size_t headingIndex) {
  if (pages.groups.empty()) return {};
  return " style=\"page: " + pages.groups[pages.groupOfHeading[headingIndex]].name + "\"";
}

// The lines each letter of a part takes in print: its songs' lines, and a
// little more for each singer's name and the letter's own heading; the
// first letter also shares its page with the part's name and jump bar.
constexpr double LETTER_HEADING_LINES = 2.5;
constexpr double SINGER_NAME_LINES = 1.8;
constexpr double PART_HEAD_LINES = 4;

std::vector<std::pair<LetterHeading, double>> SingerLines(const SongBook& book, const PrintMeasures& measures) {
  std::vector<std::pair<LetterHeading, double>> lines;
  for (const BookGroup& group : book.singers) {
    if (lines.empty() || lines.back().first != group.heading) {
      lines.push_back({group.heading, LETTER_HEADING_LINES + (lines.empty() ? 3 * PART_HEAD_LINES : 0)});
    }
    lines.back().second += SINGER_NAME_LINES;
    for (std::size_t song : group.songs) lines.back().second += LinesOf(WidthInCharacters(book.songs[song].title), measures);
  }
  return lines;
}

std::vector<std::pair<LetterHeading, double>> TitleLines(const SongBook& book, const PrintMeasures& measures) {
  std::vector<std::pair<LetterHeading, double>> lines;
  for (std::size_t position : book.titles) {
    const BookSong& song = book.songs[position];
    if (lines.empty() || lines.back().first != song.titleHeading) {
      lines.push_back({song.titleHeading, LETTER_HEADING_LINES + (lines.empty() ? 2 * PART_HEAD_LINES : 0)});
    }
    const double characters = WidthInCharacters(song.title) + WidthInCharacters(book.singers[song.group].name) + 3;
    lines.back().second += LinesOf(characters, measures);
  }
  return lines;
}

void OpenLetter(std::string& html, const char* prefix, const LetterHeading& heading, const PartPages& pages,
                std::size_t headingIndex) {
  html += "<section class=\"letter\" id=\"" + ElementId(prefix, heading) + "\"" + PageOf(pages, headingIndex) +
          "><h3>" + EscapeHtml(heading.label) + "</h3><div class=\"cols\">\n";
}

void AppendPartStart(std::string& html, const char* id, const char* name, const PartPages& pages,
                     const std::vector<PartHeading>& headings, const char* prefix) {
  // The part's heading shares the first letter's page.
  html += std::string("<section class=\"part\" id=\"") + id + "\"" + PageOf(pages, 0) + "><h2>" + EscapeHtml(name) +
          "</h2>\n";
  AppendJumpBar(html, prefix, headings);
}

void AppendSingerPart(std::string& html, const SongBook& book, const PartPages& pages) {
  const BookWords& words = WordsOf(book.language);
  AppendPartStart(html, "by-singer", words.bySinger, pages, SingerPartHeadings(book), "s-");
  std::size_t headingIndex = 0;
  const LetterHeading* open = nullptr;
  for (const BookGroup& group : book.singers) {
    if (open == nullptr || *open != group.heading) {
      if (open != nullptr) {
        html += "</div></section>\n";
        ++headingIndex;
      }
      OpenLetter(html, "s-", group.heading, pages, headingIndex);
      open = &group.heading;
    }
    html += "<table class=\"group\"><thead><tr><th colspan=\"2\">";
    AppendText(html, group.name, words.noSinger);
    html += "</th></tr></thead><tbody>\n";
    for (std::size_t position : group.songs) {
      const BookSong& song = book.songs[position];
      html += "<tr class=\"e\"><td class=\"n\">" + std::to_string(song.number) + "</td><td class=\"t\">";
      AppendText(html, song.title, words.noTitle);
      html += "</td></tr>\n";
    }
    html += "</tbody></table>\n";
  }
  if (open != nullptr) html += "</div></section>\n";
  html += "</section>\n";
}

void AppendTitlePart(std::string& html, const SongBook& book, const PartPages& pages) {
  const BookWords& words = WordsOf(book.language);
  AppendPartStart(html, "by-title", words.byTitle, pages, TitlePartHeadings(book), "t-");
  std::size_t headingIndex = 0;
  const LetterHeading* open = nullptr;
  for (std::size_t position : book.titles) {
    const BookSong& song = book.songs[position];
    if (open == nullptr || *open != song.titleHeading) {
      if (open != nullptr) {
        html += "</ul></div></section>\n";
        ++headingIndex;
      }
      OpenLetter(html, "t-", song.titleHeading, pages, headingIndex);
      html += "<ul>\n";
      open = &song.titleHeading;
    }
    html += "<li class=\"e\"><span class=\"n\">" + std::to_string(song.number) + "</span> <span class=\"t\">";
    AppendText(html, song.title, words.noTitle);
    html += "</span> <span class=\"s\">";
    AppendText(html, book.singers[song.group].name, words.noSinger);
    html += "</span></li>\n";
  }
  if (open != nullptr) html += "</ul></div></section>\n";
  html += "</section>\n";
}

std::string PrintStyle(const SongBook& book) {
  const double points = SongPoints(book.fontSize) + 0.5;
  std::string style = std::string("@page { size: ") + (book.paper == PaperSize::Letter ? "letter" : "A4") +
                      "; margin: 16mm 12mm 16mm;\n"
                      "  @bottom-right { content: counter(page); font: 9pt \"DejaVu Sans\", sans-serif; }\n";
  if (!book.footer.empty()) {
    style += "  @bottom-left { content: " + CssString(book.footer) + "; font: 9pt \"DejaVu Sans\", sans-serif; }\n";
  }
  // Tenths written out: a desktop program's locale may have a decimal comma.
  const long tenths = std::lround(points * 10);
  style += "}\n@media print { body { font-size: " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) +
           "pt; } }\n";
  return style;
}

void AppendCover(std::string& html, const SongBook& book) {
  const BookWords& words = WordsOf(book.language);
  html += "<section class=\"cover\"><h1>" + EscapeHtml(book.title) + "</h1>\n";
  if (!book.footer.empty()) html += "<p class=\"venue\">" + EscapeHtml(book.footer) + "</p>\n";
  html += "<p class=\"count\">" + EscapeHtml(SongCountText(book.language, book.songs.size())) + "</p>\n";
  if (book.leftOut.withoutNumber > 0) {
    html += "<p class=\"left-out\">" + EscapeHtml(WithoutNumberText(book.language, book.leftOut.withoutNumber)) +
            "</p>\n";
  }
  if (book.leftOut.withoutTexts > 0) {
    html += "<p class=\"left-out\">" + EscapeHtml(WithoutTextsText(book.language, book.leftOut.withoutTexts)) +
            "</p>\n";
  }
  html += "<p class=\"date\">" + EscapeHtml(book.date) + "</p>\n<nav><a href=\"#by-singer\">" +
          EscapeHtml(words.bySinger) + "</a> <a href=\"#by-title\">" + EscapeHtml(words.byTitle) +
          "</a></nav></section>\n";
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string HtmlBookText(const SongBook& book) {
  const BookWords& words = WordsOf(book.language);
  const PrintMeasures singerMeasures = MeasuresOf(book, 3, 5);
  const PrintMeasures titleMeasures = MeasuresOf(book, 2, 8);
  const PartPages singerPages = PageGroupsOf("s-", SingerLines(book, singerMeasures), singerMeasures.linesPerPage);
  const PartPages titlePages = PageGroupsOf("t-", TitleLines(book, titleMeasures), titleMeasures.linesPerPage);
  std::string html;
  html.reserve(256 * book.songs.size() + 8192);
  html += std::string("<!DOCTYPE html>\n<html lang=\"") + LanguageCode(book.language) +
          "\">\n<head>\n<meta charset=\"utf-8\">\n"
          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  html += EscapeHtml(book.title) + "</title>\n<style>" + STYLE + PrintStyle(book);
  html += PageStyle(singerPages, words.bySinger, "singers");
  html += PageStyle(titlePages, words.byTitle, "titles");
  html += "</style>\n</head>\n<body>\n";
  AppendCover(html, book);
  html += "<div id=\"search-bar\" hidden><input id=\"search\" type=\"search\" placeholder=\"" +
          EscapeHtml(words.search) + "\" aria-label=\"" + EscapeHtml(words.search) + "\"></div>\n";
  html += "<p id=\"no-songs\" hidden>" + EscapeHtml(words.noneFound) + "</p>\n";
  AppendSingerPart(html, book, singerPages);
  AppendTitlePart(html, book, titlePages);
  html += "<script>";
  html += SCRIPT;
  html += "</script>\n</body>\n</html>\n";
  return html;
}

int WriteHtmlBook(const SongBook& book, const std::string& outPath, std::string& error) {
  CAtomicFile file;
  if (!file.Create(outPath.c_str())) {
    error = "can not create \"" + outPath + "\"";
    return -1;
  }
  std::string html = HtmlBookText(book);
  file.Write(html.data(), html.size());
  if (!file.Commit()) {
    error = "can not write \"" + outPath + "\"";
    return -1;
  }
  return 0;
}

}  // namespace valmero
