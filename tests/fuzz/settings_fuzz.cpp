// VaziZod.ini text as a user's editor may leave it: the real start-up and the settings dialog
// read every key they read from it, and poll ticks then decode reports with the pen settings
// and the key layout that came out of it. No input may crash them, and an integer the program
// reads is written back as text that reads as the same integer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"
#include "app/form2.h"
#include "memory_platform.h"
#include "sim/board_model.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "unit/board/fake_board_usb.h"

namespace {

// An integer the program reads is written back as text that reads as the same integer.
void CheckIntegerRoundTrip(std::string_view text) {
  const std::optional<std::int32_t> value = raz::ParseProfileInteger(text);
  if (value && raz::ParseProfileInteger(std::to_string(*value)) != value) std::abort();
}

// A touch in the middle and on either margin, where the virtual keys are, then a hover, the
// pen's button and no pen, as plain reports of a mixed board.
std::vector<std::vector<std::uint8_t>> MakeReports() {
  using raz::sim::PenContact;
  const raz::sim::BoardModel model;
  const raz::sim::PenState pens[] = {
      {PenContact::Touch, {73.5, 73.5}, 1.0},       {PenContact::Touch, {36, 90}, 1.0},
      {PenContact::Touch, {143, 90}, 1.0},          {PenContact::Hover, {73.5, 73.5}, 1.0},
      {PenContact::RightButton, {73.5, 73.5}, 1.0}, {}};
  std::vector<std::vector<std::uint8_t>> reports;
  std::uint64_t index = 0;
  for (const auto& pen : pens) {
    const raz::sim::PlainReport r = model.Report(pen, index++);
    reports.emplace_back(r.begin(), r.end());
  }
  return reports;
}

struct Harness {
  raz::test::FakeBoardUsb usb;
  raz::fuzz::MemoryPlatform memory{usb};
  std::vector<std::vector<std::uint8_t>> reports = MakeReports();
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckIntegerRoundTrip(text);

  raz::fuzz::MemoryPlatform& memory = harness.memory;
  const std::string iniPath = raz::ProgramFile(memory.files, raz::kSettingsFileName);
  memory.profile.texts[iniPath] = text;
  auto state = std::make_unique<raz::DriverState>();
  raz::TForm1 form(*state, memory.platform);
  raz::TForm2 dialog(memory.profile, iniPath);
  form.FormCreate();
  dialog.FormCreate(state->link.ReportFraming, state->link.BoardModel);
  form.Timer2Timer();
  for (const auto& report : harness.reports) {
    harness.usb.batches.push_back(report);
    form.Timer1Timer();
  }
  // Everything the run allocated is freed before it ends (see memory_platform.h).
  memory.Clear();
  harness.usb = raz::test::FakeBoardUsb{};
  return 0;
}
