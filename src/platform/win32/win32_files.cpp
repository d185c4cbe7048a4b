#include "platform/win32/win32_files.h"

#include <algorithm>

#include "platform/win32/unique_handles.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {
namespace {

// The module path can be longer than MAX_PATH; grow until it fits.
std::wstring ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Reads and writes go in chunks a DWORD can count.
constexpr std::size_t kChunk = 1u << 30;

}  // namespace

Win32Files::Win32Files() {
  const std::wstring exe = ExecutablePath();
  const auto slash = exe.find_last_of(L"\\/");
  programFolder_ = Narrow(slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash + 1));
  programPath_ = Narrow(exe);
}

std::string Win32Files::ProgramFolder() const { return programFolder_; }

std::string Win32Files::ProgramPath() const { return programPath_; }

std::optional<std::vector<std::uint8_t>> Win32Files::ReadFile(const std::string& path,
                                                              std::size_t maxBytes) {
  UniqueFile file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes(maxBytes);
  std::size_t total = 0;
  while (total < maxBytes) {
    const auto want = static_cast<DWORD>(std::min(maxBytes - total, kChunk));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + total, want, &got, nullptr) || got == 0) break;
    total += got;
  }
  bytes.resize(total);
  return bytes;
}

bool Win32Files::WriteFromStart(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  // OPEN_ALWAYS neither truncates an existing file nor refuses a missing one.
  UniqueFile file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::size_t total = 0;
  while (total < bytes.size()) {
    const auto want = static_cast<DWORD>(std::min(bytes.size() - total, kChunk));
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data() + total, want, &written, nullptr) || written == 0) {
      return false;
    }
    total += written;
  }
  return true;
}

bool Win32Files::DeleteFile(const std::string& path) {
  return ::DeleteFileW(Widen(path).c_str()) != 0;
}

bool Win32Files::SetArchiveAttribute(const std::string& path) {
  return ::SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_ARCHIVE) != 0;
}

}  // namespace raz::win32
