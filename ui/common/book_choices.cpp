#include "ui/common/book_choices.h"

namespace valmero {

namespace {

const struct {
  const char* name;
  const char* label;
} CODE_PAGES[] = {
    {"CP1252", "Western European (CP1252)"},  {"CP1250", "Central European (CP1250)"},
    {"CP1251", "Cyrillic (CP1251)"},          {"CP1253", "Greek (CP1253)"},
    {"CP1254", "Turkish (CP1254)"},           {"CP1257", "Baltic (CP1257)"},
    {"CP949", "Korean (CP949)"},              {"CP932", "Japanese (CP932, Shift-JIS)"},
    {"CP936", "Chinese, simplified (CP936)"}, {"CP950", "Chinese, traditional (CP950)"},
    {"CP874", "Thai (CP874)"},                {"UTF-8", "Unicode (UTF-8)"},
};

const char* const ENGLISH_DEFAULT_TITLE = "Karaoke Song Book";

}  // namespace

std::vector<BookCodePage> BookCodePages(const std::string& systemCodePage) {
  std::vector<BookCodePage> pages;
  bool listed = systemCodePage.empty();
  for (const auto& page : CODE_PAGES) {
    pages.push_back({page.name, page.label});
    listed = listed || systemCodePage == page.name;
  }
  if (!listed) pages.insert(pages.begin(), {systemCodePage, "This system's (" + systemCodePage + ")"});
  return pages;
}

BookChoices InitialBookChoices(const std::string& systemCodePage, PaperSize localePaper) {
  BookChoices choices;
  choices.title = ENGLISH_DEFAULT_TITLE;
  choices.codePages = BookCodePages(systemCodePage);
  for (std::size_t i = 0; i < choices.codePages.size(); ++i) {
    if (systemCodePage == choices.codePages[i].name) choices.codePage = i;
  }
  choices.pdfOffered = CanWritePdfBooks();
  choices.paper = localePaper;
  return choices;
}

BookSettings SettingsOfChoices(const BookChoices& choices) {
  BookSettings settings;
  if (choices.codePage < choices.codePages.size()) settings.encoding = choices.codePages[choices.codePage].name;
  // Empty: the title in the book's own language.
  if (choices.title != ENGLISH_DEFAULT_TITLE) settings.title = choices.title;
  settings.footer = choices.footer;
  settings.paper = choices.paper;
  settings.fontSize = choices.fontSize;
  return settings;
}

std::string BookWrittenText(const std::string& shownPath, const BookOutcome& outcome) {
  std::string text = "The song book is written to\n" + shownPath + "\n\n" +
                     SongCountText(BookLanguage::English, outcome.listed) + " listed.";
  const LeftOutSongs& left = outcome.leftOut;
  if (left.withoutNumber > 0) text += "\n" + WithoutNumberText(BookLanguage::English, left.withoutNumber) + ".";
  if (left.withoutTexts > 0) text += "\n" + WithoutTextsText(BookLanguage::English, left.withoutTexts) + ".";
  for (const std::string& warning : outcome.warnings) text += "\n\nWarning: " + warning + ".";
  return text;
}

}  // namespace valmero
