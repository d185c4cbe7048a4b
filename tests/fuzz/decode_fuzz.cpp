// Arbitrary byte streams through whole poll ticks (read, decode, interpolate, map, pen state
// machine, injection), in both framings.
//
// Input layout: one option byte (bit 0 framing, bit 1 screen calibration running, bit 2 rate
// measurement, bit 3 key calibration running), two bytes for the Pen and PenRight settings,
// then batches, each a 16-bit little-endian header and its bytes. Header bits 0-14 give the
// batch length (cut at the end of the input, 0 meaning a tick without data); bit 15 repeats
// the batch until more than a receive buffer is queued.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "app/form1.h"
#include "support/test_platform.h"
#include "unit/board/fake_board_usb.h"

namespace {

constexpr std::size_t kOversizeQueue = raz::kReceiveBufferSize + 5000;
constexpr std::size_t kMaxTicks = 64;

struct Harness {
  raz::test::FakeBoardUsb usb;
  raz::test::TestPlatform platform{&usb};
  std::unique_ptr<raz::DriverState> state = std::make_unique<raz::DriverState>();
  raz::TForm1 form{*state, platform.platform};

  // The board is open, as after the device watch found it: a poll reads and decodes.
  void Reset(std::uint8_t options, std::int8_t pen, std::int8_t penRight) {
    state->link.LinkOpenPending = false;
    state->link.ReportFraming = raz::FramingFromStored(options & 1).value();
    state->calibration.Tour.CalibrationActive = (options >> 1) & 1;
    state->RateMeasurement = (options >> 2) & 1;
    state->keyCalibration.KeyCalibrationActive = (options >> 3) & 1;
    state->pen.PenTouchLimit = pen;
    state->pen.PenRightCentre = penRight;
    state->calibration.Stored.CalibrationScaleX = 1.0f;
    state->calibration.Stored.CalibrationScaleY = 1.0f;
  }

  // Everything a run allocated is freed before it ends: libFuzzer runs an input a second
  // time, looking for a leak, whenever a run leaves more allocations than it found.
  void Clear() {
    *state = raz::DriverState{};
    form.Memo1.Lines = {};
    form.Memo2.Lines = {};
    usb = raz::test::FakeBoardUsb{};
    platform.mouse.events = {};
    platform.messenger.posted = {};
    platform.shell.trayCalls = {};
  }
};

// The bytes repeated until more than a receive buffer is queued.
std::vector<std::uint8_t> Repeated(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const std::size_t copies = kOversizeQueue / size + 1;
  std::vector<std::uint8_t> batch(copies * size);
  std::memcpy(batch.data(), data, size);
  // Doubling what is already there keeps the copies few even for one-byte patterns.
  for (std::size_t filled = size; filled < batch.size(); filled *= 2) {
    std::memcpy(batch.data() + filled, batch.data(), std::min(filled, batch.size() - filled));
  }
  return batch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;
  if (size < 3) return 0;
  harness.Reset(data[0], static_cast<std::int8_t>(data[1]), static_cast<std::int8_t>(data[2]));
  std::size_t at = 3;
  for (std::size_t tick = 0; tick < kMaxTicks && at + 2 <= size; ++tick) {
    const std::uint16_t header = static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
    at += 2;
    const std::size_t length = std::min<std::size_t>(header & 0x7FFF, size - at);
    if (length > 0) {
      harness.usb.batches.push_back((header & 0x8000) != 0
                                        ? Repeated(data + at, length)
                                        : std::vector<std::uint8_t>(data + at, data + at + length));
    }
    at += length;
    harness.form.Timer1Timer();
  }
  harness.Clear();
  return 0;
}
