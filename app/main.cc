// Process entry.
#include "app/driver.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  PlatformStart(argc, argv);
  EndProcess(RunProcess());
}
