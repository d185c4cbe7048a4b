// Checks of the Win32 platform layer against the real system (Wine in CI).
// Usage: platform_checks SCREEN_WIDTH SCREEN_HEIGHT. Exit code: number of failed checks.
#include <cstdlib>
#include <filesystem>

#include "check_harness.h"
#include "platform/win32/win32_files.h"

namespace raz::win32::checks {

std::string ScratchFolder(const std::string& name) {
  const std::string folder = Win32Files().ProgramFolder() + "scratch\\" + name + "\\";
  std::filesystem::remove_all(PathOf(folder));
  std::filesystem::create_directories(PathOf(folder));
  return folder;
}

}  // namespace raz::win32::checks

int main(int argc, char** argv) {
  using namespace raz::win32::checks;
  const int width = argc > 2 ? std::atoi(argv[1]) : 0;
  const int height = argc > 2 ? std::atoi(argv[2]) : 0;
  std::vector<Case> all;
  for (auto group : {FilesCases(), ProfileCases(), VendorUsbCases(), TimerCases(),
                     DeviceCases(width, height)}) {
    all.insert(all.end(), group.begin(), group.end());
  }
  return RunCases(all);
}
