#include "support/test_platform.h"

#include <fstream>
#include <iterator>
#include <random>

namespace raz::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::random_device rd;
  path_ = fs::temp_directory_path() / ("razazide-test-" + std::to_string(rd()) + "-" +
                                       std::to_string(rd()));
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void TempFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TempFolder::WriteText(const std::string& name, const std::string& text) const {
  std::ofstream(File(name), std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::uint8_t> TempFolder::Read(const std::string& name) const {
  std::ifstream in(File(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string TempFolder::ReadText(const std::string& name) const {
  std::ifstream in(File(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool TempFolder::Exists(const std::string& name) const { return fs::exists(File(name)); }

TestPlatform::TestPlatform(VendorUsb* board, VirtualClock* sharedClock)
    : files(folder.path().string()),
      clock(sharedClock != nullptr ? *sharedClock : ownClock),
      platform{files, profile, display, board ? *board : absentBoard, mouse, messenger, shell, clock} {
  shell.programsFolder = (folder.path() / "Programs").string();
  shell.startupFolder = (folder.path() / "Programs" / "Startup").string();
  for (const char* sub : {"Stratup", "Startup", "启动"}) {
    fs::create_directories(folder.path() / "Programs" / sub);
  }
}

}  // namespace raz::test
