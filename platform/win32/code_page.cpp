#include "platform/code_page.h"

#include <windows.h>

namespace valmero {

std::string SystemCodePage() { return "CP" + std::to_string(::GetACP()); }

}  // namespace valmero
