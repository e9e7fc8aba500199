#include "outputs/target_moves.h"

#include <unordered_map>

#include "platform/file_reading.h"
#include "platform/files.h"
#include "platform/path_separator.h"
#include "platform/temporary_file.h"

namespace valmero {

namespace {

class CFolderMover {
 public:
  CFolderMover(const std::string& folder, const std::vector<FolderMove>& moves, const std::function<bool()>& keepGoing)
      : m_folder(folder), m_moves(moves), m_keepGoing(keepGoing), m_outcomes(moves.size(), MoveOutcome::NotTried) {
    for (std::size_t m = 0; m < moves.size(); ++m) m_waitingAt.emplace(moves[m].from, m);
  }

  std::vector<MoveOutcome> Run() {
    for (std::size_t m = 0; m < m_moves.size() && !m_stopped; ++m) {
      if (m_outcomes[m] == MoveOutcome::NotTried) MoveChainOf(m);
    }
    return m_outcomes;
  }

 private:
  std::string PathOf(const std::string& name) const { return m_folder + VALMERO_SEP + name; }

  // The move whose file lies where `m` is going and must go first; -1 when
  // that name is free (or holds a file no move takes, which may be replaced).
  long Blocker(std::size_t m) const {
    auto waiting = m_waitingAt.find(m_moves[m].to);
    return waiting == m_waitingAt.end() ? -1 : static_cast<long>(waiting->second);
  }

  // `m` and the moves that must go before it, ending in a free name or, for
  // a cycle, back at `m`, which then waits under a temporary name.
  void MoveChainOf(std::size_t m) {
    std::vector<std::size_t> chain{m};
    long next = Blocker(m);
    while (next >= 0 && static_cast<std::size_t>(next) != m && chain.size() <= m_moves.size()) {
      chain.push_back(static_cast<std::size_t>(next));
      next = Blocker(static_cast<std::size_t>(next));
    }
    std::string parked;
    if (static_cast<std::size_t>(next) == m) {
      if (!KeepGoing()) return;
      if (!Park(m, parked)) {
        // Its file stays where the chain ends and is replaced there: a copy
        // takes its place.
        m_outcomes[m] = MoveOutcome::Failed;
        m_waitingAt.erase(m_moves[m].from);
      }
    }
    for (auto k = chain.rbegin(); k != chain.rend(); ++k) {
      if (m_outcomes[*k] != MoveOutcome::NotTried) continue;
      if (!KeepGoing()) {
        if (!parked.empty()) RemoveFile(parked.c_str());
        return;
      }
      Rename(*k, *k == m && !parked.empty() ? parked : PathOf(m_moves[*k].from));
    }
  }

  // Asked before every rename; once it says stop, nothing more is renamed.
  bool KeepGoing() {
    if (!m_stopped && !m_keepGoing()) m_stopped = true;
    return !m_stopped;
  }

  // Moves the file of `m` to a fresh temporary name beside its new name; the
  // name reserved for it is replaced by the file.
  bool Park(std::size_t m, std::string& parked) {
    int reserved = CreateTemporaryBeside(PathOf(m_moves[m].to).c_str(), 0600, parked);
    if (reserved < 0) return false;
    CloseFile(reserved);
    if (!RenameReplacing(PathOf(m_moves[m].from).c_str(), parked.c_str())) {
      RemoveFile(parked.c_str());
      parked.clear();
      return false;
    }
    m_waitingAt.erase(m_moves[m].from);
    return true;
  }

  void Rename(std::size_t m, const std::string& from) {
    if (RenameReplacing(from.c_str(), PathOf(m_moves[m].to).c_str())) {
      m_outcomes[m] = MoveOutcome::Done;
      m_waitingAt.erase(m_moves[m].from);
    } else {
      m_outcomes[m] = MoveOutcome::Failed;
      // A file no move can take is in nobody's way: it may be replaced.
      m_waitingAt.erase(m_moves[m].from);
      if (from != PathOf(m_moves[m].from)) RemoveFile(from.c_str());
    }
  }

  const std::string& m_folder;
  const std::vector<FolderMove>& m_moves;
  const std::function<bool()>& m_keepGoing;
  std::vector<MoveOutcome> m_outcomes;
  std::unordered_map<std::string, std::size_t> m_waitingAt;  // name -> the move whose file lies there
  bool m_stopped = false;
};

}  // namespace

std::vector<MoveOutcome> MoveWithinFolder(const std::string& folder, const std::vector<FolderMove>& moves,
                                          const std::function<bool()>& keepGoing) {
  return CFolderMover(folder, moves, keepGoing).Run();
}

}  // namespace valmero
