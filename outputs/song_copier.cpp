#include "outputs/song_copier.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/file_copy.h"
#include "platform/files.h"

namespace valmero {

namespace {

constexpr const char* COPY_TEXT_FORMAT = "copying file : from '%s' \n\tto '%s' \n\n\tnow transferring %d/%d";

bool IsSingleFileKind(int32_t kind) { return kind == KIND_IPS || kind == KIND_MCG; }

// printf into a std::string, so that a name too long for a path buffer can
// still be shown and logged in full.
std::string FormatName(const char* format, const char* folder, int number) {
  char name[PATH_SIZE + 32];
  std::snprintf(name, sizeof name, format, folder, number);
  return name;
}

// "FOLDER/BASE.MCG" beside the song file; the base name is the file name
// without the extension (a dot in a folder name is not an extension).
std::string CompanionPath(const char* songPath) {
  const char* slash = std::strrchr(songPath, '/');
  const char* name = slash == nullptr ? songPath : slash + 1;
  const char* dot = std::strrchr(name, '.');
  const char* end = dot == nullptr ? name + std::strlen(name) : dot;
  return std::string(songPath, static_cast<std::size_t>(end - songPath)) + ".MCG";
}

// A failed copy costs the user one song, not the whole collection: it is
// logged and the run goes on.
void CopyOneFile(const std::string& source, const std::string& destination) {
  bool copied = source.size() < PATH_SIZE && destination.size() < PATH_SIZE &&
                CopyFileReplacing(source.c_str(), destination.c_str()) == 0;
  if (!copied) {
    TraceLastError("copy");
    LogMessage("can not copy \"%s\" to \"%s\"", source.c_str(), destination.c_str());
  }
}

// The companion's name is formed in capitals; on a file system that tells
// case apart, 00042.mcg beside 00042.mp3 is the same companion.
std::string ExistingCompanion(const std::string& formed, CFileFinder& finder) {
  std::string found = formed.size() < PATH_SIZE ? finder.Find(formed.c_str()) : std::string();
  return found.empty() ? formed : found;
}

// Steps the bar and gives the user the chance to cancel; true to go on.
bool StepAndPump(IProgressPopup& popup) {
  popup.StepIt();
  popup.PumpMessages(true);
  return !popup.IsCancelled();
}

}  // namespace

void CopySongsToTarget(const SongList& songs, const char* target, IRunHost& host) {
  // Nothing to copy and no first song to size the bar by: no popup at all.
  if (songs.empty()) return;

  const int count = static_cast<int>(songs.size());
  const int files = IsSingleFileKind(songs.front()->kind) ? count : 2 * count;
  std::unique_ptr<IProgressPopup> popup = host.CreateProgressPopup(PROGRESS_TITLE, false);
  popup->SetRange(0, files, 1);

  CFileFinder finder;
  bool cancelled = false;
  for (int i = 0; i < count && !cancelled; ++i) {
    const SongRecord& song = *songs[static_cast<std::size_t>(i)];
    if (IsSingleFileKind(song.kind)) {
      const char* format = song.kind == KIND_IPS ? "%s/%05d-IPS.MP3" : "%s/%05d-MCG.MP3";
      std::string destination = FormatName(format, target, song.newNumber);
      SetProgressText(*popup, COPY_TEXT_FORMAT, song.path, destination.c_str(), i + 1, count);
      CopyOneFile(song.path, destination);
    } else {
      std::string companion = CompanionPath(song.path);
      std::string songDestination = FormatName("%s/%05d.MP3", target, song.newNumber);
      std::string companionDestination = FormatName("%s/%05d.MCG", target, song.newNumber);
      SetProgressText(*popup, COPY_TEXT_FORMAT, song.path, songDestination.c_str(), 2 * i + 1, 2 * count);
      CopyOneFile(song.path, songDestination);
      if (!StepAndPump(*popup)) {
        cancelled = true;
        break;
      }
      SetProgressText(*popup, COPY_TEXT_FORMAT, companion.c_str(), companionDestination.c_str(), 2 * i + 2,
                      2 * count);
      CopyOneFile(ExistingCompanion(companion, finder), companionDestination);
    }
    cancelled = !StepAndPump(*popup);
  }

  if (cancelled) host.ShowCancelled(CANCELLED_TEXT);
}

}  // namespace valmero
