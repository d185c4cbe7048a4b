#pragma once
// Files in the program folder. The program keeps its settings and data files beside the
// executable; everything that touches them goes through this interface.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace raz {

class Files {
 public:
  virtual ~Files() = default;
  // Folder of the executable, with its trailing path separator.
  virtual std::string ProgramFolder() const = 0;
  // The running program's own file, in the program folder.
  virtual std::string ProgramPath() const = 0;
  // Up to maxBytes from the start of the file; nullopt when it cannot be opened.
  virtual std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path,
                                                            std::size_t maxBytes) = 0;
  // Writes the bytes from offset 0 without truncating: a longer file keeps its tail.
  // A missing file is created. False when the file cannot be opened or written.
  virtual bool WriteFromStart(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Plain archive attribute: clears read-only, hidden and system.
  virtual bool SetArchiveAttribute(const std::string& path) = 0;
};

}  // namespace raz
