// The stages of a conversion run one by one, on a generated collection in a
// memory file system (/dev/shm where there is one), so that what is measured
// is the program, not the disk. Per-song figures are in the "per_song"
// counter (seconds per song, shown as us).
//
//   cmake --preset bench && cmake --build build-bench
//   ./build-bench/bin/valmero_bench --benchmark_filter='Scan|Songlist|Sort|List|Config|Log'
//
// VALMERO_BENCH_SONGS sets the collection's size (20,000 unless told).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "core/fixed_text.h"
#include "core/null_run_host.h"
#include "core/run_host.h"
#include "log/activity_log.h"
#include "outputs/ordering.h"
#include "outputs/text_lists.h"
#include "platform/folder_listing.h"
#include "sources/catalogue.h"
#include "sources/download_scan.h"
#include "sources/id3v1_reader.h"
#include "sources/songlist_reader.h"

namespace valmero {
namespace {

namespace fs = std::filesystem;

int SongCount() {
  const char* text = std::getenv("VALMERO_BENCH_SONGS");
  int count = text != nullptr ? std::atoi(text) : 0;
  return count > 0 ? count : 20000;
}


// Titles and singers that repeat as in a real collection (see
// bench/make_collection.py for the whole-program collections).
struct CNames {
  std::mt19937 random{2026};
  std::string Title() {
    static const char* const words[] = {"LOVE", "RAIN", "HEART", "NIGHT", "BLUE", "SUMMER", "DREAM", "FIRE",
                                        "MOON", "RIVER", "ROAD", "HOME", "Star", "wind", "Gold", "again"};
    return std::string(words[random() % 16]) + " " + words[random() % 16] + " " + words[random() % 16];
  }
  std::string Singer() { return "Singer " + std::to_string(random() % 800); }
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string Id3v1(const std::string& title, const std::string& singer) {
  std::string tag(128, '\0');
  std::memcpy(&tag[0], "TAG", 3);
  std::memcpy(&tag[3], title.data(), std::min<std::size_t>(30, title.size()));
  std::memcpy(&tag[33], singer.data(), std::min<std::size_t>(30, singer.size()));
  std::memcpy(&tag[93], "1999", 4);
  return tag;
}

// The scratch folder of this process: the collections and the run's log.
class CBenchSpace {
 public:
  CBenchSpace() {
    std::error_code error;
    fs::path base = fs::exists("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path(error);
    m_root = base / ("valmero-stages-" + std::to_string(::getpid()));
    fs::create_directories(m_root / "download", error);
    fs::create_directories(m_root / "disc", error);
    fs::create_directories(m_root / "target", error);
    CNames names;
    std::string audio(417, '\0');
    std::string list;
    for (int number = 1; number <= SongCount(); ++number) {
      char name[32];
      std::snprintf(name, sizeof name, "%06d.mp3", number);
      // One song in twenty without a tag, as downloads have.
      WriteBytes(m_root / "download" / name, number % 20 == 0 ? audio : audio + Id3v1(names.Title(), names.Singer()));
      std::snprintf(name, sizeof name, "%d", number * 3);
      WriteBytes(m_root / "disc" / (std::string(name) + ".mp3"), audio);
      WriteBytes(m_root / "disc" / (std::string(name) + ".mcg"), audio);
      list += std::string(name) + "|" + names.Title() + "|" + names.Singer() + "\r\n";
    }
    WriteBytes(m_root / "disc" / "list.txt", list);
  }
  ~CBenchSpace() {
    std::error_code error;
    fs::remove_all(m_root, error);
  }
  std::string Path(const char* name) const { return (m_root / name).string(); }

  // The activity log of a run, in this folder, emptied.
  void StartLog() {
    char startDir[PATH_SIZE];
    fs::path previous = fs::current_path();
    fs::current_path(m_root);
    StartActivityLog(startDir);
    fs::current_path(previous);
  }

 private:
  fs::path m_root;
};

CBenchSpace& Space() {
  static CBenchSpace space;
  return space;
}

void CountSongs(benchmark::State& state, std::size_t songs) {
  state.counters["per_song"] =
      benchmark::Counter(static_cast<double>(songs), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

// A song list as a download scan leaves it: unordered numbers, full paths.
SongList MakeSongs() {
  CNames names;
  std::mt19937 random(11);
  SongList songs;
  for (int k = 0; k < SongCount(); ++k) {
    auto song = MakeSongRecord();
    song->songNumber = song->newNumber = static_cast<int32_t>(random() % (3 * SongCount()) + 1);
    CopyText(song->path, sizeof song->path, ("/media/karaoke/download/" + std::to_string(song->songNumber) + ".mp3").c_str());
    CopyText(song->title, sizeof song->title, names.Title().c_str());
    CopyText(song->singer, sizeof song->singer, names.Singer().c_str());
    song->kind = KIND_PAIR;
    songs.push_back(std::move(song));
  }
  return songs;
}

void BM_ListFolder(benchmark::State& state) {
  const std::string folder = Space().Path("download");
  std::vector<FolderEntry> entries;
  for (auto _ : state) {
    ListFolder(folder.c_str(), entries);
    benchmark::DoNotOptimize(entries.data());
  }
  CountSongs(state, entries.size());
}

void BM_ReadId3v1Tag(benchmark::State& state) {
  const std::string path = Space().Path("download") + "/000001.mp3";
  ResetActivityLog();  // the reader's own log line is measured by BM_LogMessage
  TagScratch scratch{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadId3v1Tag(path.c_str(), scratch));
  }
}

void BM_ScanDownloadFolder(benchmark::State& state) {
  CBenchSpace& space = Space();
  const std::string folder = space.Path("download");
  CSongCatalogue catalogue;
  CNullHost host;
  TagScratch scratch{};
  SongList songs;
  for (auto _ : state) {
    state.PauseTiming();
    space.StartLog();
    state.ResumeTiming();
    ScanDownloadFolder(folder.c_str(), false, catalogue, scratch, songs, host);
  }
  CountSongs(state, songs.size());
}

void BM_ReadSonglistFile(benchmark::State& state) {
  CBenchSpace& space = Space();
  const std::string list = space.Path("disc") + "/list.txt";
  CNullHost host;
  SongList songs;
  for (auto _ : state) {
    state.PauseTiming();
    space.StartLog();
    state.ResumeTiming();
    ReadSonglistFile(list.c_str(), songs, host);
  }
  CountSongs(state, songs.size());
}

void BM_SortByNumber(benchmark::State& state) {
  const SongList original = MakeSongs();
  for (auto _ : state) {
    state.PauseTiming();
    SongList songs;
    for (const auto& song : original) songs.push_back(std::make_unique<SongRecord>(*song));
    state.ResumeTiming();
    SortByNumber(songs);
    benchmark::DoNotOptimize(songs.data());
  }
  CountSongs(state, original.size());
}

void BM_RenumberSongs(benchmark::State& state) {
  Space().StartLog();
  SongList songs = MakeSongs();
  for (auto _ : state) RenumberSongs(songs);
  CountSongs(state, songs.size());
}

void BM_WriteListFile(benchmark::State& state) {
  ResetActivityLog();
  SongList songs = MakeSongs();
  const std::string target = Space().Path("target");
  for (auto _ : state) WriteListFile(target.c_str(), songs, true);
  CountSongs(state, songs.size());
}

void BM_WriteConfigFile(benchmark::State& state) {
  ResetActivityLog();
  SongList songs = MakeSongs();
  const std::string target = Space().Path("target");
  for (auto _ : state) WriteConfigFile(target.c_str(), songs, true, false);
  CountSongs(state, songs.size());
}

// One log line as the scan writes two per song.
void BM_LogMessage(benchmark::State& state) {
  CBenchSpace& space = Space();
  space.StartLog();
  const std::string path = space.Path("download") + "/000001.mp3";
  long lines = 0;
  for (auto _ : state) {
    LogMessage("add data : %s", path.c_str());
    if (++lines == 200000) {
      // Keep the file small: the measurement is of the line, not of a huge file.
      state.PauseTiming();
      space.StartLog();
      lines = 0;
      state.ResumeTiming();
    }
  }
}

BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadId3v1Tag)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanDownloadFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSonglistFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenumberSongs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteListFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteConfigFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogMessage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace valmero
