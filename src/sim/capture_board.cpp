#include "sim/capture_board.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace raz::sim {
namespace {

constexpr UsbHandle kCaptureHandle = 1;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

CaptureParse ParseCapture(std::string_view text) {
  CaptureParse parse;
  std::istringstream lines{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word.front() == '#') continue;
    ReadBatch batch;
    if (word != "-") {
      do {
        const int hi = word.size() == 2 ? HexValue(word[0]) : -1;
        const int lo = word.size() == 2 ? HexValue(word[1]) : -1;
        if (hi < 0 || lo < 0) {
          parse.errors.push_back("line " + std::to_string(number) + ": '" + word +
                                 "' is not a hex byte");
          batch.clear();
          break;
        }
        batch.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
      } while (words >> word);
    }
    parse.batches.push_back(std::move(batch));
  }
  return parse;
}

std::string FormatCaptureLine(const std::uint8_t* bytes, std::size_t count) {
  if (count == 0) return "-";
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string line;
  line.reserve(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) line += ' ';
    line += kDigits[bytes[i] >> 4];
    line += kDigits[bytes[i] & 0x0F];
  }
  return line;
}

std::int32_t RecordingUsb::Read(UsbHandle handle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                                std::uint32_t& bytesRead) {
  const std::int32_t status = inner_.Read(handle, buffer, bytesToRead, bytesRead);
  // The driver decodes the bytes it asked for; a failed read gives it nothing.
  out_ << FormatCaptureLine(buffer, status == 0 ? bytesToRead : 0) << '\n';
  return status;
}

std::int32_t CaptureBoard::ProbeDevices(std::uint32_t& deviceCount) {
  deviceCount = 1;
  return 0;
}

std::int32_t CaptureBoard::OpenDevice(std::uint32_t, UsbHandle& handle) {
  handle = kCaptureHandle;
  return 0;
}

std::int32_t CaptureBoard::CloseDevice(UsbHandle) { return 0; }

std::int32_t CaptureBoard::SetLinkRate(UsbHandle, std::uint32_t) { return 0; }

std::int32_t CaptureBoard::QueueStatus(UsbHandle, std::uint32_t& bytesInQueue,
                                       std::uint32_t& queueStatus) {
  bytesInQueue = Finished() || batches_.empty()
                     ? 0
                     : static_cast<std::uint32_t>(batches_[next_ % batches_.size()].size());
  queueStatus = 0;
  return 0;
}

std::int32_t CaptureBoard::Read(UsbHandle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                                std::uint32_t& bytesRead) {
  bytesRead = 0;
  if (Finished() || batches_.empty()) return 0;
  const ReadBatch& batch = batches_[next_ % batches_.size()];
  next_ = loop_ ? (next_ + 1) % batches_.size() : next_ + 1;
  bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(bytesToRead, batch.size()));
  if (bytesRead > 0) std::memcpy(buffer, batch.data(), bytesRead);
  return 0;
}

}  // namespace raz::sim
