#pragma once
// The simulated board behind the vendor library's six operations. The board sends one report
// every 1/rate seconds while it is open; the reports wait in a bounded receive queue until the
// driver reads them. Plain 45-byte reports run at 460800 bit/s, framed 47-byte reports at
// 115200 bit/s: the link rate the driver sets chooses the framing, and the rate also caps the
// report rate at what the line can carry (10 bits per byte).
//
// Time comes from a Clock and is read on every call; reports are produced lazily for the
// report times that have passed since the last call, each with the pen as it was at its own
// report time.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>

#include "board/device_link.h"
#include "platform/clock.h"
#include "platform/vendor_usb.h"
#include "sim/board_model.h"
#include "sim/pen_state.h"

namespace raz::sim {

// Status codes of the simulated library; 0 is success, the rest are this simulator's own.
namespace SimStatus {
inline constexpr std::int32_t Success = 0x00;
inline constexpr std::int32_t InvalidHandle = 0x01;
inline constexpr std::int32_t ReadError = 0x02;
inline constexpr std::int32_t InvalidParameter = 0x12;
inline constexpr std::int32_t DeviceNotFound = 0xFF;
}  // namespace SimStatus

// Queue status word: bit 1 data waiting, bit 0 bytes were dropped since the last query.
inline constexpr std::uint32_t kQueueOverrun = 0x01;
inline constexpr std::uint32_t kQueueReady = 0x02;

struct SimBoardConfig {
  std::uint32_t reportsPerSecond = 200;
  std::size_t queueCapacity = 65536;
  std::uint32_t powerOnLinkRate = kPlainLinkRate;
  BoardModelConfig model{};
};

// A report the board has put on the line, with when its last byte became readable.
struct SentReport {
  std::uint64_t index;
  std::uint64_t readableMicros;
  PenState pen;
};

class SimBoard : public VendorUsb {
 public:
  explicit SimBoard(const Clock& clock, SimBoardConfig config = {});

  // Null means no pen and a cable that stays in. The source must outlive the board.
  void SetPenSource(const PenSource* source);
  // Told of every report as it becomes readable (the stand-in library's latency stamps).
  std::function<void(const SentReport&)> onReport;
  // The cable, by hand; the pen source's own plug state applies on top of it.
  void Plug();
  void Unplug();
  // The next count reads on the open handle fail and deliver nothing; the queued bytes stay.
  // Opening the board anew clears what is left of them.
  void FailNextReads(std::uint32_t count);

  bool Plugged() const;
  bool IsOpen() const { return openHandle_ != 0; }
  bool Framed() const { return linkRate_ == kFramedLinkRate; }
  std::uint32_t LinkRate() const { return linkRate_; }
  // Reports per second actually sent at the current link rate.
  std::uint32_t ReportRate() const;
  // Bytes waiting, brought up to the clock's time.
  std::size_t QueuedBytes();
  std::uint64_t ReportsSent() const { return reportsSent_; }
  // Handles handed out by opens, and those the driver closed again.
  std::uint32_t HandlesOpened() const { return opens_; }
  std::uint32_t HandlesClosed() const { return closes_; }
  std::uint64_t BytesDropped() const { return bytesDropped_; }
  const BoardModel& model() const { return model_; }

  std::int32_t ProbeDevices(std::uint32_t& deviceCount) override;
  std::int32_t OpenDevice(std::uint32_t deviceIndex, UsbHandle& handle) override;
  std::int32_t CloseDevice(UsbHandle handle) override;
  std::int32_t SetLinkRate(UsbHandle handle, std::uint32_t bitsPerSecond) override;
  std::int32_t QueueStatus(UsbHandle handle, std::uint32_t& bytesInQueue,
                           std::uint32_t& queueStatus) override;
  std::int32_t Read(UsbHandle handle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                    std::uint32_t& bytesRead) override;

 private:
  // Applies the cable and the reports up to the clock's time; returns that time.
  std::uint64_t Advance();
  void FollowSource(std::uint64_t now);
  void ProduceUntil(std::uint64_t now);
  void StreamFramesUntil(std::uint64_t now);
  bool QueueFull(std::uint64_t now);
  void Enqueue(const std::uint8_t* bytes, std::size_t size);
  void StartReportsAfter(std::uint64_t now);
  void Disconnect();
  // Success, or why a call on this handle cannot be served.
  std::int32_t CheckHandle(UsbHandle handle) const;
  std::uint64_t ReportTime(std::uint64_t index) const;
  std::uint64_t FirstReportAfter(std::uint64_t micros) const;
  PenState PenAt(std::uint64_t micros) const;

  const Clock& clock_;
  SimBoardConfig config_;
  BoardModel model_;
  const PenSource* source_ = nullptr;
  bool handPlugged_ = true;
  bool plugged_ = true;
  LinkCondition seen_;  // the source's counters already acted on
  std::uint32_t failuresPending_ = 0;
  std::uint32_t shortReadsPending_ = 0;
  UsbHandle openHandle_ = 0;
  std::uint32_t opens_ = 0;
  std::uint32_t closes_ = 0;
  std::set<UsbHandle> outstanding_;  // handed out and not yet closed
  ReportFrame sending_{};            // the frame on the line
  std::size_t frameBytesSent_ = 0;   // of it
  PenState sendingPen_;              // the pen it reports
  std::uint32_t linkRate_;
  std::deque<std::uint8_t> queue_;
  std::uint64_t nextReport_ = 0;
  std::uint64_t lastNow_ = 0;
  bool overrun_ = false;
  std::uint64_t reportsSent_ = 0;
  std::uint64_t bytesDropped_ = 0;
};

}  // namespace raz::sim
