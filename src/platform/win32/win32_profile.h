#pragma once
#include "platform/profile.h"

namespace raz::win32 {

// The system's profile-file functions. The file itself stays in the ANSI code page; the wide
// functions convert, so the logic's UTF-8 survives whatever that code page is.
class Win32Profile : public Profile {
 public:
  std::string ReadString(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;
};

}  // namespace raz::win32
