#include "book/pdf_book.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <utf8proc.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "platform/atomic_file.h"

namespace valmero {

namespace {

// The page in points: A4 or US Letter.
struct PageGeometry {
  double width;
  double height;
  double bodyBottom() const { return height - 48; }
  double footerTop() const { return height - 36; }
  double bodyWidth() const { return width - 2 * MARGIN_SIDE; }
  static constexpr double MARGIN_SIDE = 40;
};

PageGeometry GeometryOf(PaperSize paper) {
  return paper == PaperSize::Letter ? PageGeometry{612, 792} : PageGeometry{595.28, 841.89};
}

constexpr double MARGIN_SIDE = PageGeometry::MARGIN_SIDE;
constexpr double BODY_TOP = 62;
constexpr double HEADER_TOP = 30;

// DejaVu for Latin, Greek and Cyrillic; Hangul, kana and kanji from a CJK
// font, the book's own language's first, so that shared characters take
// its shapes.
std::string FontFamily(BookLanguage language) {
  switch (language) {
    case BookLanguage::Korean: return "DejaVu Sans, Noto Sans CJK KR, NanumGothic, Noto Sans CJK JP";
    case BookLanguage::Japanese: return "DejaVu Sans, Noto Sans CJK JP, IPAGothic, Noto Sans CJK KR";
    case BookLanguage::English: break;
  }
  return "DejaVu Sans, Noto Sans CJK JP, Noto Sans CJK KR, NanumGothic";
}

enum class BlockKind { Letter, Singer, Song };

// One thing the flow places: a letter heading, a singer's name, or a song.
struct Block {
  BlockKind kind;
  const LetterHeading* heading;
  std::size_t group;  // part one: the singer group
  std::size_t song;   // for a song: its position in the song table
};

struct PartLayout {
  const char* name;
  const char* idPrefix;
  int columns;
  bool withSinger;  // songs show their singer (the title part)
};

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
  auto* file = static_cast<CAtomicFile*>(closure);
  return file->Write(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

PangoLayout* NewLayout(cairo_t* cr, const SongBook& book, bool bold, double size) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_context_set_language(pango_layout_get_context(layout), pango_language_from_string(LanguageCode(book.language)));
  pango_layout_context_changed(layout);
  PangoFontDescription* description = pango_font_description_from_string(FontFamily(book.language).c_str());
  if (bold) pango_font_description_set_weight(description, PANGO_WEIGHT_BOLD);
  pango_font_description_set_size(description, static_cast<int>(size * PANGO_SCALE));
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  return layout;
}

void SetWidth(PangoLayout* layout, double width) { pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE)); }

double HeightOf(PangoLayout* layout) {
  int width = 0;
  int height = 0;
  pango_layout_get_size(layout, &width, &height);
  return static_cast<double>(height) / PANGO_SCALE;
}

double WidthOf(PangoLayout* layout) {
  int width = 0;
  int height = 0;
  pango_layout_get_size(layout, &width, &height);
  return static_cast<double>(width) / PANGO_SCALE;
}

void ShowAt(cairo_t* cr, PangoLayout* layout, double x, double y) {
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
}

std::string DestinationName(const char* prefix, const LetterHeading& heading) {
  return prefix + HeadingId(heading);
}

class CPdfBookPrinter {
 public:
  CPdfBookPrinter(cairo_surface_t* surface, cairo_t* cr, const SongBook& book);
  ~CPdfBookPrinter();
  CPdfBookPrinter(const CPdfBookPrinter&) = delete;
  CPdfBookPrinter& operator=(const CPdfBookPrinter&) = delete;

  void PrintTitlePage();
  void PrintPart(const PartLayout& part, const std::vector<PartHeading>& headings, const std::vector<Block>& blocks);

 private:
  // The part's first page: its name, the jump bar, and its entry in the outline.
  void StartPart(const PartLayout& part, const std::vector<PartHeading>& headings);
  // Draws blocks[i] in the current column, or at the top of the next one
  // when it (with what it must not be parted from) does not fit.
  void PlaceBlock(const std::vector<Block>& blocks, std::size_t i);
  double Measure(const Block& block);
  // What must fit below the top of `blocks[i]` for it to start here: a
  // heading brings the first lines that follow it.
  double NeededFor(const std::vector<Block>& blocks, std::size_t i);
  void Draw(const Block& block, double x, double y);
  // The singer's name with a rule under it; its height.
  double DrawSingerName(const BookGroup& group, bool continued, double x, double y);
  void SetSongText(const BookSong& song);
  void StartPage();
  void FinishPage();
  void DrawFooter();
  void NextColumn();
  double ColumnX() const;
  double SpaceBefore(const Block& block) const;
  double JumpBar(const std::vector<PartHeading>& headings, double y);

  cairo_surface_t* m_surface;
  cairo_t* m_cr;
  const SongBook& m_book;
  const BookWords& m_words;
  const PageGeometry m_page;
  const double m_points;  // a song's size
  const PartLayout* m_part = nullptr;
  PangoLayout* m_song;
  PangoLayout* m_number;
  PangoLayout* m_singer;
  PangoLayout* m_letter;
  PangoLayout* m_small;
  double m_numberWidth = 0;
  double m_columnWidth = 0;
  double m_columnTop = BODY_TOP;
  double m_y = BODY_TOP;
  int m_column = 0;
  int m_pageNumber = 0;
  const LetterHeading* m_firstHeading = nullptr;
  const LetterHeading* m_lastHeading = nullptr;
  std::size_t m_currentGroup = 0;
  bool m_inGroup = false;
  bool m_bPageEmpty = true;
  const BookSong* m_preparedSong = nullptr;
  int m_outlinePart = 0;
};

CPdfBookPrinter::CPdfBookPrinter(cairo_surface_t* surface, cairo_t* cr, const SongBook& book)
    : m_surface(surface),
      m_cr(cr),
      m_book(book),
      m_words(WordsOf(book.language)),
      m_page(GeometryOf(book.paper)),
      m_points(SongPoints(book.fontSize)) {
  m_song = NewLayout(cr, book, false, m_points);
  m_number = NewLayout(cr, book, true, m_points);
  m_singer = NewLayout(cr, book, true, m_points + 0.5);
  m_letter = NewLayout(cr, book, true, m_points + 4);
  m_small = NewLayout(cr, book, false, 8);
  pango_layout_set_alignment(m_number, PANGO_ALIGN_RIGHT);
  // Room for the widest number of the book.
  std::size_t digits = 1;
  for (const BookSong& song : book.songs) digits = std::max(digits, std::to_string(song.number).size());
  std::string widest(digits, '0');
  pango_layout_set_text(m_number, widest.c_str(), -1);
  m_numberWidth = WidthOf(m_number) + 1;
  SetWidth(m_number, m_numberWidth);
}

CPdfBookPrinter::~CPdfBookPrinter() {
  for (PangoLayout* layout : {m_song, m_number, m_singer, m_letter, m_small}) g_object_unref(layout);
}

void CPdfBookPrinter::PrintTitlePage() {
  ++m_pageNumber;
  const double width = m_page.bodyWidth() - 40;
  PangoLayout* title = NewLayout(m_cr, m_book, true, 30);
  PangoLayout* venue = NewLayout(m_cr, m_book, false, 17);
  PangoLayout* line = NewLayout(m_cr, m_book, false, 14);
  PangoLayout* note = NewLayout(m_cr, m_book, false, 11);
  for (PangoLayout* layout : {title, venue, line, note}) {
    SetWidth(layout, width);
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  }
  pango_layout_set_text(title, m_book.title.c_str(), -1);
  double y = m_page.height * 0.33;
  ShowAt(m_cr, title, MARGIN_SIDE + 20, y);
  y += HeightOf(title) + 18;
  cairo_set_line_width(m_cr, 1.5);
  cairo_move_to(m_cr, m_page.width / 2 - 80, y);
  cairo_line_to(m_cr, m_page.width / 2 + 80, y);
  cairo_stroke(m_cr);
  y += 22;
  auto show = [&](PangoLayout* layout, const std::string& text) {
    pango_layout_set_text(layout, text.c_str(), -1);
    ShowAt(m_cr, layout, MARGIN_SIDE + 20, y);
    y += HeightOf(layout) + 8;
  };
  if (!m_book.footer.empty()) show(venue, m_book.footer);
  show(line, SongCountText(m_book.language, m_book.songs.size()));
  cairo_set_source_rgb(m_cr, 0.33, 0.33, 0.33);
  if (m_book.leftOut.withoutNumber > 0) show(note, WithoutNumberText(m_book.language, m_book.leftOut.withoutNumber));
  if (m_book.leftOut.withoutTexts > 0) show(note, WithoutTextsText(m_book.language, m_book.leftOut.withoutTexts));
  cairo_set_source_rgb(m_cr, 0, 0, 0);
  show(line, m_book.date);
  show(line, std::string(m_words.bySinger) + "  \xC2\xB7  " + m_words.byTitle);
  for (PangoLayout* layout : {title, venue, line, note}) g_object_unref(layout);
  cairo_show_page(m_cr);
}

void CPdfBookPrinter::SetSongText(const BookSong& song) {
  // Laying a text out is the costly part: a song is measured before it is
  // drawn, and only laid out once for both.
  if (m_preparedSong == &song) return;
  m_preparedSong = &song;
  PangoAttrList* attributes = pango_attr_list_new();
  std::string text = song.title.empty() ? std::string(m_words.noTitle) : song.title;
  if (song.title.empty()) {
    PangoAttribute* style = pango_attr_style_new(PANGO_STYLE_OBLIQUE);
    style->start_index = 0;
    style->end_index = static_cast<guint>(text.size());
    pango_attr_list_insert(attributes, style);
  }
  if (m_part->withSinger) {
    text += " \xE2\x80\x94 ";  // an em dash between title and singer
    std::size_t singerStart = text.size();
    const std::string& singer = m_book.singers[song.group].name;
    text += singer.empty() ? std::string(m_words.noSinger) : singer;
    PangoAttribute* grey = pango_attr_foreground_new(0x5000, 0x5000, 0x5000);
    grey->start_index = static_cast<guint>(singerStart);
    grey->end_index = static_cast<guint>(text.size());
    pango_attr_list_insert(attributes, grey);
  }
  pango_layout_set_text(m_song, text.c_str(), static_cast<int>(text.size()));
  pango_layout_set_attributes(m_song, attributes);
  pango_attr_list_unref(attributes);
}

double CPdfBookPrinter::SpaceBefore(const Block& block) const {
  if (m_y <= m_columnTop) return 0;
  switch (block.kind) {
    case BlockKind::Letter: return m_points;
    case BlockKind::Singer: return m_points * 0.6;
    case BlockKind::Song: return 0;
  }
  return 0;
}

double CPdfBookPrinter::Measure(const Block& block) {
  switch (block.kind) {
    case BlockKind::Letter: return m_points * 2 + 1;
    case BlockKind::Singer: {
      const BookGroup& group = m_book.singers[block.group];
      pango_layout_set_text(m_singer, group.name.empty() ? m_words.noSinger : group.name.c_str(), -1);
      return HeightOf(m_singer) + 3;
    }
    case BlockKind::Song:
      SetSongText(m_book.songs[block.song]);
      return HeightOf(m_song) + 1;
  }
  return 0;
}

double CPdfBookPrinter::NeededFor(const std::vector<Block>& blocks, std::size_t i) {
  double needed = SpaceBefore(blocks[i]) + Measure(blocks[i]);
  for (std::size_t next = i + 1; next < blocks.size() && blocks[next - 1].kind != BlockKind::Song; ++next) {
    needed += Measure(blocks[next]) + (blocks[next].kind == BlockKind::Singer ? m_points * 0.6 : 0);
  }
  return needed;
}

double CPdfBookPrinter::DrawSingerName(const BookGroup& group, bool continued, double x, double y) {
  std::string name = group.name.empty() ? std::string(m_words.noSinger) : group.name;
  if (continued) name += std::string(" ") + m_words.continued;
  pango_layout_set_text(m_singer, name.c_str(), -1);
  ShowAt(m_cr, m_singer, x, y);
  double bottom = y + HeightOf(m_singer) + 1;
  cairo_set_line_width(m_cr, 0.5);
  cairo_move_to(m_cr, x, bottom);
  cairo_line_to(m_cr, x + m_columnWidth, bottom);
  cairo_stroke(m_cr);
  return bottom + 2 - y;
}

void CPdfBookPrinter::Draw(const Block& block, double x, double y) {
  switch (block.kind) {
    case BlockKind::Letter: {
      const double height = m_points * 2 - 1;
      std::string destination = "name='" + DestinationName(m_part->idPrefix, *block.heading) + "'";
      cairo_tag_begin(m_cr, CAIRO_TAG_DEST, destination.c_str());
      cairo_rectangle(m_cr, x, y, m_columnWidth, height);
      cairo_set_source_rgb(m_cr, 0.13, 0.13, 0.13);
      cairo_fill(m_cr);
      cairo_set_source_rgb(m_cr, 1, 1, 1);
      pango_layout_set_text(m_letter, block.heading->label.c_str(), -1);
      ShowAt(m_cr, m_letter, x + 4, y + (height - HeightOf(m_letter)) / 2);
      cairo_set_source_rgb(m_cr, 0, 0, 0);
      cairo_tag_end(m_cr, CAIRO_TAG_DEST);
      break;
    }
    case BlockKind::Singer:
      DrawSingerName(m_book.singers[block.group], false, x, y);
      break;
    case BlockKind::Song: {
      const BookSong& song = m_book.songs[block.song];
      pango_layout_set_text(m_number, std::to_string(song.number).c_str(), -1);
      ShowAt(m_cr, m_number, x, y);
      SetSongText(song);
      ShowAt(m_cr, m_song, x + m_numberWidth + 5, y);
      break;
    }
  }
}

double CPdfBookPrinter::ColumnX() const {
  const double gap = (m_page.bodyWidth() - m_part->columns * m_columnWidth) / std::max(1, m_part->columns - 1);
  return MARGIN_SIDE + m_column * (m_columnWidth + gap);
}

void CPdfBookPrinter::StartPage() {
  ++m_pageNumber;
  m_column = 0;
  m_columnTop = BODY_TOP;
  m_y = BODY_TOP;
  m_firstHeading = m_lastHeading;
  m_bPageEmpty = true;
}

// The page number in the middle; the venue's line at the left, cut short
// with an ellipsis rather than run into the number.
void CPdfBookPrinter::DrawFooter() {
  pango_layout_set_width(m_small, -1);
  std::string number = std::to_string(m_pageNumber);
  pango_layout_set_text(m_small, number.c_str(), -1);
  ShowAt(m_cr, m_small, (m_page.width - WidthOf(m_small)) / 2, m_page.footerTop());
  if (m_book.footer.empty()) return;
  SetWidth(m_small, m_page.bodyWidth() / 2 - 20);
  pango_layout_set_ellipsize(m_small, PANGO_ELLIPSIZE_END);
  pango_layout_set_text(m_small, m_book.footer.c_str(), -1);
  ShowAt(m_cr, m_small, MARGIN_SIDE, m_page.footerTop());
  pango_layout_set_ellipsize(m_small, PANGO_ELLIPSIZE_NONE);
  pango_layout_set_width(m_small, -1);
}

void CPdfBookPrinter::FinishPage() {
  pango_layout_set_width(m_small, -1);
  pango_layout_set_text(m_small, m_part->name, -1);
  ShowAt(m_cr, m_small, MARGIN_SIDE, HEADER_TOP);
  if (m_firstHeading != nullptr) {
    std::string letters = m_firstHeading->label;
    if (*m_lastHeading != *m_firstHeading) letters += " \xE2\x80\x93 " + m_lastHeading->label;
    pango_layout_set_text(m_letter, letters.c_str(), -1);
    ShowAt(m_cr, m_letter, m_page.width - MARGIN_SIDE - WidthOf(m_letter),
           HEADER_TOP + HeightOf(m_small) - HeightOf(m_letter));
  }
  cairo_set_line_width(m_cr, 0.8);
  cairo_move_to(m_cr, MARGIN_SIDE, HEADER_TOP + HeightOf(m_small) + 4);
  cairo_line_to(m_cr, m_page.width - MARGIN_SIDE, HEADER_TOP + HeightOf(m_small) + 4);
  cairo_stroke(m_cr);
  DrawFooter();
  cairo_show_page(m_cr);
}

void CPdfBookPrinter::NextColumn() {
  if (++m_column < m_part->columns) {
    m_y = m_columnTop;
    return;
  }
  FinishPage();
  StartPage();
}

// One box a heading, in rows as wide as the page: linked where the part
// holds names under it, grey where it does not.
double CPdfBookPrinter::JumpBar(const std::vector<PartHeading>& headings, double y) {
  const double gap = 2;
  const double boxHeight = 14;
  const double narrowest = (m_page.bodyWidth() - gap * 27) / 28;
  double x = MARGIN_SIDE;
  pango_layout_set_width(m_small, -1);
  for (const PartHeading& part : headings) {
    pango_layout_set_text(m_small, part.heading.label.c_str(), -1);
    const double width = std::max(narrowest, WidthOf(m_small) + 8);
    if (x + width > m_page.width - MARGIN_SIDE + 0.5) {
      x = MARGIN_SIDE;
      y += boxHeight + gap;
    }
    if (part.present) {
      std::string link = "dest='" + DestinationName(m_part->idPrefix, part.heading) + "'";
      cairo_tag_begin(m_cr, CAIRO_TAG_LINK, link.c_str());
    }
    const double frame = part.present ? 0.45 : 0.85;
    cairo_set_line_width(m_cr, 0.6);
    cairo_set_source_rgb(m_cr, frame, frame, frame);
    cairo_rectangle(m_cr, x, y, width, boxHeight);
    cairo_stroke(m_cr);
    if (part.present) {
      cairo_set_source_rgb(m_cr, 0.07, 0.13, 0.27);
    } else {
      cairo_set_source_rgb(m_cr, 0.75, 0.75, 0.75);
    }
    ShowAt(m_cr, m_small, x + (width - WidthOf(m_small)) / 2, y + (boxHeight - HeightOf(m_small)) / 2);
    cairo_set_source_rgb(m_cr, 0, 0, 0);
    if (part.present) cairo_tag_end(m_cr, CAIRO_TAG_LINK);
    x += width + gap;
  }
  return y + boxHeight;
}

void CPdfBookPrinter::StartPart(const PartLayout& part, const std::vector<PartHeading>& headings) {
  m_part = &part;
  const double gap = part.columns > 2 ? 14 : 20;
  m_columnWidth = (m_page.bodyWidth() - gap * (part.columns - 1)) / part.columns;
  SetWidth(m_song, m_columnWidth - m_numberWidth - 5);
  m_preparedSong = nullptr;
  SetWidth(m_singer, m_columnWidth);
  m_lastHeading = nullptr;
  m_inGroup = false;
  StartPage();
  std::string destination = std::string("name='") + part.idPrefix + "part'";
  cairo_tag_begin(m_cr, CAIRO_TAG_DEST, destination.c_str());
  PangoLayout* title = NewLayout(m_cr, m_book, true, 18);
  pango_layout_set_text(title, part.name, -1);
  ShowAt(m_cr, title, MARGIN_SIDE, BODY_TOP);
  double y = BODY_TOP + HeightOf(title) + 2;
  g_object_unref(title);
  cairo_tag_end(m_cr, CAIRO_TAG_DEST);
  std::string link = std::string("dest='") + part.idPrefix + "part'";
  m_outlinePart = cairo_pdf_surface_add_outline(m_surface, CAIRO_PDF_OUTLINE_ROOT, part.name, link.c_str(),
                                                static_cast<cairo_pdf_outline_flags_t>(0));
  m_columnTop = JumpBar(headings, y + 4) + 10;
  m_y = m_columnTop;
}

void CPdfBookPrinter::PlaceBlock(const std::vector<Block>& blocks, std::size_t i) {
  const Block& block = blocks[i];
  if (m_y + NeededFor(blocks, i) > m_page.bodyBottom() && m_y > m_columnTop) {
    NextColumn();
    // A singer's songs that go on in a new column are named there again.
    if (block.kind == BlockKind::Song && m_inGroup) {
      m_y += DrawSingerName(m_book.singers[m_currentGroup], true, ColumnX(), m_y);
    }
  }
  if (block.kind == BlockKind::Letter) {
    std::string link = "dest='" + DestinationName(m_part->idPrefix, *block.heading) + "'";
    cairo_pdf_surface_add_outline(m_surface, m_outlinePart, block.heading->label.c_str(), link.c_str(),
                                  static_cast<cairo_pdf_outline_flags_t>(0));
    m_inGroup = false;
  }
  if (block.kind == BlockKind::Singer) {
    m_currentGroup = block.group;
    m_inGroup = true;
  }
  m_y += SpaceBefore(block);
  double height = Measure(block);
  Draw(block, ColumnX(), m_y);
  m_y += height;
  if (m_bPageEmpty || m_firstHeading == nullptr) m_firstHeading = block.heading;
  m_bPageEmpty = false;
  m_lastHeading = block.heading;
}

void CPdfBookPrinter::PrintPart(const PartLayout& part, const std::vector<PartHeading>& headings,
                                const std::vector<Block>& blocks) {
  StartPart(part, headings);
  for (std::size_t i = 0; i < blocks.size(); ++i) PlaceBlock(blocks, i);
  FinishPage();
}

std::vector<Block> SingerBlocks(const SongBook& book) {
  std::vector<Block> blocks;
  const LetterHeading* open = nullptr;
  for (std::size_t g = 0; g < book.singers.size(); ++g) {
    const BookGroup& group = book.singers[g];
    if (open == nullptr || *open != group.heading) blocks.push_back({BlockKind::Letter, open = &group.heading, g, 0});
    blocks.push_back({BlockKind::Singer, &group.heading, g, 0});
    for (std::size_t song : group.songs) blocks.push_back({BlockKind::Song, &group.heading, g, song});
  }
  return blocks;
}

std::vector<Block> TitleBlocks(const SongBook& book) {
  std::vector<Block> blocks;
  const LetterHeading* open = nullptr;
  for (std::size_t song : book.titles) {
    const LetterHeading& heading = book.songs[song].titleHeading;
    if (open == nullptr || *open != heading) blocks.push_back({BlockKind::Letter, open = &heading, 0, 0});
    blocks.push_back({BlockKind::Song, &heading, 0, song});
  }
  return blocks;
}

// The characters beyond ASCII that the book prints, each once.
std::vector<std::string> CharactersBeyondAscii(const SongBook& book) {
  std::set<std::string> seen;
  auto take = [&seen](const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
      const auto lead = static_cast<unsigned char>(text[i]);
      const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
      if (lead >= 0x80) seen.insert(text.substr(i, length));
      i += length;
    }
  };
  take(book.title);
  take(book.footer);
  for (const BookSong& song : book.songs) {
    take(song.title);
    take(song.singer);
  }
  return std::vector<std::string>(seen.begin(), seen.end());
}

// Pango draws a character that no font of the system has as a box: said
// with the fonts that have Korean and Japanese, which are what is missing
// where this happens.
std::string MissingFontWarning(cairo_t* cr, const SongBook& book) {
  const std::vector<std::string> characters = CharactersBeyondAscii(book);
  std::string all;
  for (const std::string& character : characters) all += character;
  PangoLayout* layout = NewLayout(cr, book, false, SongPoints(book.fontSize));
  pango_layout_set_text(layout, all.c_str(), static_cast<int>(all.size()));
  const int missing = pango_layout_get_unknown_glyphs_count(layout);
  std::string example;
  for (std::size_t i = 0; missing > 0 && example.empty() && i < characters.size(); ++i) {
    pango_layout_set_text(layout, characters[i].c_str(), static_cast<int>(characters[i].size()));
    if (pango_layout_get_unknown_glyphs_count(layout) > 0) example = characters[i];
  }
  g_object_unref(layout);
  if (missing == 0) return "";
  utf8proc_int32_t code = 0;
  utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(example.data()),
                   static_cast<utf8proc_ssize_t>(example.size()), &code);
  char codeText[16];
  std::snprintf(codeText, sizeof codeText, "U+%04X", static_cast<unsigned>(code));
  const std::string shown = std::string(codeText) + " \"" + example + "\"";
  return (missing == 1 ? "1 character of the book (" + shown + ") has no font on this system and prints as a box"
                       : std::to_string(missing) + " characters of the book (" + shown +
                             " among them) have no font on this system and print as boxes") +
         "; install a font that has " + (missing == 1 ? "it" : "them") +
         " (for Korean and Japanese: fonts-noto-cjk or fonts-nanum)";
}

}  // namespace

int WritePdfBook(const SongBook& book, const std::string& outPath, std::vector<std::string>& warnings,
                 std::string& error) {
  CAtomicFile file;
  if (!file.Create(outPath.c_str())) {
    error = "can not create \"" + outPath + "\"";
    return -1;
  }
  const PageGeometry page = GeometryOf(book.paper);
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(WriteToFile, &file, page.width, page.height);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, book.title.c_str());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "VALMERO");
  cairo_t* cr = cairo_create(surface);
  const std::string fontWarning = MissingFontWarning(cr, book);
  if (!fontWarning.empty()) warnings.push_back(fontWarning);
  {
    const BookWords& words = WordsOf(book.language);
    CPdfBookPrinter printer(surface, cr, book);
    printer.PrintTitlePage();
    printer.PrintPart({words.bySinger, "s-", 3, false}, SingerPartHeadings(book), SingerBlocks(book));
    printer.PrintPart({words.byTitle, "t-", 2, true}, TitlePartHeadings(book), TitleBlocks(book));
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    error = std::string("can not write \"") + outPath + "\": " + cairo_status_to_string(status);
    return -1;
  }
  if (!file.Commit()) {
    error = "can not write \"" + outPath + "\"";
    return -1;
  }
  return 0;
}

}  // namespace valmero
