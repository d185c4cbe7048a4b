#include "board/report_reader.h"

#include <algorithm>

namespace raz {
namespace {

constexpr std::size_t kFrameLength = kReportStoreSlots;

// The trailer and end bytes are looked up in the buffer even past the bytes just received,
// where an earlier read's data still lies; past the end of the buffer nothing matches.
bool FrameStartsAt(const ReceiveBytes& buffer, std::size_t i) {
  if (i + kEndSlot >= buffer.size()) return false;
  return buffer[i] == kFrameStart && buffer[i + kTrailerSlot] == kFrameTrailer &&
         buffer[i + kEndSlot] == kFrameEnd;
}

}  // namespace

std::size_t FetchReports(VendorUsb& usb, UsbHandle link, ReceiveBytes& buffer) {
  std::uint32_t queued = 0;
  std::uint32_t queueStatus = 0;
  if (usb.QueueStatus(link, queued, queueStatus) != 0) return 0;
  const auto request = static_cast<std::uint32_t>(std::min<std::size_t>(queued, buffer.size()));
  std::uint32_t bytesRead = 0;
  if (usb.Read(link, buffer.data(), request, bytesRead) != 0) return 0;
  return request;
}

void StorePlainReport(std::span<const std::uint8_t> received, ReportSlots& store) {
  const std::size_t count = std::min(received.size(), store.size() - 1);
  for (std::size_t k = 0; k < count; ++k) store[k + 1] = received[k];
}

bool StoreFramedReport(const ReceiveBytes& buffer, std::size_t received, FrameSync& sync,
                       ReportSlots& store) {
  // Only a frame in progress carries its place over from the previous read.
  if (!sync.Syncing || sync.StoreIndex >= kFrameLength) sync.StoreIndex = 0;
  const std::size_t end = std::min(received, buffer.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (FrameStartsAt(buffer, i)) {
      sync.Syncing = true;
      sync.StoreIndex = 0;
    }
    if (!sync.Syncing) continue;
    store[sync.StoreIndex] = buffer[i];
    ++sync.StoreIndex;
    if (sync.StoreIndex == kFrameLength) {
      sync.Syncing = false;
      return true;
    }
  }
  return false;
}

std::size_t ReadReports(VendorUsb& usb, UsbHandle link, std::int32_t framing, ReaderState& reader) {
  const std::size_t received = FetchReports(usb, link, reader.ReceiveBuffer);
  reader.DataReceived = received > 0;
  if (received == 0) return received;
  if (framing == kPlainFraming) {
    StorePlainReport(std::span(reader.ReceiveBuffer).first(std::min(received, kReceiveBufferSize)),
                     reader.ReportStore);
  } else if (framing == kFramedFraming) {
    reader.FrameComplete =
        StoreFramedReport(reader.ReceiveBuffer, received, reader.Sync, reader.ReportStore);
  }
  return received;
}

bool WholeFrameStored(const ReaderState& reader) {
  return reader.FrameComplete && reader.ReportStore.front() == kFrameStart &&
         reader.ReportStore.back() == kFrameEnd;
}

}  // namespace raz
