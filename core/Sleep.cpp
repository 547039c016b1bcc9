#include "core/Sleep.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdint>

namespace zq::app::utils {

namespace {

void (*customSleep)(unsigned int) = nullptr;

#ifdef _WIN32
void platformSleep(unsigned int milliseconds) {
  // The largest count is INFINITE to Sleep; the caller asked for a finite pause.
  ::Sleep(milliseconds == INFINITE ? INFINITE - 1 : milliseconds);
}
#else
void platformSleep(unsigned int milliseconds) {
  // Microseconds in 64 bits, slept in steps below one second: a 32-bit
  // product would wrap above 4294967 ms, and usleep need not accept a
  // second or more.
  std::uint64_t remaining = static_cast<std::uint64_t>(milliseconds) * 1000u;
  while (remaining > 0) {
    const std::uint64_t step = remaining < 999999u ? remaining : 999999u;
    usleep(static_cast<useconds_t>(step));
    remaining -= step;
  }
}
#endif

}  // namespace

void sleep(unsigned int milliseconds) {
  if (customSleep != nullptr) {
    customSleep(milliseconds);
    return;
  }
  platformSleep(milliseconds);
}

void registerCustomSleep(void (*function)(unsigned int)) { customSleep = function; }

}  // namespace zq::app::utils
