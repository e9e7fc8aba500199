// Screenshots for a person to look at: written only when VALMERO_UI_SHOTS
// names a folder.
#pragma once

#include <string>

namespace valmero::testing {

// Lets the windows paint, then saves the screen as NAME.png in that folder.
void SaveShot(const std::string& name);

// Handles what the windows have waiting (painting, layout) for a moment.
void LetWindowsSettle();

}  // namespace valmero::testing
