// The program's control flow: classify the command line, then either show
// help or run the search and write the result line.
#pragma once

#include <cstdint>

// The whole run as the process makes it: the core's start-up, the driver,
// the driver's and then the core's release, and whatever output is still
// buffered. Returns the exit code.
int32_t RunProcess();
