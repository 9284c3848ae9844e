// The core's process-wide state: prepared before the driver runs and
// released after it.
#pragma once

#include <cstdint>

// The process exit code: 0 at start, set by the driver.
extern int32_t ExitCode;

// Prepares the core's state; run once, before the driver.
void CoreStartup();

// Releases the core's state; run once, after the driver's own texts are
// released.
void CoreShutdown();
