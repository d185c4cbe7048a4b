// Win32Files: the data files are rewritten from their start and must never lose their tail.
#include <fstream>
#include <iterator>
#include <optional>

#include "check_harness.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_files.h"

namespace raz::win32::checks {
namespace {

struct WriteRow {
  const char* name;
  std::optional<std::string> before;  // nullopt: no file
  std::string written;
  std::string after;
};

std::string RunWriteRows() {
  const WriteRow rows[] = {
      {"missing file is created", std::nullopt, "1000", "1000"},
      {"longer file keeps its tail", "999999", "0000", "000099"},
      {"shorter file grows", "77", "1234", "1234"},
      {"empty write leaves the file", "56", "", "56"},
  };
  // A Chinese name: the UTF-8 path must reach the file the system knows by that name.
  const std::string path = ScratchFolder("write") + "启动.txt";
  std::string problems = Expect(Narrow(Widen(path)), path, "UTF-16 round trip");
  for (const WriteRow& row : rows) {
    std::filesystem::remove(PathOf(path));
    if (row.before) std::ofstream(PathOf(path), std::ios::binary) << *row.before;
    const bool written =
        Win32Files().WriteFromStart(path, {row.written.begin(), row.written.end()});
    std::ifstream in(PathOf(path), std::ios::binary);
    const std::string after(std::istreambuf_iterator<char>(in), {});
    problems += Expect(written ? after : "write failed", row.after, row.name);
  }
  return problems;
}

}  // namespace

std::vector<Case> FilesCases() {
  return {{"Files_WriteFromStart_NeverTruncatesAndCreatesMissing", RunWriteRows}};
}

}  // namespace raz::win32::checks
