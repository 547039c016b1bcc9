// The library's one way to pause. A host may install its own pause function
// (tests record pauses instead of waiting); otherwise the platform's sleep
// runs: usleep on Linux, Sleep on Windows.
#pragma once

namespace zq::app::utils {

// Pauses the calling thread, or hands the milliseconds to the registered
// pause function and returns.
void sleep(unsigned int milliseconds);

// Installs the pause function, replacing any earlier one; NULL goes back to
// the platform's sleep. Register before other threads start work: the
// pointer is written without a lock.
void registerCustomSleep(void (*function)(unsigned int));

}  // namespace zq::app::utils
