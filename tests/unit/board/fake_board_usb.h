#pragma once
// A vendor library over a scripted board: batches of report bytes to hand out, presence and
// results that tests switch, and a log of the link calls.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/vendor_usb.h"

namespace raz::test {

class FakeBoardUsb : public VendorUsb {
 public:
  std::int32_t ProbeDevices(std::uint32_t& deviceCount) override {
    deviceCount = present ? 1 : 0;
    return present ? 0 : 1;
  }
  std::int32_t OpenDevice(std::uint32_t deviceIndex, UsbHandle& handle) override {
    linkCalls.push_back("open " + std::to_string(deviceIndex));
    if (!present) return 1;
    if (openResult == 0) handle = nextHandle++;
    return openResult;
  }
  std::int32_t CloseDevice(UsbHandle handle) override {
    linkCalls.push_back("close " + std::to_string(handle));
    return 0;
  }
  std::int32_t SetLinkRate(UsbHandle handle, std::uint32_t bitsPerSecond) override {
    linkCalls.push_back("rate " + std::to_string(handle) + " " + std::to_string(bitsPerSecond));
    return 0;
  }
  std::int32_t QueueStatus(UsbHandle, std::uint32_t& bytesInQueue, std::uint32_t&) override {
    bytesInQueue = batches.empty() ? 0 : static_cast<std::uint32_t>(batches.front().size());
    return queueStatusResult;
  }
  // Hands out the front batch, or as much of it as was asked for.
  std::int32_t Read(UsbHandle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                    std::uint32_t& bytesRead) override {
    bytesRead = 0;
    if (readResult != 0 || batches.empty()) return readResult;
    std::vector<std::uint8_t>& batch = batches.front();
    bytesRead = std::min<std::uint32_t>(bytesToRead, static_cast<std::uint32_t>(batch.size()));
    if (shortReadBytes > 0) bytesRead = std::min(bytesRead, shortReadBytes);
    std::copy_n(batch.begin(), bytesRead, buffer);
    batch.erase(batch.begin(), batch.begin() + bytesRead);
    if (batch.empty()) batches.pop_front();
    bytesRead += claimExtraBytes;  // a library that says it read more than it did
    return 0;
  }

  bool present = true;
  std::int32_t openResult = 0;
  std::int32_t queueStatusResult = 0;
  std::int32_t readResult = 0;
  std::uint32_t shortReadBytes = 0;  // when set, a read brings at most this many bytes
  std::uint32_t claimExtraBytes = 0;
  UsbHandle nextHandle = 101;
  std::deque<std::vector<std::uint8_t>> batches;
  std::vector<std::string> linkCalls;  // "open 0", "close 101", "rate 101 460800"
};

}  // namespace raz::test
