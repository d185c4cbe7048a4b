#pragma once
// Checks that must run on Windows (under Wine in CI): each case returns "" when it holds, or
// what it saw instead.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace raz::win32::checks {

struct Case {
  const char* name;
  std::function<std::string()> run;
};

inline std::string Expect(const std::string& got, const std::string& expected,
                          const std::string& what) {
  return got == expected ? "" : what + ": got '" + got + "', expected '" + expected + "'; ";
}

// Built without the conversion under check, so a wrong UTF-16 path cannot hide itself.
inline std::filesystem::path PathOf(const std::string& utf8) {
  return std::u8string(utf8.begin(), utf8.end());
}

// A fresh, empty folder below the checks program.
std::string ScratchFolder(const std::string& name);

std::vector<Case> FilesCases();
std::vector<Case> ProfileCases();
std::vector<Case> VendorUsbCases();
std::vector<Case> DeviceCases(int screenWidth, int screenHeight);

}  // namespace raz::win32::checks
