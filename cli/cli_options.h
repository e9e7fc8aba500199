// cli/: valmero-cli, a thin front end: this command line, parsed straight
// into a RunPlan, then make, check, book and inspect on the terminal host.
#pragma once

#include <string>
#include <vector>

#include "run/run_plan.h"

namespace valmero {

enum class CliCommand { Make, Check, Book, Inspect, Help, Version };

struct CliRequest {
  CliCommand command = CliCommand::Help;
  std::string source;
  std::string target;
  bool subfolder = false;
  // What make does, check looks at and book reads: the options parsed straight into it.
  RunPlan plan;
  bool verify = false;  // make: copies in the target are compared byte by byte, not by size and date
  bool json = false;  // check: one JSON object instead of text
  std::string inspectFile;
  // The song book: `book --out FILE`, or `make --book FILE` after the run.
  std::string bookFile;
  std::string bookTitle;
  std::string bookEncoding;
  std::string bookFooter;    // the venue's line
  std::string bookPaper;     // A4 or Letter
  std::string bookFontSize;  // small, medium or large
  std::string bookLanguage;  // en, ko or ja; else from the encoding
  bool keepThe = false;      // "The Beatles" stays under T
  // check: the code page of the collection's texts, and every finding of a
  // kind rather than the first few
  std::string checkEncoding;
  bool all = false;
};

// Parses the arguments after the program name. False with a message in
// `error` when they are not a valid command line.
bool ParseCommandLine(const std::vector<std::string>& args, CliRequest& request, std::string& error);

// Makes --source and --target absolute against the current directory, so
// that the run, its log and the folder rules see the path a folder chooser
// would give ("list.txt" alone would otherwise look for its songs at the
// root of the file system).
void MakePathsAbsolute(CliRequest& request);

// The target folder of a make or check request: --target, or the KVX
// sub-folder of the source. Empty with a message when none can be had (a
// check without either has no target and no message).
std::string ResolveTarget(const CliRequest& request, std::string& error);

const char* UsageText();

}  // namespace valmero
