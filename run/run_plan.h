// What one run does: which reader takes the source, which outputs it writes,
// whether it renumbers and copies. The dialog's boxes and the command line's
// options are parsed into it; the run, the check, the preview and the song
// book ask it the same questions, so that none of them can tell another
// story of what a run does.
#pragma once

#include <string>

namespace valmero {

// ENGLISH.KVX with new numbers 1..n (and the songs copied under them), with
// the songs' own numbers, or none.
enum class IndexMode { Renumber, Keep, None };

struct RunPlan {
  // The two source boxes; the dialog keeps exactly one on. With both, the
  // download folder is read; with neither, nothing is.
  bool sourceDownload = true;
  bool sourceDisc = false;
  IndexMode index = IndexMode::Renumber;
  bool listFile = false;        // LIST.TXT
  bool configRenumber = false;  // SCDG.CFG with the new numbers
  bool configKeep = false;      // SCDG.CFG with the songs' own numbers
  bool copyAll = false;         // every song copied under its number
  bool jukeList = false;        // the scan passes over songs without title and singer

  bool ScansDownloadFolder() const { return sourceDownload; }
  bool ReadsSonglist() const { return !sourceDownload && sourceDisc; }
  bool ReadsSource() const { return sourceDownload || sourceDisc; }
  bool Renumbers() const { return index == IndexMode::Renumber; }
  bool KeepsNumbers() const { return index == IndexMode::Keep; }
  bool WritesIndex() const { return index != IndexMode::None; }
  bool WritesList() const { return listFile; }
  bool WritesConfig() const { return configRenumber || configKeep; }
  // Renumbering copies the songs too: the index names them by new numbers.
  bool Copies() const { return copyAll || Renumbers(); }
  // True when any output carries the songs' numbers.
  bool WritesNumbers() const { return WritesIndex() || WritesList() || WritesConfig() || Copies(); }
};

// "renumber", "keep", "none"; false for any other word.
bool ParseIndexMode(const std::string& word, IndexMode& mode);

}  // namespace valmero
