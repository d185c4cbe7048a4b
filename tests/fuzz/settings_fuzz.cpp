// VaziZod.ini text through the headless INI: the real start-up and the settings dialog read
// every key they read from an installed file, and poll ticks then decode reports with the pen
// settings and the key layout that came out of it. Also checks the INI's own promises: a write
// reads back as written and leaves every other entry as it was, and an integer the program
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

struct Entry {
  const char* section;
  const char* key;
};

// Every entry the program reads, in the start-up's order, then the dialog's.
constexpr Entry kRead[] = {
    {"PARAMETERS", "APPClassName"},
    {"PARAMETERS", "APPCaption"},
    {"PARAMETERS", "ScanPeriod_5"},
    {"PARAMETERS", "SmoothPeriod8_10"},
    {"PARAMETERS", "SmoothPeriod4_25"},
    {"language", "Select"},
    {"PARAMETERS", "Pen"},
    {"PARAMETERS", "PenRight"},
    {"VKeyCali", "VKeyPoint_L_TopX"},
    {"VKeyCali", "VKeyPoint_L_TopY"},
    {"VKeyCali", "VKeyPoint_L_BottomX"},
    {"VKeyCali", "VKeyPoint_L_BottomY"},
    {"VKeyCali", "VKeyPoint_R_middleX"},
    {"VKeyCali", "VKeyPoint_R_middleY"},
    {"PARAMETERS", "vkey"},
    {"language", "SELECT"},
    {"language", "OK"},
    {"language", "CANCEL"},
};

// Every entry the program writes.
constexpr Entry kWritten[] = {
    {"PARAMETERS", "vkey"},
    {"language", "Select"},
    {"VKeyCali", "VKeyPoint_L_TopX"},
    {"VKeyCali", "VKeyPoint_R_middleY"},
};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void CheckIntegerRoundTrip(std::string_view text) {
  const std::optional<std::int32_t> value = raz::ParseProfileInteger(text);
  if (value && raz::ParseProfileInteger(std::to_string(*value)) != value) std::abort();
}

void CheckWrites(const std::string& text, std::uint8_t selector) {
  const Entry& written = kWritten[selector % std::size(kWritten)];
  const std::string value = std::to_string(static_cast<std::int8_t>(selector));
  const std::string after = raz::WithProfileValue(text, written.section, written.key, value);
  if (raz::FindProfileValue(after, written.section, written.key) != value) std::abort();
  for (const Entry& other : kRead) {
    if (SameName(other.section, written.section) && SameName(other.key, written.key)) continue;
    if (raz::FindProfileValue(text, other.section, other.key) !=
        raz::FindProfileValue(after, other.section, other.key)) {
      std::abort();
    }
  }
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
  for (const Entry& e : kRead) {
    if (const auto value = raz::FindProfileValue(text, e.section, e.key)) {
      CheckIntegerRoundTrip(*value);
    }
  }
  CheckWrites(text, size > 0 ? data[0] : 0);

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
