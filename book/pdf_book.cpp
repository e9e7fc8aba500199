#include "book/pdf_book.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <set>
#include <vector>

#include "platform/atomic_file.h"

namespace valmero {

namespace {

// A4 in points.
constexpr double PAGE_WIDTH = 595.28;
constexpr double PAGE_HEIGHT = 841.89;
constexpr double MARGIN_SIDE = 40;
constexpr double BODY_TOP = 62;
constexpr double BODY_BOTTOM = PAGE_HEIGHT - 48;
constexpr double HEADER_TOP = 30;
constexpr double FOOTER_TOP = PAGE_HEIGHT - 36;
constexpr double BODY_WIDTH = PAGE_WIDTH - 2 * MARGIN_SIDE;
constexpr const char* FONT = "DejaVu Sans";

enum class BlockKind { Letter, Singer, Song };

// One thing the flow places: a letter heading, a singer's name, or a song.
struct Block {
  BlockKind kind;
  char heading;
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

PangoLayout* NewLayout(cairo_t* cr, const char* font, double size) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* description = pango_font_description_from_string(font);
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

std::string DestinationName(const char* prefix, char heading) {
  return std::string(prefix) + (heading == '#' ? std::string("num") : heading == '~' ? "other" : std::string(1, heading));
}

class CPdfBookPrinter {
 public:
  CPdfBookPrinter(cairo_surface_t* surface, cairo_t* cr, const SongBook& book);
  ~CPdfBookPrinter();
  CPdfBookPrinter(const CPdfBookPrinter&) = delete;
  CPdfBookPrinter& operator=(const CPdfBookPrinter&) = delete;

  void PrintTitlePage();
  void PrintPart(const PartLayout& part, const std::vector<Block>& blocks);

 private:
  // The part's first page: its name, the A-Z bar, and its entry in the outline.
  void StartPart(const PartLayout& part, const std::vector<Block>& blocks);
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
  void NextColumn();
  double ColumnX() const;
  double SpaceBefore(const Block& block) const;
  double JumpBar(const std::vector<Block>& blocks, double y);

  cairo_surface_t* m_surface;
  cairo_t* m_cr;
  const SongBook& m_book;
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
  int m_page = 0;
  char m_firstHeading = 0;
  char m_lastHeading = 0;
  std::size_t m_currentGroup = 0;
  bool m_inGroup = false;
  bool m_bPageEmpty = true;
  const BookSong* m_preparedSong = nullptr;
  int m_outlinePart = 0;
};

CPdfBookPrinter::CPdfBookPrinter(cairo_surface_t* surface, cairo_t* cr, const SongBook& book)
    : m_surface(surface), m_cr(cr), m_book(book) {
  m_song = NewLayout(cr, FONT, 8);
  m_number = NewLayout(cr, "DejaVu Sans Bold", 8);
  m_singer = NewLayout(cr, "DejaVu Sans Bold", 8.5);
  m_letter = NewLayout(cr, "DejaVu Sans Bold", 12);
  m_small = NewLayout(cr, FONT, 8);
  pango_layout_set_alignment(m_number, PANGO_ALIGN_RIGHT);
  // Room for the widest number of the book.
  std::size_t digits = 1;
  bool negative = false;
  for (const BookSong& song : book.songs) {
    digits = std::max(digits, std::to_string(song.number).size());
    negative = negative || song.number < 0;
  }
  std::string widest = std::string(negative ? "-" : "") + std::string(digits, '0');
  pango_layout_set_text(m_number, widest.c_str(), -1);
  m_numberWidth = WidthOf(m_number) + 1;
  SetWidth(m_number, m_numberWidth);
}

CPdfBookPrinter::~CPdfBookPrinter() {
  for (PangoLayout* layout : {m_song, m_number, m_singer, m_letter, m_small}) g_object_unref(layout);
}

void CPdfBookPrinter::PrintTitlePage() {
  ++m_page;
  const double width = BODY_WIDTH - 40;
  PangoLayout* title = NewLayout(m_cr, "DejaVu Sans Bold", 30);
  PangoLayout* line = NewLayout(m_cr, FONT, 14);
  for (PangoLayout* layout : {title, line}) {
    SetWidth(layout, width);
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  }
  pango_layout_set_text(title, m_book.title.c_str(), -1);
  double y = PAGE_HEIGHT * 0.33;
  ShowAt(m_cr, title, MARGIN_SIDE + 20, y);
  y += HeightOf(title) + 18;
  cairo_set_line_width(m_cr, 1.5);
  cairo_move_to(m_cr, PAGE_WIDTH / 2 - 80, y);
  cairo_line_to(m_cr, PAGE_WIDTH / 2 + 80, y);
  cairo_stroke(m_cr);
  y += 22;
  std::string count = std::to_string(m_book.songs.size()) + (m_book.songs.size() == 1 ? " song" : " songs");
  for (const std::string& text : {count, m_book.date, std::string(SINGER_PART_NAME) + "  \xC2\xB7  " + TITLE_PART_NAME}) {
    pango_layout_set_text(line, text.c_str(), -1);
    ShowAt(m_cr, line, MARGIN_SIDE + 20, y);
    y += HeightOf(line) + 8;
  }
  g_object_unref(title);
  g_object_unref(line);
  cairo_show_page(m_cr);
}

void CPdfBookPrinter::SetSongText(const BookSong& song) {
  // Laying a text out is the costly part: a song is measured before it is
  // drawn, and only laid out once for both.
  if (m_preparedSong == &song) return;
  m_preparedSong = &song;
  const std::string& title = song.title.empty() ? std::string(NO_TITLE_TEXT) : song.title;
  PangoAttrList* attributes = pango_attr_list_new();
  std::string text = title;
  if (song.title.empty()) {
    PangoAttribute* style = pango_attr_style_new(PANGO_STYLE_OBLIQUE);
    style->start_index = 0;
    style->end_index = static_cast<guint>(text.size());
    pango_attr_list_insert(attributes, style);
  }
  if (m_part->withSinger) {
    text += " \xE2\x80\x94 ";  // an em dash between title and singer
    std::size_t singerStart = text.size();
    text += song.singer.empty() ? std::string(NO_SINGER_TEXT) : song.singer;
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
    case BlockKind::Letter: return 8;
    case BlockKind::Singer: return 5;
    case BlockKind::Song: return 0;
  }
  return 0;
}

double CPdfBookPrinter::Measure(const Block& block) {
  switch (block.kind) {
    case BlockKind::Letter: return 17;
    case BlockKind::Singer: {
      const BookGroup& group = m_book.singers[block.group];
      pango_layout_set_text(m_singer, group.name.empty() ? NO_SINGER_TEXT : group.name.c_str(), -1);
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
    needed += Measure(blocks[next]) + (blocks[next].kind == BlockKind::Singer ? 5 : 0);
  }
  return needed;
}

double CPdfBookPrinter::DrawSingerName(const BookGroup& group, bool continued, double x, double y) {
  std::string name = group.name.empty() ? std::string(NO_SINGER_TEXT) : group.name;
  if (continued) name += " (continued)";
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
      std::string destination = "name='" + DestinationName(m_part->idPrefix, block.heading) + "'";
      cairo_tag_begin(m_cr, CAIRO_TAG_DEST, destination.c_str());
      cairo_rectangle(m_cr, x, y, m_columnWidth, 15);
      cairo_set_source_rgb(m_cr, 0.13, 0.13, 0.13);
      cairo_fill(m_cr);
      cairo_set_source_rgb(m_cr, 1, 1, 1);
      pango_layout_set_text(m_letter, HeadingLabel(block.heading).c_str(), -1);
      ShowAt(m_cr, m_letter, x + 4, y + (15 - HeightOf(m_letter)) / 2);
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
  const double gap = (BODY_WIDTH - m_part->columns * m_columnWidth) / std::max(1, m_part->columns - 1);
  return MARGIN_SIDE + m_column * (m_columnWidth + gap);
}

void CPdfBookPrinter::StartPage() {
  ++m_page;
  m_column = 0;
  m_columnTop = BODY_TOP;
  m_y = BODY_TOP;
  m_firstHeading = m_lastHeading;
  m_bPageEmpty = true;
}

void CPdfBookPrinter::FinishPage() {
  pango_layout_set_width(m_small, -1);
  pango_layout_set_text(m_small, m_part->name, -1);
  ShowAt(m_cr, m_small, MARGIN_SIDE, HEADER_TOP);
  std::string letters = HeadingLabel(m_firstHeading);
  if (m_lastHeading != m_firstHeading) letters += " \xE2\x80\x93 " + HeadingLabel(m_lastHeading);
  pango_layout_set_text(m_letter, letters.c_str(), -1);
  ShowAt(m_cr, m_letter, PAGE_WIDTH - MARGIN_SIDE - WidthOf(m_letter), HEADER_TOP + HeightOf(m_small) -
                                                                            HeightOf(m_letter));
  cairo_set_line_width(m_cr, 0.8);
  cairo_move_to(m_cr, MARGIN_SIDE, HEADER_TOP + HeightOf(m_small) + 4);
  cairo_line_to(m_cr, PAGE_WIDTH - MARGIN_SIDE, HEADER_TOP + HeightOf(m_small) + 4);
  cairo_stroke(m_cr);
  std::string number = std::to_string(m_page);
  pango_layout_set_text(m_small, number.c_str(), -1);
  ShowAt(m_cr, m_small, (PAGE_WIDTH - WidthOf(m_small)) / 2, FOOTER_TOP);
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

double CPdfBookPrinter::JumpBar(const std::vector<Block>& blocks, double y) {
  std::set<char> present;
  for (const Block& block : blocks) {
    if (block.kind == BlockKind::Letter) present.insert(block.heading);
  }
  const std::vector<char>& headings = AllHeadings();
  const double gap = 2;
  double x = MARGIN_SIDE;
  const double box = (BODY_WIDTH - gap * (headings.size() - 1) - 20) / headings.size();
  for (char heading : headings) {
    std::string label = HeadingLabel(heading);
    double width = label.size() > 1 ? box + 20 : box;
    bool linked = present.count(heading) > 0;
    if (linked) {
      std::string link = "dest='" + DestinationName(m_part->idPrefix, heading) + "'";
      cairo_tag_begin(m_cr, CAIRO_TAG_LINK, link.c_str());
    }
    cairo_set_line_width(m_cr, 0.6);
    cairo_set_source_rgb(m_cr, linked ? 0.45 : 0.85, linked ? 0.45 : 0.85, linked ? 0.45 : 0.85);
    cairo_rectangle(m_cr, x, y, width, 14);
    cairo_stroke(m_cr);
    cairo_set_source_rgb(m_cr, linked ? 0.07 : 0.75, linked ? 0.13 : 0.75, linked ? 0.27 : 0.75);
    pango_layout_set_width(m_small, -1);
    pango_layout_set_text(m_small, label.c_str(), -1);
    ShowAt(m_cr, m_small, x + (width - WidthOf(m_small)) / 2, y + (14 - HeightOf(m_small)) / 2);
    cairo_set_source_rgb(m_cr, 0, 0, 0);
    if (linked) cairo_tag_end(m_cr, CAIRO_TAG_LINK);
    x += width + gap;
  }
  return y + 14;
}

void CPdfBookPrinter::StartPart(const PartLayout& part, const std::vector<Block>& blocks) {
  m_part = &part;
  const double gap = part.columns > 2 ? 14 : 20;
  m_columnWidth = (BODY_WIDTH - gap * (part.columns - 1)) / part.columns;
  SetWidth(m_song, m_columnWidth - m_numberWidth - 5);
  m_preparedSong = nullptr;
  SetWidth(m_singer, m_columnWidth);
  m_lastHeading = blocks.empty() ? '#' : blocks.front().heading;
  m_inGroup = false;
  StartPage();
  std::string destination = std::string("name='") + part.idPrefix + "part'";
  cairo_tag_begin(m_cr, CAIRO_TAG_DEST, destination.c_str());
  PangoLayout* title = NewLayout(m_cr, "DejaVu Sans Bold", 18);
  pango_layout_set_text(title, part.name, -1);
  ShowAt(m_cr, title, MARGIN_SIDE, BODY_TOP);
  double y = BODY_TOP + HeightOf(title) + 2;
  g_object_unref(title);
  cairo_tag_end(m_cr, CAIRO_TAG_DEST);
  std::string link = std::string("dest='") + part.idPrefix + "part'";
  m_outlinePart = cairo_pdf_surface_add_outline(m_surface, CAIRO_PDF_OUTLINE_ROOT, part.name, link.c_str(),
                                                static_cast<cairo_pdf_outline_flags_t>(0));
  m_columnTop = JumpBar(blocks, y + 4) + 10;
  m_y = m_columnTop;
}

void CPdfBookPrinter::PlaceBlock(const std::vector<Block>& blocks, std::size_t i) {
  const Block& block = blocks[i];
  if (m_y + NeededFor(blocks, i) > BODY_BOTTOM && m_y > m_columnTop) {
    NextColumn();
    // A singer's songs that go on in a new column are named there again.
    if (block.kind == BlockKind::Song && m_inGroup) {
      m_y += DrawSingerName(m_book.singers[m_currentGroup], true, ColumnX(), m_y);
    }
  }
  if (block.kind == BlockKind::Letter) {
    std::string label = HeadingLabel(block.heading);
    std::string link = "dest='" + DestinationName(m_part->idPrefix, block.heading) + "'";
    cairo_pdf_surface_add_outline(m_surface, m_outlinePart, label.c_str(), link.c_str(),
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
  if (m_bPageEmpty) m_firstHeading = block.heading;
  m_bPageEmpty = false;
  m_lastHeading = block.heading;
}

void CPdfBookPrinter::PrintPart(const PartLayout& part, const std::vector<Block>& blocks) {
  StartPart(part, blocks);
  for (std::size_t i = 0; i < blocks.size(); ++i) PlaceBlock(blocks, i);
  FinishPage();
}

std::vector<Block> SingerBlocks(const SongBook& book) {
  std::vector<Block> blocks;
  char open = 0;
  for (std::size_t g = 0; g < book.singers.size(); ++g) {
    const BookGroup& group = book.singers[g];
    if (group.heading != open) blocks.push_back({BlockKind::Letter, open = group.heading, g, 0});
    blocks.push_back({BlockKind::Singer, group.heading, g, 0});
    for (std::size_t song : group.songs) blocks.push_back({BlockKind::Song, group.heading, g, song});
  }
  return blocks;
}

std::vector<Block> TitleBlocks(const SongBook& book) {
  std::vector<Block> blocks;
  char open = 0;
  for (std::size_t song : book.titles) {
    char heading = book.songs[song].titleHeading;
    if (heading != open) blocks.push_back({BlockKind::Letter, open = heading, 0, 0});
    blocks.push_back({BlockKind::Song, heading, 0, song});
  }
  return blocks;
}

}  // namespace

int WritePdfBook(const SongBook& book, const std::string& outPath, std::string& error) {
  CAtomicFile file;
  if (!file.Create(outPath.c_str())) {
    error = "can not create \"" + outPath + "\"";
    return -1;
  }
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(WriteToFile, &file, PAGE_WIDTH, PAGE_HEIGHT);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, book.title.c_str());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "VALMERO");
  cairo_t* cr = cairo_create(surface);
  {
    CPdfBookPrinter printer(surface, cr, book);
    printer.PrintTitlePage();
    printer.PrintPart({SINGER_PART_NAME, "s-", 3, false}, SingerBlocks(book));
    printer.PrintPart({TITLE_PART_NAME, "t-", 2, true}, TitleBlocks(book));
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
