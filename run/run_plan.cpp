#include "run/run_plan.h"

namespace valmero {

bool ParseIndexMode(const std::string& word, IndexMode& mode) {
  if (word == "renumber") {
    mode = IndexMode::Renumber;
  } else if (word == "keep") {
    mode = IndexMode::Keep;
  } else if (word == "none") {
    mode = IndexMode::None;
  } else {
    return false;
  }
  return true;
}

}  // namespace valmero
