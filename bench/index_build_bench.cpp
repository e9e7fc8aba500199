// The index build for a large collection whose titles repeat often, with the
// fast exchange sort and with the literal one side by side. The literal
// build makes about 5e9 title comparisons at 100,000 songs, so it runs once;
// it then checks that both builds wrote the same bytes.
//
//   cmake --preset bench && cmake --build build-bench
//   ./build-bench/bin/valmero_bench --benchmark_filter=IndexBuild
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "outputs/exchange_sort.h"
#include "outputs/singer_index.h"

namespace valmero {
namespace {

constexpr int SONG_COUNT = 100000;

// 40 x 40 two-word titles: each about 60 times, many sharing their first
// word; 4,000 singers.
SongList MakeCollection() {
  static const char* const words[] = {
      "LOVE",  "RAIN",  "HEART", "NIGHT",  "BLUE",   "SUMMER", "DREAM", "FIRE",  "MOON",   "RIVER",
      "ROAD",  "HOME",  "STAR",  "WIND",   "GOLD",   "SILVER", "DANCE", "TEARS", "SMILE",  "OCEAN",
      "CITY",  "LIGHT", "SHADOW", "ANGEL", "TIME",   "WINTER", "SPRING", "GIRL", "BOY",    "BABY",
      "HONEY", "SUGAR", "WILD",  "SWEET",  "LONELY", "MORNING", "EVENING", "SKY", "SONG",  "PARADISE"};
  constexpr int wordCount = static_cast<int>(sizeof words / sizeof words[0]);
  std::mt19937 random(2026);
  SongList songs;
  songs.reserve(SONG_COUNT);
  for (int k = 0; k < SONG_COUNT; ++k) {
    auto song = MakeSongRecord();
    std::string title = std::string(words[random() % wordCount]) + " " + words[random() % wordCount];
    std::string singer = "SINGER " + std::to_string(random() % 4000);
    CopyText(song->title, sizeof song->title, title.c_str());
    CopyText(song->singer, sizeof song->singer, singer.c_str());
    song->songNumber = song->newNumber = k + 1;
    songs.push_back(std::move(song));
  }
  return songs;
}

SongList& Collection() {
  static SongList songs = MakeCollection();
  return songs;
}

// A folder for the two files, removed at exit; on a memory file system where
// there is one, so that the measurement is of the build, not of the disk.
class CBenchFolder {
 public:
  CBenchFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::exists("/dev/shm", error)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path(error);
    m_path = base / ("valmero-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_path / "fast", error);
    std::filesystem::create_directories(m_path / "literal", error);
  }
  ~CBenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
  }
  std::string Folder(const char* name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

std::string OutputFolder(const char* name) {
  static CBenchFolder folder;
  return folder.Folder(name);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void RunBuild(benchmark::State& state, SortMethod method, const char* folderName) {
  ResetActivityLog();  // nothing to log to: the build's lines are not measured
  SongList& songs = Collection();
  const std::string folder = OutputFolder(folderName);
  for (auto _ : state) {
    // Each build starts from empty tables, as the first build of a run
    // does; freeing them afterwards is not part of the build.
    auto index = std::make_unique<SingerIndex>();
    if (BuildIndexWith(songs, true, folder.c_str(), *index, method) != 0) {
      state.SkipWithError("ENGLISH.KVX could not be written");
      return;
    }
    benchmark::DoNotOptimize(index->m_titleIndex.data());
    state.PauseTiming();
    index.reset();
    state.ResumeTiming();
  }
  state.counters["songs"] = SONG_COUNT;
}

void BM_IndexBuildFast(benchmark::State& state) { RunBuild(state, SortMethod::Fast, "fast"); }

void BM_IndexBuildLiteral(benchmark::State& state) {
  RunBuild(state, SortMethod::Literal, "literal");
  // Make sure a fast file exists to compare with, then compare.
  SingerIndex index;
  BuildIndexWith(Collection(), true, OutputFolder("fast").c_str(), index, SortMethod::Fast);
  const std::string fast = ReadBytes(OutputFolder("fast") + "/ENGLISH.KVX");
  const std::string literal = ReadBytes(OutputFolder("literal") + "/ENGLISH.KVX");
  const bool same = !fast.empty() && fast == literal;
  state.counters["same_bytes"] = same ? 1 : 0;
  state.counters["file_bytes"] = static_cast<double>(literal.size());
  if (!same) state.SkipWithError("the fast and the literal build wrote different files");
}

BENCHMARK(BM_IndexBuildFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexBuildLiteral)->Unit(benchmark::kMillisecond)->Iterations(1);

// The song list's order by number, the other exchange sort of a run, on
// numbers that repeat (several songs under one number).
std::vector<int32_t> RepeatingNumbers() {
  std::mt19937 random(7);
  std::vector<int32_t> numbers(SONG_COUNT);
  for (auto& number : numbers) number = static_cast<int32_t>(random() % 20000);
  return numbers;
}

int CompareNumbers(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

void BM_NumberOrderFast(benchmark::State& state) {
  const std::vector<int32_t> numbers = RepeatingNumbers();
  for (auto _ : state) {
    auto items = numbers;
    ExchangeSort(items, CompareNumbers);
    benchmark::DoNotOptimize(items.data());
  }
}

void BM_NumberOrderLiteral(benchmark::State& state) {
  const std::vector<int32_t> numbers = RepeatingNumbers();
  for (auto _ : state) {
    auto items = numbers;
    LiteralExchangeSort(items, CompareNumbers);
    benchmark::DoNotOptimize(items.data());
  }
}

BENCHMARK(BM_NumberOrderFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberOrderLiteral)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace valmero
