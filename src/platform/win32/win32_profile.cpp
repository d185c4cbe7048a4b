#include "platform/win32/win32_profile.h"

#include <array>

#include "platform/win32/utf.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {
namespace {

// The size every reader of the settings file has used: longer values are cut to 2047.
constexpr DWORD kReadBuffer = 2048;

}  // namespace

std::string Win32Profile::ReadString(const std::string& path, const std::string& section,
                                     const std::string& key, const std::string& fallback) {
  std::array<wchar_t, kReadBuffer> buffer{};
  const DWORD length = ::GetPrivateProfileStringW(
      Widen(section).c_str(), Widen(key).c_str(), Widen(fallback).c_str(), buffer.data(),
      kReadBuffer, Widen(path).c_str());
  return Narrow(std::wstring_view(buffer.data(), length));
}

bool Win32Profile::WriteString(const std::string& path, const std::string& section,
                               const std::string& key, const std::string& value) {
  return ::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                      Widen(value).c_str(), Widen(path).c_str()) != 0;
}

}  // namespace raz::win32
