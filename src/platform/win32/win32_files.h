#pragma once
#include "platform/files.h"

namespace raz::win32 {

// Files through kernel32, paths in UTF-8 on the interface side.
class Win32Files : public Files {
 public:
  Win32Files();

  std::string ProgramFolder() const override;
  std::string ProgramPath() const override;
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path,
                                                    std::size_t maxBytes) override;
  bool WriteFromStart(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
  bool DeleteFile(const std::string& path) override;
  bool SetArchiveAttribute(const std::string& path) override;

 private:
  std::string programFolder_;
  std::string programPath_;
};

}  // namespace raz::win32
