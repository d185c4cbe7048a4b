#include "recorder.h"

#include <algorithm>
#include <vector>

#include "board/board_state.h"
#include "board/device_link.h"
#include "sim/capture_board.h"

namespace raz::record {
namespace {

constexpr std::uint64_t kMicrosPerMs = 1000;

// One poll as the driver's report fetch makes it: ask what waits, read that much (at most the
// driver's receive buffer). A refused call leaves the driver with nothing, so it is a "-" line.
struct Poll {
  bool failed = false;
  std::int32_t status = 0;
  std::uint32_t count = 0;
};

Poll PollOnce(VendorUsb& usb, UsbHandle handle, std::vector<std::uint8_t>& buffer) {
  std::uint32_t queued = 0;
  std::uint32_t queueStatus = 0;
  Poll poll;
  poll.status = usb.QueueStatus(handle, queued, queueStatus);
  if (poll.status != 0) {
    poll.failed = true;
    return poll;
  }
  const auto request = static_cast<std::uint32_t>(std::min<std::size_t>(queued, buffer.size()));
  std::uint32_t got = 0;
  poll.status = usb.Read(handle, buffer.data(), request, got);
  if (poll.status != 0) {
    poll.failed = true;
    return poll;
  }
  // Only the bytes the library says it delivered are the board's.
  poll.count = std::min(got, request);
  return poll;
}

}  // namespace

RecordSummary RecordBoard(VendorUsb& usb, const Clock& clock, const WaitForTick& waitForTick,
                          const RecordSettings& settings, std::ostream& capture) {
  RecordSummary summary;
  std::uint32_t deviceCount = 0;
  summary.status = usb.ProbeDevices(deviceCount);
  if (summary.status != 0) {
    summary.outcome = RecordOutcome::BoardAbsent;
    return summary;
  }
  UsbHandle handle = 0;
  summary.status = usb.OpenDevice(0, handle);
  if (summary.status != 0) {
    summary.outcome = RecordOutcome::OpenRefused;
    return summary;
  }
  if (const auto framing = FramingFromStored(settings.framing)) {
    summary.linkRate = LinkRateFor(*framing);
  }
  capture << "# framing " << settings.framing;
  if (summary.linkRate) {
    summary.linkRateStatus = usb.SetLinkRate(handle, *summary.linkRate);
    capture << ", link rate " << *summary.linkRate << " bit/s (status " << summary.linkRateStatus
            << ")";
  } else {
    capture << ", no link rate set (the driver sets none for this framing)";
  }
  capture << "\n# one line per poll, every " << settings.pollMs << " ms, for " << settings.seconds
          << " s\n";

  std::vector<std::uint8_t> buffer(kReceiveBufferSize);
  const std::uint64_t start = clock.NowMicros();
  const std::uint64_t length = std::uint64_t{settings.seconds} * 1'000'000;
  std::uint64_t previous = start;
  for (;;) {
    waitForTick();
    const std::uint64_t now = clock.NowMicros();
    if (now - start > length) break;
    summary.longestGapMicros = std::max(summary.longestGapMicros, now - previous);
    previous = now;
    const Poll poll = PollOnce(usb, handle, buffer);
    ++summary.polls;
    if (poll.failed) {
      ++summary.failedPolls;
      if (!summary.firstFailureMicros) {
        summary.firstFailureMicros = now - start;
        capture << "# poll " << summary.polls << " at " << (now - start) / kMicrosPerMs
                << " ms: the library refused (status " << poll.status << ")\n";
      }
    }
    if (poll.count > 0) {
      ++summary.pollsWithData;
      summary.bytes += poll.count;
    }
    capture << sim::FormatCaptureLine(buffer.data(), poll.count) << '\n';
  }
  usb.CloseDevice(handle);
  capture << "# " << summary.polls << " polls, " << summary.pollsWithData << " with data, "
          << summary.bytes << " bytes, " << summary.failedPolls << " refused; longest gap "
          << summary.longestGapMicros / kMicrosPerMs << " ms\n";
  return summary;
}

}  // namespace raz::record
