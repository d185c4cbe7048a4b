// Checks of the Win32 platform layer against the real system (Wine in CI), one line each.
// Usage: platform_checks SCREEN_WIDTH SCREEN_HEIGHT. Exit code: number of failed checks.
#include <cstdio>
#include <cstdlib>

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
  int failed = 0;
  for (const auto& group :
       {FilesCases(), ProfileCases(), VendorUsbCases(), DeviceCases(width, height)}) {
    for (const Case& c : group) {
      std::string problem;
      try {
        problem = c.run();
      } catch (const std::exception& e) {
        problem = std::string("exception: ") + e.what();
      }
      if (problem.ends_with("; ")) problem.resize(problem.size() - 2);
      const std::string detail = problem.empty() ? "" : " (" + problem + ")";
      std::printf("%s - %s%s\n", problem.empty() ? "ok  " : "FAIL", c.name, detail.c_str());
      failed += problem.empty() ? 0 : 1;
    }
  }
  std::fflush(stdout);
  return failed;
}
