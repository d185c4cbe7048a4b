#pragma once
#include "platform/files.h"

namespace raz {

// Files in a real folder of the host system. Paths written the Windows way ("\Startup\x")
// are mapped onto the host's separator.
class HeadlessFiles : public Files {
 public:
  explicit HeadlessFiles(std::string programFolder);

  std::string ProgramFolder() const override;
  // The program folder and the real program's file name: there is no executable here.
  std::string ProgramPath() const override;
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path,
                                                    std::size_t maxBytes) override;
  bool WriteFromStart(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
  bool DeleteFile(const std::string& path) override;
  bool SetArchiveAttribute(const std::string& path) override;

  // The host path a program path refers to.
  static std::string HostPath(const std::string& path);

 private:
  std::string folder_;
};

}  // namespace raz
