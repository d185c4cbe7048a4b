#pragma once
#include "platform/profile.h"

namespace raz {

// An INI implementation with the rules of the system's profile functions: names match without
// regard to case, the first section and the first key of a name win, values lose surrounding
// blanks and one pair of matching quotes, and a write keeps every other line as it was.
class HeadlessProfile : public Profile {
 public:
  std::string ReadString(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;
};

}  // namespace raz
