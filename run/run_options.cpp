#include "run/run_options.h"

namespace valmero {

RunOptions DefaultRunOptions() {
  RunOptions options;
  options.m_bSourceDownload = 1;
  options.m_bIndexRenumber = 1;
  return options;
}

}  // namespace valmero
