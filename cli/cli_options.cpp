#include "cli/cli_options.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <iterator>
#include <set>

#include "core/song_record.h"
#include "platform/absolute_path.h"
#include "platform/path_separator.h"
#include "platform/text_conversion.h"
#include "run/target_rule.h"

namespace valmero {

namespace {

// The options of one command line that took a value: one given twice is no
// choice between the two ("--target A --target B").
using GivenOptions = std::set<std::string>;

// Takes "--name VALUE" or "--name=VALUE".
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name, std::string& value,
               GivenOptions& given, std::string& error) {
  if (!given.insert(name).second) {
    error = name + " is given twice";
    return false;
  }
  const std::string& arg = args[i];
  if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
    value = arg.substr(name.size() + 1);
  } else if (i + 1 < args.size()) {
    value = args[++i];
  } else {
    error = name + " needs a value";
    return false;
  }
  if (value.empty()) {
    error = name + " needs a value";
    return false;
  }
  return true;
}

// --index renumber|keep, and none where a run may write no index; straight
// into the plan.
bool TakeIndexMode(const std::vector<std::string>& args, std::size_t& i, bool noneAllowed, RunPlan& plan,
                   GivenOptions& given, std::string& error) {
  std::string word;
  if (!TakeValue(args, i, "--index", word, given, error)) return false;
  if (!ParseIndexMode(word, plan.index) || (!noneAllowed && plan.index == IndexMode::None)) {
    error = std::string("--index takes ") + (noneAllowed ? "renumber, keep or none" : "renumber or keep") + ", not '" +
            word + "'";
    return false;
  }
  return true;
}

// --download or --disc: the kind of source.
bool TakeSourceKind(const std::string& arg, bool& downloadGiven, RunPlan& plan) {
  if (arg == "--download") {
    downloadGiven = true;
  } else if (arg == "--disc") {
    plan.sourceDownload = false;
    plan.sourceDisc = true;
  } else {
    return false;
  }
  return true;
}

bool IsOption(const std::string& arg, const std::string& name) {
  return arg == name || arg.compare(0, name.size() + 1, name + "=") == 0;
}

// The book's settings other than its file.
const char* const BOOK_OPTIONS[] = {"--title", "--encoding", "--footer", "--paper", "--font-size", "--language"};

bool IsBookOption(const std::string& arg, const std::string& fileOption) {
  if (arg == "--keep-the" || IsOption(arg, fileOption)) return true;
  for (const char* option : BOOK_OPTIONS) {
    if (IsOption(arg, option)) return true;
  }
  return false;
}

bool OneOf(const std::string& value, std::initializer_list<const char*> allowed) {
  for (const char* name : allowed) {
    if (value.size() == std::string(name).size() &&
        std::equal(value.begin(), value.end(), name, [](char a, char b) { return std::tolower(a) == std::tolower(b); })) {
      return true;
    }
  }
  return false;
}

// The book's file under the name `fileOption`, and its settings.
bool TakeBookOption(const std::vector<std::string>& args, std::size_t& i, const std::string& fileOption,
                    CliRequest& request, GivenOptions& given, std::string& error) {
  const std::string& arg = args[i];
  if (arg == "--keep-the") {
    request.keepThe = true;
    return true;
  }
  if (IsOption(arg, fileOption)) return TakeValue(args, i, fileOption, request.bookFile, given, error);
  std::string* const values[] = {&request.bookTitle, &request.bookEncoding, &request.bookFooter,
                                 &request.bookPaper, &request.bookFontSize, &request.bookLanguage};
  for (std::size_t option = 0; option < std::size(BOOK_OPTIONS); ++option) {
    if (!IsOption(arg, BOOK_OPTIONS[option])) continue;
    if (!TakeValue(args, i, BOOK_OPTIONS[option], *values[option], given, error)) return false;
    if (values[option] == &request.bookPaper && !OneOf(request.bookPaper, {"A4", "Letter"})) {
      error = "--paper takes A4 or Letter, not '" + request.bookPaper + "'";
      return false;
    }
    if (values[option] == &request.bookFontSize && !OneOf(request.bookFontSize, {"small", "medium", "large"})) {
      error = "--font-size takes small, medium or large, not '" + request.bookFontSize + "'";
      return false;
    }
    if (values[option] == &request.bookLanguage &&
        !OneOf(request.bookLanguage, {"en", "ko", "ja", "english", "korean", "japanese"})) {
      error = "--language takes en, ko or ja, not '" + request.bookLanguage + "'";
      return false;
    }
    return true;
  }
  error = "unknown option '" + arg + "'";
  return false;
}

bool HasBookSettings(const CliRequest& request) {
  return !request.bookTitle.empty() || !request.bookEncoding.empty() || !request.bookFooter.empty() ||
         !request.bookPaper.empty() || !request.bookFontSize.empty() || !request.bookLanguage.empty() ||
         request.keepThe;
}

// book --source PATH [--download | --disc] [--index renumber|keep] --out FILE
//      [the book's settings]
bool ParseBook(const std::vector<std::string>& args, CliRequest& request, std::string& error) {
  GivenOptions given;
  bool download = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsOption(arg, "--source")) {
      if (!TakeValue(args, i, "--source", request.source, given, error)) return false;
    } else if (IsOption(arg, "--index")) {
      if (!TakeIndexMode(args, i, false, request.plan, given, error)) return false;
    } else if (TakeSourceKind(arg, download, request.plan)) {
      continue;
    } else if (IsBookOption(arg, "--out")) {
      if (!TakeBookOption(args, i, "--out", request, given, error)) return false;
    } else {
      error = "unknown option '" + arg + "'";
      return false;
    }
  }
  if (request.source.empty() || request.bookFile.empty()) {
    error = "book needs --source PATH and --out FILE";
    return false;
  }
  if (download && request.plan.sourceDisc) {
    error = "--download and --disc exclude each other";
    return false;
  }
  return true;
}

// make and check take the same options; check also --json, and needs no target.
bool ParseRunOptions(const std::vector<std::string>& args, CliRequest& request, std::string& error) {
  const bool check = request.command == CliCommand::Check;
  const std::string command = check ? "check" : "make";
  GivenOptions given;
  bool download = false;
  bool targetGiven = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsOption(arg, "--source")) {
      if (!TakeValue(args, i, "--source", request.source, given, error)) return false;
    } else if (IsOption(arg, "--target")) {
      if (!TakeValue(args, i, "--target", request.target, given, error)) return false;
      targetGiven = true;
    } else if (IsOption(arg, "--index")) {
      if (!TakeIndexMode(args, i, true, request.plan, given, error)) return false;
    } else if (arg == "--subfolder") {
      request.subfolder = true;
    } else if (TakeSourceKind(arg, download, request.plan)) {
      continue;
    } else if (arg == "--list") {
      request.plan.listFile = true;
    } else if (arg == "--config-renumber") {
      request.plan.configRenumber = true;
    } else if (arg == "--config-keep") {
      request.plan.configKeep = true;
    } else if (arg == "--copy-all") {
      request.plan.copyAll = true;
    } else if (arg == "--verify") {
      request.verify = true;
    } else if (check && arg == "--json") {
      request.json = true;
    } else if (check && arg == "--all") {
      request.all = true;
    } else if (check && IsOption(arg, "--encoding")) {
      if (!TakeValue(args, i, "--encoding", request.checkEncoding, given, error)) return false;
      CTextConverter converter;
      if (!converter.Open(request.checkEncoding.c_str())) {
        error = "unknown encoding '" + request.checkEncoding + "' (for example CP1252, CP949, SHIFT_JIS, UTF-8)";
        return false;
      }
    } else if (!check && IsBookOption(arg, "--book")) {
      if (!TakeBookOption(args, i, "--book", request, given, error)) return false;
    } else {
      error = "unknown option '" + arg + "'";
      return false;
    }
  }
  if (request.source.empty()) {
    error = command + " needs --source PATH";
    return false;
  }
  if (download && request.plan.sourceDisc) {
    error = "--download and --disc exclude each other";
    return false;
  }
  if (targetGiven && request.subfolder) {
    error = "--target and --subfolder exclude each other";
    return false;
  }
  if (!check && !targetGiven && !request.subfolder) {
    error = "make needs either --target DIR or --subfolder";
    return false;
  }
  if (request.bookFile.empty() && HasBookSettings(request)) {
    error = "--title, --footer, --encoding and the other book settings belong to --book FILE";
    return false;
  }
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CliRequest& request, std::string& error) {
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  const std::string& command = args[0];
  // "/?" is how Windows programs are asked for their help.
  if (command == "--help" || command == "-h" || command == "help" || command == "/?") {
    request.command = CliCommand::Help;
    return args.size() == 1 || (error = "--help takes no arguments", false);
  }
  if (command == "--version") {
    request.command = CliCommand::Version;
    return args.size() == 1 || (error = "--version takes no arguments", false);
  }
  if (command == "make") {
    request.command = CliCommand::Make;
    return ParseRunOptions(args, request, error);
  }
  if (command == "check") {
    request.command = CliCommand::Check;
    return ParseRunOptions(args, request, error);
  }
  if (command == "book") {
    request.command = CliCommand::Book;
    return ParseBook(args, request, error);
  }
  if (command == "inspect") {
    request.command = CliCommand::Inspect;
    if (args.size() != 2 || args[1].empty()) {
      error = "inspect takes one file: valmero-cli inspect FILE";
      return false;
    }
    request.inspectFile = args[1];
    return true;
  }
  error = "unknown command '" + command + "'";
  return false;
}

namespace {

}  // namespace

void MakePathsAbsolute(CliRequest& request) {
  request.source = AbsolutePath(request.source);
  request.target = AbsolutePath(request.target);
}

std::string ResolveTarget(const CliRequest& request, std::string& error) {
  if (!request.subfolder) {
    if (request.command == CliCommand::Check && request.target.empty()) return {};
    if (request.target.size() >= PATH_SIZE) {
      error = "the target path is longer than 259 characters";
      return {};
    }
    return request.target;
  }
  std::string target = SubfolderTarget(request.source.c_str(), request.plan.ReadsSonglist());
  // "/KVX" alone would put the output at the root of the file system.
  if (target.empty() || target == VALMERO_SEP "KVX") {
    error = "cannot form a KVX sub-folder from '" + request.source + "'; give --target DIR";
    return {};
  }
  return target;
}

const char* UsageText() {
  return "usage:\n"
         "  valmero-cli make --source PATH [--target DIR | --subfolder] [--download | --disc]\n"
         "                   [--index renumber|keep|none] [--list] [--config-renumber]\n"
         "                   [--config-keep] [--copy-all] [--verify] [--book FILE [the book's settings]]\n"
         "  valmero-cli check --source PATH [--target DIR | --subfolder] [the options of make]\n"
         "                    [--encoding NAME] [--all] [--json]\n"
         "  valmero-cli book --source PATH [--download | --disc] [--index renumber|keep] --out FILE\n"
         "                   [--title TEXT] [--footer TEXT] [--encoding NAME] [--language en|ko|ja]\n"
         "                   [--paper A4|Letter] [--font-size small|medium|large] [--keep-the]\n"
         "  valmero-cli inspect FILE\n"
         "  valmero-cli --help | --version\n"
         "\n"
         "make turns a song collection into what a karaoke player reads:\n"
         "  --source PATH        a folder of downloaded MP3 files, or with --disc a songlist text file\n"
         "  --target DIR         the folder to write into (created when missing, one level)\n"
         "  --subfolder          write into a folder KVX beside the songlist file or inside the folder\n"
         "  --download           the source is a download folder (the default)\n"
         "  --disc               the source is a songlist file with NUMBER.mp3 and NUMBER.mcg beside it\n"
         "  --index renumber     write ENGLISH.KVX with new numbers 1..n and copy the songs (the default)\n"
         "  --index keep         write ENGLISH.KVX with the songs' own numbers\n"
         "  --index none         write no ENGLISH.KVX\n"
         "  --list               write LIST.TXT\n"
         "  --config-renumber    write SCDG.CFG with the new numbers\n"
         "  --config-keep        write SCDG.CFG with the songs' own numbers\n"
         "  --copy-all           copy every song into the target under its number\n"
         "  --verify             compare every byte of the copies already in the target with their\n"
         "                       songs, not only their size and date (for a stick that may be damaged)\n"
         "  --book FILE          after the run, write its song book (see book)\n"
         "The activity log mirqlog.txt is written in the current directory, and products.cp is read\n"
         "from there. A summary ends on standard error. Exit status: 0 finished and everything done,\n"
         "1 the run failed (see the log), 2 a usage error, 3 finished but some files could not be\n"
         "copied or SCDG.CFG could not be written, 130 cancelled with Ctrl-C, 143 with SIGTERM.\n"
         "\n"
         "check reads the source exactly as make would and reports the songs it would drop and why,\n"
         "texts it would cut, numbers the player cannot show, and with a target the files it would\n"
         "replace, old numbered song files left there and the space needed. It writes nothing and\n"
         "leaves mirqlog.txt alone. --encoding NAME: the code page of the titles and singers (default\n"
         "CP1252), shown in UTF-8; texts that do not look like it are reported. --all lists every title\n"
         "and singer the index cuts, not the first few of each. --json prints one JSON object with\n"
         "every finding. Exit status: 0 nothing to report, 3 something reported, 1 the source cannot be\n"
         "read (make would fail) or the run would take no song from it, 2 a usage error.\n"
         "\n"
         "book writes a printable song book, by singer and by title, with the numbers a make\n"
         "with the same options gives; it writes nothing else and leaves the log alone:\n"
         "  --out FILE           FILE.html: one page for any browser; FILE.pdf: a PDF (where built with Cairo)\n"
         "  --title TEXT         the book's title (default \"Karaoke Song Book\")\n"
         "  --footer TEXT        the venue's line, on the title page and at the foot of every page\n"
         "  --encoding NAME      the code page of the tags and songlists (default CP1252; CP949, SHIFT_JIS,\n"
         "                       UTF-8 ...); a warning says when the texts do not look like it\n"
         "  --language en|ko|ja  the book's own words and headings (default: by the encoding, CP949 Korean,\n"
         "                       SHIFT_JIS Japanese); Korean heads Hangul by initial consonant, Japanese kana by row\n"
         "  --paper A4|Letter    the printed page (default A4)\n"
         "  --font-size SIZE     small (8 pt, the default), medium (9.5 pt) or large (11 pt)\n"
         "  --keep-the           list \"The Beatles\" as written, under T (default: \"Beatles, The\" under B)\n"
         "Songs a guest cannot key in (a number below 1 or over 99999, or neither title nor singer)\n"
         "are left out and counted on the title page; a song listed twice with the same number,\n"
         "title and singer is listed once.\n"
         "inspect checks an ENGLISH.KVX and prints its singers and titles.\n";
}

}  // namespace valmero
