// Copies the same song-sized files with CopySongsToTarget and with `cp`, side
// by side, and prints the throughput of both.
//
//   copy_bench [FOLDER] [FILES] [MEGABYTES_EACH] [ROUNDS] [--fsync-cost]
//
// FOLDER (default: the current directory) receives a scratch folder that is
// removed at the end. The rounds alternate which copier goes first, so that
// neither always meets a disk still busy with the other's write-back. Times
// are wall-clock; "copy" is until the copier returns, "+sync" adds the sync(2)
// that puts the data on the disk; "cpu" is the processor time the copier used
// (for cp, its child process), which other load on the machine disturbs less.
// Best and median of the rounds are printed. --fsync-cost also copies once with an fsync
// after every file, to show what a per-file flush would cost.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/fixed_text.h"
#include "core/null_run_host.h"
#include "core/run_host.h"
#include "outputs/song_copier.h"
#include "platform/file_copy.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;


double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool MakeSourceFiles(const fs::path& folder, int files, std::size_t bytesEach) {
  std::vector<char> data(bytesEach);
  unsigned state = 12345;
  for (int i = 0; i < files; ++i) {
    // Different bytes in every file, so no layer can share or compress them.
    for (std::size_t j = 0; j < bytesEach; j += 4096) {
      state = state * 1103515245u + 12345u;
      std::memcpy(&data[j], &state, sizeof state);
    }
    char name[32];
    std::snprintf(name, sizeof name, "%05d.mp3", i + 1);
    int fd = ::open((folder / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size()) || ::close(fd) != 0) {
      std::perror(name);
      return false;
    }
  }
  return true;
}

void EmptyFolder(const fs::path& folder) {
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder, ignored);
  ::sync();
}

valmero::SongList SongsIn(const fs::path& folder, int files) {
  valmero::SongList songs;
  for (int i = 0; i < files; ++i) {
    auto song = valmero::MakeSongRecord();
    char path[valmero::PATH_SIZE];
    std::snprintf(path, sizeof path, "%s/%05d.mp3", folder.c_str(), i + 1);
    valmero::CopyText(song->path, sizeof song->path, path);
    song->kind = valmero::KIND_IPS;
    song->newNumber = i + 1;
    songs.push_back(std::move(song));
  }
  return songs;
}

struct Timing {
  double copy;
  double withSync;
  double cpu;
};

double CpuSeconds(int who) {
  struct rusage usage;
  ::getrusage(who, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Timing TimeValmero(const valmero::SongList& songs, const fs::path& target) {
  valmero::CNullHost host;
  EmptyFolder(target);
  double cpuStart = CpuSeconds(RUSAGE_SELF);
  Clock::time_point start = Clock::now();
  valmero::CopySongsToTarget(songs, target.c_str(), host);
  double copy = Seconds(start);
  double cpu = CpuSeconds(RUSAGE_SELF) - cpuStart;
  ::sync();
  return {copy, Seconds(start), cpu};
}

Timing TimeCp(const fs::path& source, const fs::path& target) {
  EmptyFolder(target);
  std::string command = "cp -- '" + source.string() + "'/*.mp3 '" + target.string() + "'/";
  double cpuStart = CpuSeconds(RUSAGE_CHILDREN);
  Clock::time_point start = Clock::now();
  int status = std::system(command.c_str());
  double copy = Seconds(start);
  double cpu = CpuSeconds(RUSAGE_CHILDREN) - cpuStart;
  ::sync();
  if (status != 0) std::fprintf(stderr, "cp failed: %d\n", status);
  return {copy, Seconds(start), cpu};
}

double FsyncEveryFile(const valmero::SongList& songs, const fs::path& target) {
  EmptyFolder(target);
  Clock::time_point start = Clock::now();
  for (const auto& song : songs) {
    char destination[valmero::PATH_SIZE];
    std::snprintf(destination, sizeof destination, "%s/%05d-IPS.MP3", target.c_str(), song->newNumber);
    valmero::CopyFileReplacing(song->path, destination);
    int fd = ::open(destination, O_RDONLY);
    ::fsync(fd);
    ::close(fd);
  }
  return Seconds(start);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool fsyncCost = std::find(args.begin(), args.end(), "--fsync-cost") != args.end();
  args.erase(std::remove(args.begin(), args.end(), "--fsync-cost"), args.end());
  fs::path base = args.size() > 0 ? fs::path(args[0]) : fs::current_path();
  int files = args.size() > 1 ? std::atoi(args[1].c_str()) : 200;
  std::size_t megabytes = args.size() > 2 ? static_cast<std::size_t>(std::atoi(args[2].c_str())) : 5;
  int rounds = args.size() > 3 ? std::atoi(args[3].c_str()) : 3;
  if (files <= 0 || megabytes == 0 || rounds <= 0) {
    std::fprintf(stderr, "usage: copy_bench [FOLDER] [FILES] [MEGABYTES_EACH] [ROUNDS] [--fsync-cost]\n");
    return 2;
  }

  fs::path scratch = base / ("copy-bench-" + std::to_string(::getpid()));
  fs::path source = scratch / "source";
  fs::create_directories(source);
  if (!MakeSourceFiles(source, files, megabytes << 20)) return 1;
  ::sync();
  const double totalMb = static_cast<double>(files) * static_cast<double>(megabytes);
  const valmero::SongList songs = SongsIn(source, files);

  std::printf("%d files of %zu MB (%.0f MB) in %s\n", files, megabytes, totalMb, scratch.c_str());
  std::printf("%-6s %-8s %9s %9s %9s %11s %11s\n", "round", "copier", "copy s", "+sync s", "cpu s", "copy MB/s",
              "+sync MB/s");
  std::vector<double> copyRate[2], syncRate[2], cpuTime[2];
  for (int round = 1; round <= rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      const int who = (turn == 0) == (round % 2 == 1) ? 0 : 1;  // 0: valmero, 1: cp
      Timing t = who == 0 ? TimeValmero(songs, scratch / "valmero") : TimeCp(source, scratch / "cp");
      copyRate[who].push_back(totalMb / t.copy);
      syncRate[who].push_back(totalMb / t.withSync);
      cpuTime[who].push_back(t.cpu);
      std::printf("%-6d %-8s %9.3f %9.3f %9.3f %11.0f %11.0f\n", round, who == 0 ? "valmero" : "cp", t.copy,
                  t.withSync, t.cpu, totalMb / t.copy, totalMb / t.withSync);
    }
  }
  auto report = [](const char* what, const std::vector<double>* values, bool higherIsBetter) {
    double best[2], median[2];
    for (int who = 0; who < 2; ++who) {
      best[who] = higherIsBetter ? *std::max_element(values[who].begin(), values[who].end())
                                 : *std::min_element(values[who].begin(), values[who].end());
      median[who] = Median(values[who]);
    }
    std::printf("%-11s best: valmero %8.2f  cp %8.2f  ratio %.3f | median: valmero %8.2f  cp %8.2f  ratio %.3f\n",
                what, best[0], best[1], higherIsBetter ? best[0] / best[1] : best[1] / best[0], median[0], median[1],
                higherIsBetter ? median[0] / median[1] : median[1] / median[0]);
  };
  report("copy MB/s", copyRate, true);
  report("+sync MB/s", syncRate, true);
  report("cpu s", cpuTime, false);

  if (fsyncCost) {
    double seconds = FsyncEveryFile(songs, scratch / "valmero");
    std::printf("with an fsync after every file: %.3f s, %.0f MB/s\n", seconds, totalMb / seconds);
  }

  std::error_code ignored;
  fs::remove_all(scratch, ignored);
  ::sync();
  return 0;
}
