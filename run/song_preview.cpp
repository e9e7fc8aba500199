#include "run/song_preview.h"

#include "core/null_run_host.h"
#include "log/activity_log.h"
#include "outputs/ordering.h"
#include "sources/download_scan.h"
#include "sources/songlist_reader.h"

namespace valmero {

void PreviewSongs(const char* startDir, const PreviewRequest& request, SongPreview& preview) {
  CNullHost quietHost;
  PreviewSongs(startDir, request, preview, quietHost);
}

void PreviewSongs(const char* startDir, const PreviewRequest& request, SongPreview& preview, IRunHost& quietHost) {
  CLogSilence quietLog;
  TagScratch scratch = {};
  ClearTagFields(scratch);
  preview.catalogue.ReadCatalogue(startDir);
  preview.readResult =
      request.disc ? ReadSonglistFile(request.source.c_str(), preview.songs, quietHost)
                   : ScanDownloadFolder(request.source.c_str(), request.jukeList, preview.catalogue, scratch,
                                        preview.songs, quietHost);
  if (preview.readResult < 0) return;
  SortByNumber(preview.songs);
  if (request.renumber) RenumberSongs(preview.songs);
}

}  // namespace valmero
