// Capture text through the reader, and the batches it gives through the capture board and the
// recorder: a batch read as the driver reads it (as many bytes as the queue says) and recorded
// again must read back as the same batch.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <vector>

#include "sim/capture_board.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace raz::sim;
  const CaptureParse parse =
      ParseCapture(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!parse.errors.empty()) return 0;

  CaptureBoard board(parse.batches);
  std::ostringstream recording;
  RecordingUsb recorder(board, recording);
  std::uint32_t count = 0;
  raz::UsbHandle handle = 0;
  recorder.ProbeDevices(count);
  recorder.OpenDevice(0, handle);
  std::vector<std::uint8_t> buffer;
  while (!board.Finished()) {
    std::uint32_t queued = 0;
    std::uint32_t status = 0;
    std::uint32_t read = 0;
    recorder.QueueStatus(handle, queued, status);
    buffer.assign(queued, 0);
    recorder.Read(handle, buffer.data(), queued, read);
    if (read != queued) std::abort();
  }
  const CaptureParse again = ParseCapture(recording.str());
  if (!again.errors.empty() || again.batches != parse.batches) std::abort();
  return 0;
}
