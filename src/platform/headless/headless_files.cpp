#include "platform/headless/headless_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace raz {

namespace fs = std::filesystem;

HeadlessFiles::HeadlessFiles(std::string programFolder) : folder_(std::move(programFolder)) {
  if (folder_.empty() || folder_.back() != '/') folder_ += '/';
}

std::string HeadlessFiles::ProgramFolder() const { return folder_; }

std::string HeadlessFiles::ProgramPath() const { return folder_ + "RA_Zazide.exe"; }

std::string HeadlessFiles::HostPath(const std::string& path) {
  std::string host = path;
  std::replace(host.begin(), host.end(), '\\', '/');
  return host;
}

std::optional<std::vector<std::uint8_t>> HeadlessFiles::ReadFile(const std::string& path,
                                                                 std::size_t maxBytes) {
  std::ifstream in(HostPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(maxBytes);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(maxBytes));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

bool HeadlessFiles::WriteFromStart(const std::string& path,
                                   const std::vector<std::uint8_t>& bytes) {
  const std::string host = HostPath(path);
  std::fstream out(host, std::ios::binary | std::ios::in | std::ios::out);
  if (!out.is_open()) {
    std::error_code ec;
    if (fs::exists(host, ec)) return false;  // there but not writable
    out.open(host, std::ios::binary | std::ios::out);
    if (!out.is_open()) return false;
  }
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

bool HeadlessFiles::DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(HostPath(path), ec);
}

bool HeadlessFiles::SetArchiveAttribute(const std::string& path) {
  std::error_code ec;
  fs::permissions(HostPath(path), fs::perms::owner_read | fs::perms::owner_write,
                  fs::perm_options::add, ec);
  return !ec;
}

}  // namespace raz
