#include "storage/settings.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/text.h"

namespace raz {

SettingsWriteError::SettingsWriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path) {}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> ParseHex(std::string_view digits) {
  // Up to eight digits after any leading zeros, read as the 32 bits of the value: 0xFFFFFFFF
  // is -1 and 0x000000001 is 1.
  if (digits.empty()) return std::nullopt;
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  if (digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseProfileInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return ParseHex(text.substr(2));
  }
  return ParseDecimal(text);
}

SettingsFile::SettingsFile(Profile& profile, std::string path)
    : profile_(profile), path_(std::move(path)) {}

std::string SettingsFile::ReadString(const char* section, const char* key,
                                     const std::string& fallback) {
  return Utf8Prefix(profile_.ReadString(path_, section, key, fallback), kMaxSettingsString);
}

std::int32_t SettingsFile::ReadInteger(const char* section, const char* key,
                                       std::int32_t fallback) {
  return ParseProfileInteger(ReadString(section, key)).value_or(fallback);
}

void SettingsFile::WriteInteger(const char* section, const char* key, std::int32_t value) {
  if (!profile_.WriteString(path_, section, key, std::to_string(value))) {
    throw SettingsWriteError(path_);
  }
}

void SettingsFile::WriteString(const char* section, const char* key, const std::string& value) {
  if (!profile_.WriteString(path_, section, key, value)) throw SettingsWriteError(path_);
}

}  // namespace raz
