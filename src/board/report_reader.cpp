#include "board/report_reader.h"

#include <algorithm>

namespace raz {
namespace {

constexpr std::size_t kFrameLength = kReportStoreSlots;

// The kept bytes followed by this read's, without copying either.
class FrameStream {
 public:
  FrameStream(const FrameCarry& carry, std::span<const std::uint8_t> received)
      : carry_(carry), received_(received) {}
  std::size_t size() const { return carry_.Length + received_.size(); }
  std::uint8_t operator[](std::size_t i) const {
    return i < carry_.Length ? carry_.Bytes[i] : received_[i - carry_.Length];
  }
  // A frame starts here only when its start, trailer and end bytes have all arrived.
  bool FrameAt(std::size_t i) const {
    return i + kEndSlot < size() && (*this)[i] == kFrameStart &&
           (*this)[i + kTrailerSlot] == kFrameTrailer && (*this)[i + kEndSlot] == kFrameEnd;
  }

 private:
  const FrameCarry& carry_;
  std::span<const std::uint8_t> received_;
};

}  // namespace

std::optional<std::size_t> FetchReports(VendorUsb& usb, UsbHandle link, ReceiveBytes& buffer) {
  std::uint32_t queued = 0;
  std::uint32_t queueStatus = 0;
  if (usb.QueueStatus(link, queued, queueStatus) != 0) return std::nullopt;
  const auto request = static_cast<std::uint32_t>(std::min<std::size_t>(queued, buffer.size()));
  std::uint32_t bytesRead = 0;
  if (usb.Read(link, buffer.data(), request, bytesRead) != 0) return std::nullopt;
  // A short read leaves stale bytes behind the ones it brought; a library that claims more
  // than was asked for is not believed.
  return std::min(bytesRead, request);
}

void StorePlainReport(std::span<const std::uint8_t> received, ReportSlots& store) {
  const std::size_t count = std::min(received.size(), store.size() - 1);
  for (std::size_t k = 0; k < count; ++k) store[k + 1] = received[k];
}

bool StoreFramedReport(std::span<const std::uint8_t> received, FrameCarry& carry,
                       ReportSlots& store) {
  const FrameStream stream(carry, received);
  const std::size_t size = stream.size();
  std::size_t judgedUpTo = 0;  // bytes before this are settled and dropped
  bool stored = false;
  for (std::size_t i = 0; i + kEndSlot < size; ++i) {
    if (!stream.FrameAt(i)) continue;
    // A frame cut short by lost bytes can look whole with the bytes of the next one; a whole
    // frame that starts inside it is the real one.
    for (std::size_t j = i + 1; j < i + kFrameLength; ++j) {
      if (stream.FrameAt(j)) i = j;
    }
    for (std::size_t k = 0; k < kFrameLength; ++k) store[k] = stream[i + k];
    stored = true;
    judgedUpTo = i + kFrameLength;
    break;
  }
  // Keep what may still begin a frame: the first start byte whose tail has not arrived. A
  // second whole frame in the same read is dropped with the rest, as the first one wins.
  std::size_t keep = std::max(judgedUpTo, size >= kEndSlot ? size - kEndSlot : 0);
  while (keep < size && stream[keep] != kFrameStart) ++keep;
  FrameCarry next;
  next.Length = size - keep;
  for (std::size_t k = 0; k < next.Length; ++k) next.Bytes[k] = stream[keep + k];
  carry = next;
  return stored;
}

ReadResult ReadReports(VendorUsb& usb, UsbHandle link, ReportFraming framing, ReaderState& reader) {
  ReadResult result;
  const std::optional<std::size_t> received = FetchReports(usb, link, reader.ReceiveBuffer);
  if (!received) {
    result.LinkFailed = true;
    reader.DataReceived = false;
    return result;
  }
  result.Received = *received;
  reader.DataReceived = *received > 0;
  if (*received == 0) return result;
  const auto bytes = std::span<const std::uint8_t>(reader.ReceiveBuffer).first(*received);
  if (framing == ReportFraming::Plain) {
    StorePlainReport(bytes, reader.ReportStore);
    result.NewReport = true;
  } else {
    reader.FrameComplete = StoreFramedReport(bytes, reader.Carry, reader.ReportStore);
    result.NewReport = reader.FrameComplete;
  }
  return result;
}

bool WholeFrameStored(const ReaderState& reader) {
  return reader.FrameComplete && reader.ReportStore.front() == kFrameStart &&
         reader.ReportStore.back() == kFrameEnd;
}

}  // namespace raz
