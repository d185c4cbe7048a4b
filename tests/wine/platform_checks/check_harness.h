#pragma once
// A small table-driven harness for checks that must run on Windows (under Wine in CI):
// each case returns an empty string when it holds, or what it saw instead.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/utf.h"

namespace raz::win32::checks {

struct Case {
  const char* name;
  std::function<std::string()> run;
};

// "" when equal, else a description of the difference.
template <typename T>
std::string Expect(const T& got, const T& expected, const std::string& what) {
  if (got == expected) return {};
  if constexpr (std::is_convertible_v<T, std::string>) {
    return what + ": got '" + std::string(got) + "', expected '" + std::string(expected) + "'";
  } else {
    return what + ": got " + std::to_string(got) + ", expected " + std::to_string(expected);
  }
}

// Runs every case, one line each, and returns the number that failed.
inline int RunCases(const std::vector<Case>& cases) {
  int failed = 0;
  for (const Case& c : cases) {
    std::string problem;
    try {
      problem = c.run();
    } catch (const std::exception& e) {
      problem = std::string("exception: ") + e.what();
    }
    if (problem.empty()) {
      std::printf("ok   - %s\n", c.name);
    } else {
      std::printf("FAIL - %s (%s)\n", c.name, problem.c_str());
      ++failed;
    }
  }
  std::fflush(stdout);
  return failed;
}

// A UTF-8 path as the file system library takes it.
inline std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(Widen(utf8));
}

// A scratch folder below the checks program, emptied before each use.
std::string ScratchFolder(const std::string& name);

std::vector<Case> FilesCases();
std::vector<Case> ProfileCases();
std::vector<Case> VendorUsbCases();
std::vector<Case> TimerCases();
std::vector<Case> DeviceCases(int screenWidth, int screenHeight);

}  // namespace raz::win32::checks
