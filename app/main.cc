// Process entry: the core starts before the driver and shuts down after it.
#include "app/driver.h"
#include "core/console.h"
#include "core/params.h"
#include "core/startup.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  PlatformStart(argc, argv);
  LoadParams();
  CoreStartup();
  RunTokloc();
  ReleaseDriverState();
  CoreShutdown();
  FlushChannel(ConsoleOut);
  FlushChannel(ConsoleErr);
  EndProcess(ExitCode);
}
