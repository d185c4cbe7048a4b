#include "platform/headless/headless_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace raz {

namespace fs = std::filesystem;

HostFileKind KindOfHostFile(const std::string& hostPath) {
  std::error_code ec;
  const fs::file_status own = fs::symlink_status(hostPath, ec);
  if (own.type() == fs::file_type::not_found) return HostFileKind::Missing;
  if (ec) return HostFileKind::Other;
  if (own.type() == fs::file_type::regular) return HostFileKind::Regular;
  if (own.type() != fs::file_type::symlink) return HostFileKind::Other;
  // A dangling link counts as Other too: writing to it would create its target elsewhere.
  const fs::file_status target = fs::status(hostPath, ec);
  return !ec && target.type() == fs::file_type::regular ? HostFileKind::LinkedFile
                                                        : HostFileKind::Other;
}

std::optional<std::string> ReadHostFile(const std::string& hostPath, std::size_t maxBytes) {
  const HostFileKind kind = KindOfHostFile(hostPath);
  if (kind != HostFileKind::Regular && kind != HostFileKind::LinkedFile) return std::nullopt;
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  if (maxBytes == std::string::npos) {
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    bytes.resize(maxBytes);
    in.read(bytes.data(), static_cast<std::streamsize>(maxBytes));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  return bytes;
}

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
  const auto text = ReadHostFile(HostPath(path), maxBytes);
  if (!text) return std::nullopt;
  return std::vector<std::uint8_t>(text->begin(), text->end());
}

bool HeadlessFiles::WriteFromStart(const std::string& path,
                                   const std::vector<std::uint8_t>& bytes) {
  const std::string host = HostPath(path);
  const HostFileKind kind = KindOfHostFile(host);
  if (kind != HostFileKind::Regular && kind != HostFileKind::Missing) return false;
  // An existing file is opened for update, so that a longer file keeps its tail.
  std::fstream out(host, kind == HostFileKind::Regular
                             ? std::ios::binary | std::ios::in | std::ios::out
                             : std::ios::binary | std::ios::out);
  if (!out.is_open()) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

bool HeadlessFiles::DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(HostPath(path), ec);
}

bool HeadlessFiles::SetArchiveAttribute(const std::string& path) {
  const std::string host = HostPath(path);
  // Permissions follow a link to its target, which the folder does not own.
  if (KindOfHostFile(host) != HostFileKind::Regular) return false;
  std::error_code ec;
  fs::permissions(host, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
  return !ec;
}

}  // namespace raz
