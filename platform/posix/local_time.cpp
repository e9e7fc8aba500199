#include "platform/local_time.h"

namespace valmero {

std::tm LocalTimeOf(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return local;
}

}  // namespace valmero
