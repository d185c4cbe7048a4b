#include "sim/sim_board.h"

#include <algorithm>

#include "sim/report_bytes.h"

namespace raz::sim {
namespace {

constexpr std::uint64_t kMicrosPerSecond = 1'000'000;
constexpr std::uint32_t kBitsPerByte = 10;  // start bit, eight data bits, stop bit
constexpr UsbHandle kHandleBase = 0x5100;

}  // namespace

SimBoard::SimBoard(const Clock& clock, SimBoardConfig config)
    : clock_(clock), config_(config), model_(config.model), linkRate_(config.powerOnLinkRate) {
  lastNow_ = clock_.NowMicros();
}

void SimBoard::SetPenSource(const PenSource* source) {
  source_ = source;
  // Only what happens from now on counts; the source's history is not replayed.
  seen_ = source_ ? source_->LinkAt(clock_.NowMicros()) : LinkCondition{};
}

void SimBoard::Plug() { handPlugged_ = true; }

void SimBoard::Unplug() {
  handPlugged_ = false;
  Disconnect();
}

void SimBoard::FailNextReads(std::uint32_t count) { failuresPending_ += count; }

bool SimBoard::Plugged() const {
  return handPlugged_ && (!source_ || source_->LinkAt(clock_.NowMicros()).plugged);
}

std::uint32_t SimBoard::ReportRate() const {
  const std::uint32_t bytesPerReport = Framed() ? kFrameSize : kPlainReportSize;
  return std::min(config_.reportsPerSecond, linkRate_ / (kBitsPerByte * bytesPerReport));
}

std::size_t SimBoard::QueuedBytes() {
  Advance();
  return queue_.size();
}

std::int32_t SimBoard::ProbeDevices(std::uint32_t& deviceCount) {
  Advance();
  deviceCount = plugged_ ? 1 : 0;
  return plugged_ ? SimStatus::Success : SimStatus::DeviceNotFound;
}

std::int32_t SimBoard::OpenDevice(std::uint32_t deviceIndex, UsbHandle& handle) {
  const std::uint64_t now = Advance();
  if (!plugged_ || deviceIndex != 0) return SimStatus::DeviceNotFound;
  // Opening an open board hands out a new handle and retires the old one, as a fresh open
  // after an unnoticed reset would.
  queue_.clear();
  overrun_ = false;
  // A board opened anew starts clean: read errors pending on the old handle are gone with it.
  failuresPending_ = 0;
  shortReadsPending_ = 0;
  ++opens_;
  openHandle_ = kHandleBase + opens_;
  outstanding_.insert(openHandle_);
  StartReportsAfter(now);
  handle = openHandle_;
  return SimStatus::Success;
}

std::int32_t SimBoard::CloseDevice(UsbHandle handle) {
  Advance();
  // A handle of before an unplug is released too, though the board behind it is gone.
  if (outstanding_.erase(handle) > 0) ++closes_;
  const std::int32_t status = CheckHandle(handle);
  if (status == SimStatus::Success) {
    openHandle_ = 0;
    queue_.clear();
  }
  return status;
}

std::int32_t SimBoard::SetLinkRate(UsbHandle handle, std::uint32_t bitsPerSecond) {
  const std::uint64_t now = Advance();
  const std::int32_t status = CheckHandle(handle);
  if (status != SimStatus::Success) return status;
  if (bitsPerSecond != kPlainLinkRate && bitsPerSecond != kFramedLinkRate) {
    return SimStatus::InvalidParameter;
  }
  linkRate_ = bitsPerSecond;
  StartReportsAfter(now);
  return SimStatus::Success;
}

std::int32_t SimBoard::QueueStatus(UsbHandle handle, std::uint32_t& bytesInQueue,
                                   std::uint32_t& queueStatus) {
  Advance();
  const std::int32_t status = CheckHandle(handle);
  if (status != SimStatus::Success) return status;
  bytesInQueue = static_cast<std::uint32_t>(queue_.size());
  queueStatus = (queue_.empty() ? 0 : kQueueReady) | (overrun_ ? kQueueOverrun : 0);
  overrun_ = false;
  return SimStatus::Success;
}

std::int32_t SimBoard::Read(UsbHandle handle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                            std::uint32_t& bytesRead) {
  Advance();
  bytesRead = 0;
  const std::int32_t status = CheckHandle(handle);
  if (status != SimStatus::Success) return status;
  if (buffer == nullptr && bytesToRead > 0) return SimStatus::InvalidParameter;
  if (failuresPending_ > 0) {
    --failuresPending_;
    return SimStatus::ReadError;
  }
  std::size_t count = std::min<std::size_t>(bytesToRead, queue_.size());
  if (shortReadsPending_ > 0 && count > 0) {
    --shortReadsPending_;
    count /= 2;  // the rest stays queued for the next read
  }
  std::copy_n(queue_.begin(), count, buffer);
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
  bytesRead = static_cast<std::uint32_t>(count);
  return SimStatus::Success;
}

std::uint64_t SimBoard::Advance() {
  // A clock that steps back (a test resetting its virtual time) simply holds still.
  const std::uint64_t now = std::max(clock_.NowMicros(), lastNow_);
  lastNow_ = now;
  FollowSource(now);
  if (IsOpen()) ProduceUntil(now);
  return now;
}

void SimBoard::FollowSource(std::uint64_t now) {
  const LinkCondition link = source_ ? source_->LinkAt(now) : LinkCondition{};
  if (link.unplugCount != seen_.unplugCount) Disconnect();
  if (link.readFailures > seen_.readFailures) {
    failuresPending_ += link.readFailures - seen_.readFailures;
  }
  if (link.shortReads > seen_.shortReads) shortReadsPending_ += link.shortReads - seen_.shortReads;
  seen_ = link;
  plugged_ = handPlugged_ && link.plugged;
  if (!plugged_) Disconnect();
}

void SimBoard::ProduceUntil(std::uint64_t now) {
  if (ReportRate() == 0) return;
  if (Framed()) {
    StreamFramesUntil(now);
    return;
  }
  while (ReportTime(nextReport_) <= now) {
    if (QueueFull(now)) return;
    const PenState pen = PenAt(ReportTime(nextReport_));
    const PlainReport report = model_.Report(pen, nextReport_);
    Enqueue(report.data(), report.size());
    if (onReport) onReport({nextReport_, ReportTime(nextReport_), pen});
    ++nextReport_;
    ++reportsSent_;
  }
}

// Frames go over the serial line byte by byte, ten bits each: a read gets what has arrived,
// whatever part of a frame that is.
void SimBoard::StreamFramesUntil(std::uint64_t now) {
  while (ReportTime(nextReport_) <= now) {
    const std::uint64_t start = ReportTime(nextReport_);
    if (frameBytesSent_ == 0) {
      if (QueueFull(now)) return;
      sendingPen_ = PenAt(start);
      sending_ = FrameReport(model_.Report(sendingPen_, nextReport_));
    }
    const std::uint64_t arrived =
        (now - start) * (linkRate_ / kBitsPerByte) / kMicrosPerSecond;  // bytes on the line
    const std::size_t due = static_cast<std::size_t>(std::min<std::uint64_t>(arrived, kFrameSize));
    Enqueue(sending_.data() + frameBytesSent_, due - frameBytesSent_);
    frameBytesSent_ = due;
    if (frameBytesSent_ < kFrameSize) return;
    if (onReport) {
      const std::uint64_t byteRate = linkRate_ / kBitsPerByte;
      const std::uint64_t onTheLine = (kFrameSize * kMicrosPerSecond + byteRate - 1) / byteRate;
      onReport({nextReport_, start + onTheLine, sendingPen_});
    }
    frameBytesSent_ = 0;
    ++nextReport_;
    ++reportsSent_;
  }
}

// Everything the board sends into a full queue is lost; it skips ahead without building it.
bool SimBoard::QueueFull(std::uint64_t now) {
  if (queue_.size() < config_.queueCapacity) return false;
  const std::uint64_t resume = FirstReportAfter(now);
  bytesDropped_ += (resume - nextReport_) * (Framed() ? kFrameSize : kPlainReportSize);
  overrun_ = true;
  nextReport_ = resume;
  return true;
}

void SimBoard::Enqueue(const std::uint8_t* bytes, std::size_t size) {
  // A nearly full queue takes what fits and loses the rest, as a UART would.
  const std::size_t room = std::min(size, config_.queueCapacity - queue_.size());
  queue_.insert(queue_.end(), bytes, bytes + room);
  if (room < size) {
    bytesDropped_ += size - room;
    overrun_ = true;
  }
}

void SimBoard::StartReportsAfter(std::uint64_t now) {
  nextReport_ = FirstReportAfter(now);
  frameBytesSent_ = 0;
}

void SimBoard::Disconnect() {
  openHandle_ = 0;
  frameBytesSent_ = 0;
  queue_.clear();
  overrun_ = false;
  linkRate_ = config_.powerOnLinkRate;
}

std::int32_t SimBoard::CheckHandle(UsbHandle handle) const {
  if (!plugged_) return SimStatus::DeviceNotFound;
  if (handle == 0 || handle != openHandle_) return SimStatus::InvalidHandle;
  return SimStatus::Success;
}

std::uint64_t SimBoard::ReportTime(std::uint64_t index) const {
  return index * kMicrosPerSecond / ReportRate();
}

std::uint64_t SimBoard::FirstReportAfter(std::uint64_t micros) const {
  const std::uint64_t rate = ReportRate();
  if (rate == 0) return 0;
  // Smallest index whose report time, index * 1e6 / rate rounded down, exceeds micros.
  return ((micros + 1) * rate + kMicrosPerSecond - 1) / kMicrosPerSecond;
}

PenState SimBoard::PenAt(std::uint64_t micros) const {
  return source_ ? source_->PenAt(micros) : PenState{};
}

}  // namespace raz::sim
