#include "platform/code_page.h"

namespace valmero {

std::string SystemCodePage() { return std::string(); }

}  // namespace valmero
