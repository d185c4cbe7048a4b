#pragma once
// Program files that are not plain files: FIFOs, folders and symbolic links pointing out of
// the program folder, as a table the headless file tests share.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace raz::test {

enum class Special { Missing, Regular, Fifo, Folder, LinkToFile, LinkToFifo, DanglingLink };

struct SpecialRow {
  Special kind;
  const char* name;
  bool readable;  // reads give the content written by MakeSpecial
  bool writable;
};

inline constexpr SpecialRow kSpecialRows[] = {
    {Special::Missing, "missing", false, true},
    {Special::Regular, "regular file", true, true},
    {Special::Fifo, "FIFO", false, false},
    {Special::Folder, "folder", false, false},
    {Special::LinkToFile, "link to a file outside the folder", true, false},
    {Special::LinkToFifo, "link to a FIFO", false, false},
    {Special::DanglingLink, "dangling link out of the folder", false, false},
};

// Puts the kind of file at `path`; links point into `outside`, another folder. Returns the
// file a link points at, if any, so that a test can check it was left alone.
inline std::optional<std::filesystem::path> MakeSpecial(Special kind,
                                                        const std::filesystem::path& path,
                                                        const std::filesystem::path& outside,
                                                        const std::string& content) {
  namespace fs = std::filesystem;
  fs::create_directories(outside);
  const fs::path target = outside / path.filename();
  switch (kind) {
    case Special::Missing:
      return std::nullopt;
    case Special::Regular:
      std::ofstream(path, std::ios::binary) << content;
      return std::nullopt;
    case Special::Fifo:
      ::mkfifo(path.c_str(), 0600);
      return std::nullopt;
    case Special::Folder:
      fs::create_directory(path);
      return std::nullopt;
    case Special::LinkToFile:
      std::ofstream(target, std::ios::binary) << content;
      fs::create_symlink(target, path);
      return target;
    case Special::LinkToFifo:
      ::mkfifo(target.c_str(), 0600);
      fs::create_symlink(target, path);
      return target;
    case Special::DanglingLink:
      fs::create_symlink(target, path);
      return target;
  }
  return std::nullopt;
}

inline void PrintTo(const SpecialRow& row, std::ostream* os) { *os << row.name; }

inline std::string SpecialRowName(const testing::TestParamInfo<SpecialRow>& info) {
  std::string name;
  bool upper = true;
  for (const char* c = info.param.name; *c != '\0'; ++c) {
    if (*c == ' ') {
      upper = true;
    } else {
      name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
      upper = false;
    }
  }
  return name;
}

// The content of a file the tests made, without the layer under test.
inline std::string ContentOf(const std::filesystem::path& path) {
  if (!std::filesystem::is_regular_file(path)) return "(missing)";
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An open that blocks on a FIFO would hang the run for ever; the alarm turns that into a
// failure of the test at hand (ctest runs each test in a process of its own).
class HangGuard {
 public:
  HangGuard() { ::alarm(60); }
  ~HangGuard() { ::alarm(0); }
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;
};

}  // namespace raz::test
