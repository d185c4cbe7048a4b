#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace raz {

// An INI implementation with the rules of the system's profile functions: names match without
// regard to case, the first section and the first key of a name win, values lose surrounding
// blanks and one pair of matching quotes, and a write keeps every other line as it was.
// A file that starts with a UTF-16LE byte-order mark is read as UTF-16 (its values come out as
// UTF-8, as Win32Profile gives them) and written back in UTF-16LE with the mark; after a UTF-8
// mark the text is UTF-8 and the mark stays. Any other file is read and written byte for byte.
// A file that is not a regular file (a FIFO, a folder) reads as missing and refuses writes; a
// symbolic link is read through but never written through (see HeadlessFiles).
class HeadlessProfile : public Profile {
 public:
  std::string ReadString(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;
};

// The same rules on the text of a file, apart from the file itself. The value of the key,
// nullopt when the section or the key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, const std::string& section,
                                            const std::string& key);
// The text after a write of the key: lines end in CR LF, every other line is kept.
std::string WithProfileValue(std::string_view text, const std::string& section,
                             const std::string& key, const std::string& value);

}  // namespace raz
