#include "core/startup.h"

#include "core/console.h"

int32_t ExitCode = 0;

void CoreStartup() {
  ExitCode = 0;
  BindChannel(ConsoleOut, TStdStream::Output);
  BindChannel(ConsoleErr, TStdStream::Error);
}

void CoreShutdown() {}
