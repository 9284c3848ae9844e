#include "core/exit_code.h"

int32_t ExitCode = ExitTokenFound;
