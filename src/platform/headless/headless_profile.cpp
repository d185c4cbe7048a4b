#include "platform/headless/headless_profile.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/headless/headless_files.h"

namespace raz {
namespace {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const auto close = t.find(']');
  return Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string_view value = Trim(line.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return KeyLine{Trim(line.substr(0, eq)), value};
}

// The lines of the text, each without its line end; views into the text.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Where a section's lines lie: [header, end).
struct SectionSpan {
  std::size_t header;
  std::size_t end;
};

std::optional<SectionSpan> FindSection(const std::vector<std::string_view>& lines,
                                       std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i]);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string_view>& lines, SectionSpan span,
                                   std::string_view key) {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    const auto kv = ParseKeyLine(lines[i]);
    if (kv && SameName(kv->key, key)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, const std::string& section,
                                            const std::string& key) {
  const auto lines = SplitLines(text);
  const auto span = FindSection(lines, section);
  if (!span) return std::nullopt;
  const auto at = FindKey(lines, *span, key);
  if (!at) return std::nullopt;
  return std::string(ParseKeyLine(lines[*at])->value);
}

std::string WithProfileValue(std::string_view text, const std::string& section,
                             const std::string& key, const std::string& value) {
  const auto lines = SplitLines(text);
  // The key's line is replaced, or a line (or a whole section) goes in before line `at`.
  std::size_t at = lines.size();
  bool replace = false;
  std::string added;
  if (const auto span = FindSection(lines, section)) {
    if (const auto found = FindKey(lines, *span, key)) {
      at = *found;
      replace = true;
      added = std::string(ParseKeyLine(lines[at])->key) + "=" + value + "\r\n";
    } else {
      // After the section's last non-blank line, as the system does.
      at = span->end;
      while (at > span->header + 1 && Trim(lines[at - 1]).empty()) --at;
      added = key + "=" + value + "\r\n";
    }
  } else {
    if (!lines.empty() && !Trim(lines.back()).empty()) added = "\r\n";
    added += "[" + section + "]\r\n" + key + "=" + value + "\r\n";
  }
  std::string result;
  result.reserve(text.size() + added.size() + lines.size() + 2);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == at) result += added;
    if (i == at && replace) continue;
    result.append(lines[i]);
    result += "\r\n";
  }
  if (at == lines.size()) result += added;
  return result;
}

std::string HeadlessProfile::ReadString(const std::string& path, const std::string& section,
                                        const std::string& key, const std::string& fallback) {
  const auto text = ReadHostFile(HeadlessFiles::HostPath(path));
  if (!text) return fallback;
  return FindProfileValue(*text, section, key).value_or(fallback);
}

bool HeadlessProfile::WriteString(const std::string& path, const std::string& section,
                                  const std::string& key, const std::string& value) {
  const std::string host = HeadlessFiles::HostPath(path);
  const HostFileKind kind = KindOfHostFile(host);
  if (kind != HostFileKind::Regular && kind != HostFileKind::Missing) return false;
  const std::string text = kind == HostFileKind::Regular ? ReadHostFile(host).value_or("") : "";
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << WithProfileValue(text, section, key, value);
  return static_cast<bool>(out.flush());
}

}  // namespace raz
