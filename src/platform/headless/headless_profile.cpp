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

// The encodings the system's profile functions tell from a file's first bytes. A file they
// create is plain; one that starts with a byte-order mark keeps its encoding on every write.
// Windows itself takes a UTF-8 mark for ANSI bytes, which hides a first section on the same
// line; Wine skips the mark, and so does this, so that a folder saved by Notepad with "UTF-8
// with BOM" is replayed with the settings its user meant.
enum class TextEncoding { Plain, Utf8Bom, Utf16LeBom };

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
  const int length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  out += static_cast<char>(kLead[length] | (c >> (6 * (length - 1))));
  for (int i = length - 2; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

// One character from the front of UTF-8 text; a byte that starts no valid character reads as
// U+FFFD and moves on by one.
char32_t NextUtf8(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const int length = lead < 0x80       ? 1
                     : lead >> 5 == 6  ? 2
                     : lead >> 4 == 14 ? 3
                     : lead >> 3 == 30 ? 4
                                       : 0;
  if (length == 0 || at + length > text.size()) {
    ++at;
    return kReplacement;
  }
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return kReplacement;
    }
    c = (c << 6) | (next & 0x3F);
  }
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++at;
    return kReplacement;
  }
  at += length;
  return c;
}

void AppendUtf16Le(std::string& out, char32_t c) {
  const auto unit = [&out](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  if (c < 0x10000) {
    unit(c);
    return;
  }
  unit(0xD800 + ((c - 0x10000) >> 10));
  unit(0xDC00 + ((c - 0x10000) & 0x3FF));
}

// The logic gets what Win32Profile hands it from the wide profile functions: every character
// as UTF-8, a lone surrogate as U+FFFD. An odd last byte holds no character and is dropped.
std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  const auto unit = [bytes](std::size_t i) -> char32_t {
    return static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
        unit(i + 2) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

struct ProfileFile {
  TextEncoding encoding;
  std::string text;  // UTF-8, or the plain file's own bytes
};

ProfileFile DecodeProfileFile(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) {
    return {TextEncoding::Utf8Bom, std::string(bytes.substr(kUtf8Bom.size()))};
  }
  if (bytes.starts_with(kUtf16LeBom)) {
    return {TextEncoding::Utf16LeBom, Utf16LeToUtf8(bytes.substr(kUtf16LeBom.size()))};
  }
  return {TextEncoding::Plain, std::string(bytes)};
}

std::string EncodeProfileFile(TextEncoding encoding, std::string_view text) {
  switch (encoding) {
    case TextEncoding::Plain:
      return std::string(text);
    case TextEncoding::Utf8Bom:
      return std::string(kUtf8Bom) + std::string(text);
    case TextEncoding::Utf16LeBom:
      break;
  }
  std::string out(kUtf16LeBom);
  for (std::size_t at = 0; at < text.size();) AppendUtf16Le(out, NextUtf8(text, at));
  return out;
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
  const auto bytes = ReadHostFile(HeadlessFiles::HostPath(path));
  if (!bytes) return fallback;
  return FindProfileValue(DecodeProfileFile(*bytes).text, section, key).value_or(fallback);
}

bool HeadlessProfile::WriteString(const std::string& path, const std::string& section,
                                  const std::string& key, const std::string& value) {
  const std::string host = HeadlessFiles::HostPath(path);
  const HostFileKind kind = KindOfHostFile(host);
  if (kind != HostFileKind::Regular && kind != HostFileKind::Missing) return false;
  const ProfileFile file =
      DecodeProfileFile(kind == HostFileKind::Regular ? ReadHostFile(host).value_or("") : "");
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << EncodeProfileFile(file.encoding, WithProfileValue(file.text, section, key, value));
  return static_cast<bool>(out.flush());
}

}  // namespace raz
