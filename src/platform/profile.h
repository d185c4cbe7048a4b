#pragma once
// Profile (INI) file access with the system's rules: section and key names match without
// regard to case; a missing file, section or key yields the caller's default.
#include <string>

namespace raz {

class Profile {
 public:
  virtual ~Profile() = default;
  virtual std::string ReadString(const std::string& path, const std::string& section,
                                 const std::string& key, const std::string& fallback) = 0;
  // Creates the file, section or key when missing and keeps every other line.
  // False when the system refuses the write.
  virtual bool WriteString(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& value) = 0;
};

}  // namespace raz
