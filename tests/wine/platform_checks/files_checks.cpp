// Win32Files: the byte-level promises the data files rely on.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "check_harness.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_files.h"

namespace raz::win32::checks {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(const std::string& path, const Bytes& bytes) {
  std::ofstream out(PathOf(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes Get(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Hex(const Bytes& bytes) {
  std::string text;
  constexpr char kDigits[] = "0123456789abcdef";
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

std::string ExpectBytes(const Bytes& got, const Bytes& expected, const std::string& what) {
  return Expect(Hex(got), Hex(expected), what);
}

struct WriteRow {
  const char* name;
  std::optional<Bytes> before;  // nullopt: no file
  Bytes written;
  Bytes after;
};

std::string RunWriteRows() {
  const std::vector<WriteRow> rows{
      {"missing file is created", std::nullopt, {1, 0, 0, 0}, {1, 0, 0, 0}},
      {"longer file keeps its tail", Bytes{9, 9, 9, 9, 9, 9}, {0, 0, 0, 0}, {0, 0, 0, 0, 9, 9}},
      {"shorter file grows", Bytes{7, 7}, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {"empty write leaves the file", Bytes{5, 6}, {}, {5, 6}},
  };
  Win32Files files;
  const std::string folder = ScratchFolder("write");
  for (const WriteRow& row : rows) {
    const std::string path = folder + "server11.txt";
    std::filesystem::remove(PathOf(path));
    if (row.before) Put(path, *row.before);
    if (!files.WriteFromStart(path, row.written)) return std::string(row.name) + ": write failed";
    const std::string problem = ExpectBytes(Get(path), row.after, row.name);
    if (!problem.empty()) return problem;
  }
  return {};
}

std::string RunReadRows() {
  Win32Files files;
  const std::string folder = ScratchFolder("read");
  Put(folder + "ten.bin", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  Put(folder + "two.bin", {4, 2});
  if (files.ReadFile(folder + "missing.bin", 4)) return "a missing file was read";
  if (auto p = ExpectBytes(*files.ReadFile(folder + "ten.bin", 4), {0, 1, 2, 3}, "first 4 of 10");
      !p.empty()) {
    return p;
  }
  return ExpectBytes(*files.ReadFile(folder + "two.bin", 4), {4, 2}, "short file");
}

std::string RunUnicodePath() {
  Win32Files files;
  const std::string path = ScratchFolder("unicode") + "启动.bin";
  if (!files.WriteFromStart(path, {0x5A})) return "write to a Chinese file name failed";
  const auto back = files.ReadFile(path, 8);
  if (!back) return "read back failed";
  return ExpectBytes(*back, {0x5A}, "content");
}

std::string RunDeleteTwice() {
  Win32Files files;
  const std::string path = ScratchFolder("delete") + "RA_Zazide.lnk";
  Put(path, {1});
  if (!files.DeleteFile(path)) return "first delete failed";
  if (files.DeleteFile(path)) return "second delete reported success";
  return {};
}

std::string RunArchiveClearsReadOnly() {
  Win32Files files;
  const std::string path = ScratchFolder("attr") + "VaziZod.ini";
  Put(path, {1});
  const std::wstring wide = Widen(path);
  ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY);
  if (!(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_READONLY)) {
    return "setup: not read-only";
  }
  if (!files.SetArchiveAttribute(path)) return "SetArchiveAttribute failed";
  if (::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_READONLY) return "still read-only";
  return files.WriteFromStart(path, {2}) ? std::string() : "still not writable";
}

std::string RunProgramFolder() {
  Win32Files files;
  const std::string folder = files.ProgramFolder();
  if (folder.empty() || folder.back() != '\\') return "no trailing backslash: " + folder;
  return files.ReadFile(folder + "platform_checks.exe", 2) ? std::string()
                                                           : "the program is not in " + folder;
}

}  // namespace

std::vector<Case> FilesCases() {
  return {
      {"Files_WriteFromStart_NeverTruncatesAndCreatesMissing", RunWriteRows},
      {"Files_ReadFile_StopsAtMaxBytesOrEnd", RunReadRows},
      {"Files_Utf8PathsReachTheRightFile", RunUnicodePath},
      {"Files_DeleteFile_FailsWhenAlreadyGone", RunDeleteTwice},
      {"Files_SetArchiveAttribute_ClearsReadOnly", RunArchiveClearsReadOnly},
      {"Files_ProgramFolder_IsTheExecutablesFolderWithBackslash", RunProgramFolder},
  };
}

}  // namespace raz::win32::checks
