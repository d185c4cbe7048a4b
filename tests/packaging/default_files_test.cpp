// The settings and data files the installer puts beside a fresh install: the pen thresholds
// must let the default board say touch, hover, right button and no pen, the virtual keys start
// off, and the data files have the sizes the driver reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "board/board_state.h"
#include "board/report_status.h"
#include "platform/headless/headless_profile.h"
#include "sim/pen_code.h"
#include "sim/scenario.h"
#include "storage/data_files.h"
#include "storage/settings.h"

namespace raz {
namespace {

const std::string kFolder = RAZ_PACKAGING_DIR;

std::int32_t Read(const char* section, const char* key) {
  HeadlessProfile profile;
  SettingsFile settings(profile, kFolder + "/" + kSettingsFileName);
  return settings.ReadInteger(section, key, -12345);
}

TEST(DefaultFiles, PenThresholdsLetTheDefaultBoardSayEveryPenState) {
  const std::int32_t pen = Read(Section::Parameters, "Pen");
  const std::int32_t penRight = Read(Section::Parameters, "PenRight");
  // The simulated board a scenario gets without settings, and the stand-in library's board.
  const sim::StatusEncoding board = sim::SimSettings{}.board.model.status;
  const sim::PenContact contacts[] = {sim::PenContact::Touch, sim::PenContact::Hover,
                                      sim::PenContact::RightButton, sim::PenContact::Away};
  for (const sim::PenContact contact : contacts) {
    const PenStatus wanted = sim::WantedStatus(contact);
    const auto bytes = sim::StatusBytesFor(wanted, board);
    ASSERT_TRUE(bytes) << "status " << static_cast<int>(wanted);
    // A strong previous row: the status is judged by the pen code alone.
    EXPECT_EQ(DecodeStatus(bytes->status, bytes->penCode, 200, {pen, penRight}), wanted)
        << "status " << static_cast<int>(wanted) << " sent as type " << int{bytes->status}
        << " code "
        << int{bytes->penCode} << " with Pen=" << pen << " PenRight=" << penRight;
  }
}

TEST(DefaultFiles, VirtualKeysStartOffAndDataFilesHaveTheirSizes) {
  EXPECT_EQ(Read(Section::Parameters, "vkey"), 0);
  const struct {
    const char* name;
    std::uintmax_t size;
  } files[] = {{kCalibrationFileName, CalibrationRecordLayout::kSize},
               {kAutostartFileName, 4},
               {kFramingFileName, 4},
               {kBoardModelFileName, 4}};
  for (const auto& f : files) {
    EXPECT_EQ(std::filesystem::file_size(kFolder + "/" + f.name), f.size) << f.name;
  }
}

}  // namespace
}  // namespace raz
