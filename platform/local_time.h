// The calendar time where the program runs: the log's time stamps, the
// song book's date.
#pragma once

#include <ctime>

namespace valmero {

// The local time of `when`.
std::tm LocalTimeOf(std::time_t when);

}  // namespace valmero
