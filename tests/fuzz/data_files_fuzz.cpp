// The four data files through the real start-up load, then in use: the device watch opens the
// board and touches at the corners and the centre are mapped through whatever calibration the
// files gave. Also checks that a decoded calibration record survives a save and a load.
//
// Input layout: one byte, bits 0-3 the presence of server.txt, server11.txt, server111.txt
// and server1111.txt, bits 4-5 the display (1024x768, 1920x1080, 800x600, 3840x2160); one
// byte with the lengths of the three flag files, two bits each (0, 2, 4 or 6 bytes); the flag
// files' bytes in that order; server.txt is the rest.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "app/form1.h"
#include "memory_platform.h"
#include "sim/board_model.h"
#include "storage/data_files.h"
#include "unit/board/fake_board_usb.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kFlagFiles[] = {raz::kAutostartFileName, raz::kFramingFileName,
                                      raz::kBoardModelFileName};
constexpr int kDisplays[][2] = {{1024, 768}, {1920, 1080}, {800, 600}, {3840, 2160}};

// Touches near the corners and in the centre of the coded area, then no pen; each as a plain
// report and as a frame.
struct Reports {
  std::vector<Bytes> plain;
  std::vector<Bytes> framed;

  Reports() {
    const raz::sim::BoardModel model;
    const raz::sim::CellPoint points[] = {{2, 2}, {145, 2}, {73.5, 73.5}, {2, 145}, {145, 145}};
    std::uint64_t index = 0;
    for (const auto& p : points) Add(model.Report({raz::sim::PenContact::Touch, p, 1.0}, index++));
    Add(model.Report({}, index));
  }
  void Add(const raz::sim::PlainReport& report) {
    plain.emplace_back(report.begin(), report.end());
    const raz::sim::ReportFrame frame = raz::sim::FrameReport(report);
    framed.emplace_back(frame.begin(), frame.end());
  }
};

bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// What a load gives must come back unchanged from a save and a second load.
void CheckRoundTrip(std::span<const std::uint8_t> bytes) {
  const raz::CalibrationRecord first = raz::DecodeCalibrationRecord(bytes);
  const raz::CalibrationRecord again =
      raz::DecodeCalibrationRecord(raz::EncodeCalibrationRecord(first, {110, 110, 110, 110}));
  bool same =
      SameBits(first.CalibrationScaleX, again.CalibrationScaleX) &&
      SameBits(first.CalibrationScaleY, again.CalibrationScaleY) &&
      first.ScreenOffsetX == again.ScreenOffsetX && first.ScreenOffsetY == again.ScreenOffsetY &&
      first.ReservedWord == again.ReservedWord && first.ReservedLevel == again.ReservedLevel;
  for (std::size_t k = 0; k < first.CalibrationPoints.size(); ++k) {
    same = same && SameBits(first.CalibrationPoints[k].x, again.CalibrationPoints[k].x) &&
           SameBits(first.CalibrationPoints[k].y, again.CalibrationPoints[k].y);
  }
  if (!same) std::abort();
}

struct Harness {
  raz::test::FakeBoardUsb usb;
  raz::fuzz::MemoryPlatform memory{usb};
  Reports reports;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;
  if (size < 2) return 0;
  raz::fuzz::MemoryPlatform& memory = harness.memory;
  const std::uint8_t present = data[0];
  const int* display = kDisplays[(data[0] >> 4) & 3];
  memory.display.Set(display[0], display[1]);

  std::size_t at = 2;
  for (int i = 0; i < 3; ++i) {
    const std::size_t length = std::min<std::size_t>(2 * ((data[1] >> (2 * i)) & 3), size - at);
    if (present & (2 << i)) {
      memory.files.files[raz::ProgramFile(memory.files, kFlagFiles[i])] =
          Bytes(data + at, data + at + length);
    }
    at += length;
  }
  const std::span<const std::uint8_t> calibration(data + at, size - at);
  if (present & 1) {
    memory.files.files[raz::ProgramFile(memory.files, raz::kCalibrationFileName)] =
        Bytes(calibration.begin(), calibration.end());
  }
  CheckRoundTrip(calibration);

  auto state = std::make_unique<raz::DriverState>();
  raz::TForm1 form(*state, memory.platform);
  form.FormCreate();
  form.Timer2Timer();
  const auto& batches = state->link.ReportFraming == raz::ReportFraming::Framed
                            ? harness.reports.framed
                            : harness.reports.plain;
  for (const Bytes& batch : batches) {
    harness.usb.batches.push_back(batch);
    form.Timer1Timer();
  }
  // Everything the run allocated is freed before it ends (see memory_platform.h).
  memory.Clear();
  harness.usb = raz::test::FakeBoardUsb{};
  return 0;
}
