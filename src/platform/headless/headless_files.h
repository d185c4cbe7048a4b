#pragma once
#include <optional>
#include <string>

#include "platform/files.h"

namespace raz {

// Files in a real folder of the host system. Paths written the Windows way ("\Startup\x")
// are mapped onto the host's separator.
//
// Only regular files are opened. A FIFO or a device under a program file's name would block
// the open or never end, so it reads as missing and refuses writes. A symbolic link is read
// through, but never written through: a link in the program folder may point at a file the
// run must not change (the original of a user's settings, say), so a write to it is refused
// as if the file were read-only.
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

// What a host path holds, as far as the headless devices are concerned.
enum class HostFileKind {
  Missing,     // nothing there yet: a write may create it
  Regular,     // a regular file that is no symbolic link: read and written
  LinkedFile,  // a symbolic link to a regular file: read through, never written
  Other,       // a FIFO, device, socket or folder (or a link to one): neither read nor written
};

HostFileKind KindOfHostFile(const std::string& hostPath);

// Up to maxBytes from the start of a regular file (or a link to one); nullopt otherwise.
std::optional<std::string> ReadHostFile(const std::string& hostPath,
                                        std::size_t maxBytes = std::string::npos);

}  // namespace raz
