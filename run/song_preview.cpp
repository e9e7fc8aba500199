#include "run/song_preview.h"

#include "core/null_run_host.h"
#include "log/activity_log.h"
#include "outputs/ordering.h"
#include "sources/download_scan.h"
#include "sources/songlist_reader.h"

namespace valmero {

void PreviewSongs(const char* startDir, const std::string& source, const RunPlan& plan, SongPreview& preview) {
  CNullHost quietHost;
  PreviewSongs(startDir, source, plan, preview, quietHost);
}

void PreviewSongs(const char* startDir, const std::string& source, const RunPlan& plan, SongPreview& preview,
                  IRunHost& quietHost) {
  CLogSilence quietLog;
  TagScratch scratch = {};
  ClearTagFields(scratch);
  preview.catalogue.ReadCatalogue(startDir);
  preview.readResult =
      plan.ReadsSonglist() ? ReadSonglistFile(source.c_str(), preview.songs, quietHost)
                           : ScanDownloadFolder(source.c_str(), plan.jukeList, preview.catalogue, scratch,
                                                preview.songs, quietHost);
  if (preview.readResult < 0) return;
  SortByNumber(preview.songs);
  if (plan.Renumbers()) RenumberSongs(preview.songs);
}

}  // namespace valmero
