// Starting a program and waiting for it, by the real system: what the
// removal through a temporary copy relies on.

#include "platform/win32/win32_environment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace setup {
namespace {

TEST(Win32EnvironmentTest, RunAndWaitGivesTheExitCodeAndTheVariable) {
  char system[MAX_PATH] = "";
  UINT length = GetSystemDirectoryA(system, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::string cmd = std::string(system, length) + "\\cmd.exe";
  char before[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, before);
  Win32Environment environment;
  EXPECT_EQ(environment.RunAndWait(cmd, "cmd.exe /c exit 7", "SETUP_RUN_TEST", "x"), 7u);
  // The started program sees the variable.
  EXPECT_EQ(environment.RunAndWait(cmd, "cmd.exe /c if \"%SETUP_RUN_TEST%\"==\"given\" (exit 3) else (exit 4)",
                                   "SETUP_RUN_TEST", "given"),
            3u);
  EXPECT_EQ(environment.RunAndWait(std::string(system, length) + "\\setup-missing.exe", "setup-missing.exe",
                                   "SETUP_RUN_TEST", "x"),
            std::nullopt);
  SetCurrentDirectoryA(before);
}

}  // namespace
}  // namespace setup
