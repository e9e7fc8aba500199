// The paper the user's locale prints on: US Letter in the Americas (and
// wherever the locale says so), A4 elsewhere.
#pragma once

namespace valmero {

// True when the user's locale prints on Letter paper (LC_PAPER on POSIX,
// the locale's paper size on Windows); false for A4 and when it cannot say.
bool LocalePrintsOnLetter();

}  // namespace valmero
