// The unit tests' entry, and the whole program run against the fake
// platform.
#include <gtest/gtest.h>

#include "app/driver.h"
#include "tests/fake_platform.h"

int32_t RunFakeProgram(const std::vector<std::string>& args) {
  Fake.Args = args;
  return RunInFreshProcess([] {
    PlatformStart(0, nullptr);
    EndProcess(RunProcess());
  });
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
