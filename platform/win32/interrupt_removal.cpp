// On Windows a file being written is open without sharing and cannot be
// removed from the console's handler thread; Ctrl-C ends the program as
// the console does by default.
#include "platform/interrupt_removal.h"

namespace valmero {

void RemoveOnInterrupt(const std::string&) {}

void ForgetOnInterrupt(const std::string&) {}

void RemoveNotedFiles() {}

void EndOnInterrupt() {}

}  // namespace valmero
