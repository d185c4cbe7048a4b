#include "platform/headless/headless_profile.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/headless/headless_files.h"

namespace raz {
namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::optional<std::string> SectionName(const std::string& line) {
  const std::string t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const auto close = t.find(']');
  return Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

struct KeyLine {
  std::string key;
  std::string value;
};

std::optional<KeyLine> ParseKeyLine(const std::string& line) {
  const auto eq = line.find('=');
  if (eq == std::string::npos) return std::nullopt;
  std::string value = Trim(line.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return KeyLine{Trim(line.substr(0, eq)), value};
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// Where a section's lines lie: [header, end).
struct SectionSpan {
  std::size_t header;
  std::size_t end;
};

std::optional<SectionSpan> FindSection(const std::vector<std::string>& lines,
                                       const std::string& section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i]);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, SectionSpan span,
                                   const std::string& key) {
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
  return ParseKeyLine(lines[*at])->value;
}

std::string WithProfileValue(std::string_view text, const std::string& section,
                             const std::string& key, const std::string& value) {
  auto lines = SplitLines(text);
  const std::string entry = key + "=" + value;
  if (const auto span = FindSection(lines, section)) {
    if (const auto at = FindKey(lines, *span, key)) {
      lines[*at] = ParseKeyLine(lines[*at])->key + "=" + value;
    } else {
      // After the section's last non-blank line, as the system does.
      std::size_t insert = span->end;
      while (insert > span->header + 1 && Trim(lines[insert - 1]).empty()) --insert;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert), entry);
    }
  } else {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  }
  std::string result;
  for (const auto& line : lines) result += line + "\r\n";
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
