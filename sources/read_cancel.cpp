#include "sources/read_cancel.h"

namespace valmero {

bool UserCancelsRead(IProgressPopup& popup, IRunHost& host, CLogLinesTogether& together) {
  together.WriteIfDue();
  popup.PumpMessages(true);
  if (!popup.IsCancelled()) return false;
  together.WriteNow();
  host.ShowCancelled(CANCELLED_TEXT);
  return true;
}

}  // namespace valmero
