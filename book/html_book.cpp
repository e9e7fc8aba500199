#include "book/html_book.h"

#include <set>

#include "platform/atomic_file.h"

namespace valmero {

namespace {

// Screen: one column per letter that widens into several where there is
// room. Print: A4, each part on its own pages under a running header with
// the part's name (and, in a big book, the letter: see LetterPageStyle), two
// or three columns, page numbers at the foot, headings kept with what follows
// them.
constexpr const char* STYLE = R"CSS(
:root { color-scheme: light; }
body { font-family: "DejaVu Sans", Verdana, Arial, sans-serif; margin: 0 auto; max-width: 72em; padding: 0 1em;
       color: #111; background: #fff; font-size: 15px; }
.cover { text-align: center; padding: 4em 0 3em; }
.cover h1 { font-size: 2.6em; margin: 0 0 .4em; overflow-wrap: anywhere; }
.cover p { margin: .3em 0; font-size: 1.2em; }
.cover nav a { margin: 0 .6em; }
#search-bar { position: sticky; top: 0; background: #fff; padding: .5em 0; border-bottom: 1px solid #ccc; z-index: 1; }
#search-bar input { width: 100%; box-sizing: border-box; font-size: 1.1em; padding: .35em .5em; }
h2 { font-size: 1.8em; border-bottom: 3px solid #222; margin: 1.2em 0 .4em; }
.jump { display: flex; flex-wrap: wrap; gap: .15em; margin: 0 0 1em; }
.jump a, .jump span { min-width: 1.5em; text-align: center; padding: .1em .25em; border: 1px solid #bbb;
                      border-radius: 3px; text-decoration: none; color: #124; }
.jump span { color: #bbb; border-color: #eee; }
.letter h3 { font-size: 1.5em; margin: .8em 0 .3em; padding: .05em .3em; background: #222; color: #fff; }
.cols { column-width: 20em; column-gap: 2em; }
.group h4 { font-size: 1em; margin: .6em 0 .15em; padding-bottom: .1em; border-bottom: 1px solid #999;
            overflow-wrap: anywhere; }
ul { list-style: none; margin: 0; padding: 0; }
li { padding: .05em 0 .05em 4.4em; text-indent: -4.4em; overflow-wrap: anywhere; }
.n { display: inline-block; width: 4em; margin-right: .4em; text-indent: 0; text-align: right; white-space: nowrap;
     font-variant-numeric: tabular-nums; font-weight: bold; }
.s { color: #555; }
.s::before { content: " \2014  "; }
.none { font-style: italic; color: #777; }
[hidden] { display: none !important; }
@page { size: A4; margin: 16mm 12mm 16mm;
        @bottom-center { content: counter(page); font: 9pt "DejaVu Sans", sans-serif; } }
@page singers { @top-left { content: "By singer"; font: bold 9pt "DejaVu Sans", sans-serif; } }
@page titles { @top-left { content: "By title"; font: bold 9pt "DejaVu Sans", sans-serif; } }
@page cover { @bottom-center { content: none; } }
@media print {
  body { max-width: none; padding: 0; font-size: 8.5pt; }
  #search-bar { display: none; }
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
  h2, h3, h4, .jump { break-after: avoid; }
  li { break-inside: avoid; }
  a { color: inherit; }
}
)CSS";

// Filters as one types: a song stays when its text holds every word typed;
// singers and letters with nothing left disappear.
constexpr const char* SCRIPT = R"JS(
(function () {
  var bar = document.getElementById("search-bar"), box = document.getElementById("search");
  var items = Array.prototype.slice.call(document.querySelectorAll("li"));
  var texts = items.map(function (li) {
    var group = li.closest(".group");
    return (li.textContent + " " + (group ? group.querySelector("h4").textContent : "")).toLowerCase();
  });
  bar.hidden = false;
  box.addEventListener("input", function () {
    var words = box.value.toLowerCase().split(/\s+/).filter(Boolean);
    items.forEach(function (li, i) {
      li.hidden = !words.every(function (w) { return texts[i].indexOf(w) >= 0; });
    });
    document.querySelectorAll(".group, .letter").forEach(function (block) {
      block.hidden = block.querySelector("li:not([hidden])") === null;
    });
  });
})();
)JS";

void AppendText(std::string& html, const std::string& text, const char* whenEmpty) {
  if (text.empty()) {
    html += "<span class=\"none\">";
    html += whenEmpty;
    html += "</span>";
  } else {
    html += EscapeHtml(text);
  }
}

void AppendNumber(std::string& html, int32_t number) {
  html += "<span class=\"n\">" + std::to_string(number) + "</span> ";
}

std::string HeadingId(const char* prefix, char heading) {
  return std::string(prefix) + (heading == '#' ? std::string("num") : heading == '~' ? "other" : std::string(1, heading));
}

void AppendJumpBar(std::string& html, const char* prefix, const std::set<char>& present) {
  html += "<nav class=\"jump\">";
  for (char heading : AllHeadings()) {
    std::string label = EscapeHtml(HeadingLabel(heading));
    if (present.count(heading)) {
      html += "<a href=\"#" + HeadingId(prefix, heading) + "\">" + label + "</a>";
    } else {
      html += "<span>" + label + "</span>";
    }
  }
  html += "</nav>\n";
}

// A browser's running header cannot follow the letters as they pass, but a
// named page can carry one: a letter on pages of its own names itself in the
// header. Each letter then starts a page, which only a big part fills well:
// one of about a page a letter, here 150 songs.
constexpr std::size_t SONGS_A_LETTER_FOR_LETTER_PAGES = 150;

std::set<char> SingerHeadings(const SongBook& book) {
  std::set<char> present;
  for (const BookGroup& group : book.singers) present.insert(group.heading);
  return present;
}

std::set<char> TitleHeadings(const SongBook& book) {
  std::set<char> present;
  for (std::size_t position : book.titles) present.insert(book.songs[position].titleHeading);
  return present;
}

bool UsesLetterPages(const SongBook& book, const std::set<char>& present) {
  return !present.empty() && book.songs.size() >= SONGS_A_LETTER_FOR_LETTER_PAGES * present.size();
}

// The named pages of a part's letters: "By singer · B" at the top left.
std::string LetterPageStyle(const char* prefix, const char* partName, const std::set<char>& present) {
  std::string style;
  for (char heading : present) {
    style += "@page " + HeadingId(prefix, heading) + " { @top-left { content: \"" + partName + " \\00B7  " +
             HeadingLabel(heading) + "\"; font: bold 9pt \"DejaVu Sans\", sans-serif; } }\n";
  }
  return style;
}

// The print style attribute that puts a block on a letter's pages, or nothing.
std::string PageOf(bool letterPages, const char* prefix, char heading) {
  return letterPages ? " style=\"page: " + HeadingId(prefix, heading) + "\"" : std::string();
}

void OpenLetter(std::string& html, const char* prefix, char heading, bool letterPages) {
  html += "<section class=\"letter\" id=\"" + HeadingId(prefix, heading) + "\"" +
          PageOf(letterPages, prefix, heading) + "><h3>" + EscapeHtml(HeadingLabel(heading)) +
          "</h3><div class=\"cols\">\n";
}

void AppendSingerPart(std::string& html, const SongBook& book) {
  const std::set<char> present = SingerHeadings(book);
  const bool letterPages = UsesLetterPages(book, present);
  // The part's heading shares the first letter's page.
  html += "<section class=\"part\" id=\"by-singer\"" +
          (present.empty() ? std::string() : PageOf(letterPages, "s-", *present.begin())) + "><h2>";
  html += SINGER_PART_NAME;
  html += "</h2>\n";
  AppendJumpBar(html, "s-", present);
  char open = 0;
  for (const BookGroup& group : book.singers) {
    if (group.heading != open) {
      if (open) html += "</div></section>\n";
      OpenLetter(html, "s-", group.heading, letterPages);
      open = group.heading;
    }
    html += "<div class=\"group\"><h4>";
    AppendText(html, group.name, NO_SINGER_TEXT);
    html += "</h4><ul>\n";
    for (std::size_t position : group.songs) {
      const BookSong& song = book.songs[position];
      html += "<li>";
      AppendNumber(html, song.number);
      html += "<span class=\"t\">";
      AppendText(html, song.title, NO_TITLE_TEXT);
      html += "</span></li>\n";
    }
    html += "</ul></div>\n";
  }
  if (open) html += "</div></section>\n";
  html += "</section>\n";
}

void AppendTitlePart(std::string& html, const SongBook& book) {
  const std::set<char> present = TitleHeadings(book);
  const bool letterPages = UsesLetterPages(book, present);
  html += "<section class=\"part\" id=\"by-title\"" +
          (present.empty() ? std::string() : PageOf(letterPages, "t-", *present.begin())) + "><h2>";
  html += TITLE_PART_NAME;
  html += "</h2>\n";
  AppendJumpBar(html, "t-", present);
  char open = 0;
  for (std::size_t position : book.titles) {
    const BookSong& song = book.songs[position];
    if (song.titleHeading != open) {
      if (open) html += "</ul></div></section>\n";
      OpenLetter(html, "t-", song.titleHeading, letterPages);
      html += "<ul>\n";
      open = song.titleHeading;
    }
    html += "<li>";
    AppendNumber(html, song.number);
    html += "<span class=\"t\">";
    AppendText(html, song.title, NO_TITLE_TEXT);
    html += "</span> <span class=\"s\">";
    AppendText(html, song.singer, NO_SINGER_TEXT);
    html += "</span></li>\n";
  }
  if (open) html += "</ul></div></section>\n";
  html += "</section>\n";
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
  std::string html;
  html.reserve(256 * book.songs.size() + 8192);
  std::string title = EscapeHtml(book.title);
  html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  html += title + "</title>\n<style>" + STYLE;
  const std::set<char> singerHeadings = SingerHeadings(book);
  if (UsesLetterPages(book, singerHeadings)) html += LetterPageStyle("s-", SINGER_PART_NAME, singerHeadings);
  const std::set<char> titleHeadings = TitleHeadings(book);
  if (UsesLetterPages(book, titleHeadings)) html += LetterPageStyle("t-", TITLE_PART_NAME, titleHeadings);
  html += "</style>\n</head>\n<body>\n";
  html += "<section class=\"cover\"><h1>" + title + "</h1>\n<p class=\"count\">" + std::to_string(book.songs.size()) +
          (book.songs.size() == 1 ? " song" : " songs") + "</p>\n<p class=\"date\">" + EscapeHtml(book.date) +
          "</p>\n<nav><a href=\"#by-singer\">" + SINGER_PART_NAME + "</a> <a href=\"#by-title\">" +
          TITLE_PART_NAME + "</a></nav></section>\n";
  html += "<div id=\"search-bar\" hidden><input id=\"search\" type=\"search\" "
          "placeholder=\"Search by title, singer or number\" aria-label=\"Search\"></div>\n";
  AppendSingerPart(html, book);
  AppendTitlePart(html, book);
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
