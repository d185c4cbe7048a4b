#pragma once
// A board that replays a capture: the read batches a real board delivered, one batch per poll.
// This is how a user's problem is reproduced from a capture without the user's board.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vendor_usb.h"

namespace raz::sim {

using ReadBatch = std::vector<std::uint8_t>;

struct CaptureParse {
  std::vector<ReadBatch> batches;
  std::vector<std::string> errors;  // "line 4: 'zz' is not a hex byte"
};

// One batch per line, bytes as hex pairs separated by blanks; blank lines and lines starting
// with '#' are skipped. A line "-" is a poll that found nothing.
CaptureParse ParseCapture(std::string_view text);

// One batch as a capture line: hex pairs, or "-" for a poll that found nothing.
std::string FormatCaptureLine(const std::uint8_t* bytes, std::size_t count);

// Passes every call to the real (or simulated) board and writes each read batch as a capture
// line, so that what the driver saw can be replayed later.
class RecordingUsb : public VendorUsb {
 public:
  RecordingUsb(VendorUsb& inner, std::ostream& out) : inner_(inner), out_(out) {}

  std::int32_t ProbeDevices(std::uint32_t& deviceCount) override {
    return inner_.ProbeDevices(deviceCount);
  }
  std::int32_t OpenDevice(std::uint32_t deviceIndex, UsbHandle& handle) override {
    return inner_.OpenDevice(deviceIndex, handle);
  }
  std::int32_t CloseDevice(UsbHandle handle) override { return inner_.CloseDevice(handle); }
  std::int32_t SetLinkRate(UsbHandle handle, std::uint32_t bitsPerSecond) override {
    return inner_.SetLinkRate(handle, bitsPerSecond);
  }
  std::int32_t QueueStatus(UsbHandle handle, std::uint32_t& bytesInQueue,
                           std::uint32_t& queueStatus) override {
    return inner_.QueueStatus(handle, bytesInQueue, queueStatus);
  }
  std::int32_t Read(UsbHandle handle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                    std::uint32_t& bytesRead) override;

 private:
  VendorUsb& inner_;
  std::ostream& out_;
};

class CaptureBoard : public VendorUsb {
 public:
  // A looping board starts over after its last batch, for benchmarks that need endless polls.
  explicit CaptureBoard(std::vector<ReadBatch> batches, bool loop = false)
      : batches_(std::move(batches)), loop_(loop) {}

  bool Finished() const { return !loop_ && next_ >= batches_.size(); }
  std::size_t BatchesRead() const { return next_; }

  std::int32_t ProbeDevices(std::uint32_t& deviceCount) override;
  std::int32_t OpenDevice(std::uint32_t deviceIndex, UsbHandle& handle) override;
  std::int32_t CloseDevice(UsbHandle handle) override;
  std::int32_t SetLinkRate(UsbHandle handle, std::uint32_t bitsPerSecond) override;
  std::int32_t QueueStatus(UsbHandle handle, std::uint32_t& bytesInQueue,
                           std::uint32_t& queueStatus) override;
  std::int32_t Read(UsbHandle handle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                    std::uint32_t& bytesRead) override;

 private:
  std::vector<ReadBatch> batches_;
  bool loop_ = false;
  std::size_t next_ = 0;
};

}  // namespace raz::sim
