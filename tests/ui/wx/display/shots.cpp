#include "display/shots.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include <wx/app.h>
#include <wx/evtloop.h>

namespace valmero::testing {

void LetWindowsSettle() {
  wxEventLoop loop;
  wxEventLoopActivator active(&loop);
  for (int round = 0; round < 20; ++round) {
    while (loop.Pending()) loop.Dispatch();
    wxTheApp->ProcessPendingEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void SaveShot(const std::string& name) {
  const char* folder = std::getenv("VALMERO_UI_SHOTS");
  if (folder == nullptr) return;
  LetWindowsSettle();
  std::string command = "import -window root '" + std::string(folder) + "/" + name + ".png'";
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "screenshot %s failed\n", name.c_str());
}

}  // namespace valmero::testing
