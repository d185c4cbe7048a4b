#include "board/report_reader.h"

#include <algorithm>

#include "board/report_status.h"

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

namespace {

constexpr std::size_t kNoFrame = static_cast<std::size_t>(-1);

// The first frame at or after `from` whose start, trailer and end bytes have all arrived.
std::size_t FindFrame(const FrameStream& stream, std::size_t from) {
  for (std::size_t i = from; i + kEndSlot < stream.size(); ++i) {
    if (!stream.FrameAt(i)) continue;
    // A frame cut short by lost bytes can look whole with the bytes of the next one; a whole
    // frame that starts inside it is the real one.
    for (std::size_t j = i + 1; j < i + kFrameLength; ++j) {
      if (stream.FrameAt(j)) i = j;
    }
    return i;
  }
  return kNoFrame;
}

void StoreFrameAt(const FrameStream& stream, std::size_t at, ReportSlots& store) {
  for (std::size_t k = 0; k < kFrameLength; ++k) store[k] = stream[at + k];
}

// Keep what may still begin a frame: the first start byte whose tail has not arrived.
FrameCarry CarryAfter(const FrameStream& stream, std::size_t judgedUpTo) {
  const std::size_t size = stream.size();
  std::size_t keep = std::max(judgedUpTo, size >= kEndSlot ? size - kEndSlot : 0);
  while (keep < size && stream[keep] != kFrameStart) ++keep;
  FrameCarry next;
  next.Length = size - keep;
  for (std::size_t k = 0; k < next.Length; ++k) next.Bytes[k] = stream[keep + k];
  return next;
}

}  // namespace

bool StoreFramedReport(std::span<const std::uint8_t> received, FrameCarry& carry,
                       ReportSlots& store) {
  const FrameStream stream(carry, received);
  // A second whole frame in the same read is dropped with the rest, as the first one wins.
  const std::size_t at = FindFrame(stream, 0);
  if (at != kNoFrame) StoreFrameAt(stream, at, store);
  carry = CarryAfter(stream, at == kNoFrame ? 0 : at + kFrameLength);
  return at != kNoFrame;
}

std::size_t StoreEveryReport(std::span<const std::uint8_t> received, ReportFraming framing,
                             ReaderState& reader, const ReportTaker& take) {
  if (framing == ReportFraming::Plain) {
    const std::size_t count = std::max<std::size_t>(1, received.size() / kPlainReportBytes);
    for (std::size_t i = 0; i < count; ++i) {
      StorePlainReport(received.subspan(i * kPlainReportBytes), reader.ReportStore);
      take(i, count);
    }
    return count;
  }
  const std::size_t estimate = std::max<std::size_t>(1, received.size() / kFrameLength);
  const FrameStream stream(reader.Carry, received);
  std::size_t count = 0;
  std::size_t from = 0;
  for (std::size_t at = FindFrame(stream, 0); at != kNoFrame; at = FindFrame(stream, from)) {
    StoreFrameAt(stream, at, reader.ReportStore);
    reader.FrameComplete = true;
    take(count, std::max(estimate, count + 1));
    from = at + kFrameLength;
    ++count;
  }
  reader.Carry = CarryAfter(stream, from);
  return count;
}

namespace {

// This read's bytes, or nothing when the link failed or nothing came.
std::optional<std::span<const std::uint8_t>> FetchInto(VendorUsb& usb, UsbHandle link,
                                                        ReaderState& reader, ReadResult& result) {
  const std::optional<std::size_t> received = FetchReports(usb, link, reader.ReceiveBuffer);
  result.LinkFailed = !received;
  result.Received = received.value_or(0);
  reader.DataReceived = result.Received > 0;
  if (result.Received == 0) return std::nullopt;
  return std::span<const std::uint8_t>(reader.ReceiveBuffer).first(result.Received);
}

}  // namespace

ReadResult ReadReports(VendorUsb& usb, UsbHandle link, ReportFraming framing, ReaderState& reader) {
  ReadResult result;
  const auto bytes = FetchInto(usb, link, reader, result);
  if (!bytes) return result;
  if (framing == ReportFraming::Plain) {
    StorePlainReport(*bytes, reader.ReportStore);
    result.NewReport = true;
  } else {
    reader.FrameComplete = StoreFramedReport(*bytes, reader.Carry, reader.ReportStore);
    result.NewReport = reader.FrameComplete;
  }
  return result;
}

ReadResult ReadEveryReport(VendorUsb& usb, UsbHandle link, ReportFraming framing,
                           ReaderState& reader, const ReportTaker& take) {
  ReadResult result;
  const auto bytes = FetchInto(usb, link, reader, result);
  if (!bytes) return result;
  if (framing == ReportFraming::Framed) reader.FrameComplete = false;
  result.NewReport = StoreEveryReport(*bytes, framing, reader, take) > 0;
  return result;
}

bool WholeFrameStored(const ReaderState& reader) {
  return reader.FrameComplete && reader.ReportStore.front() == kFrameStart &&
         reader.ReportStore.back() == kFrameEnd;
}

}  // namespace raz

namespace raz {

bool ReportShowsPen(const ReportSlots& store, const PenSettings& pen) {
  const auto rowY = std::span<const std::int32_t>(store).subspan(kRowYFirstSlot, kSensorsPerAxis);
  const std::int32_t levelY = *std::max_element(rowY.begin(), rowY.end());
  return DecodeStatus(store[1], store[2], levelY, pen) != PenStatus::NoPen;
}

bool PlainReadShowsPen(std::span<const std::uint8_t> received, const PenSettings& pen) {
  for (std::size_t at = 0; at + kPlainReportBytes <= received.size(); at += kPlainReportBytes) {
    ReportSlots report{};
    StorePlainReport(received.subspan(at, kPlainReportBytes), report);
    if (ReportShowsPen(report, pen)) return true;
  }
  return false;
}

}  // namespace raz
