// Replays of recorded read batches, compared with event logs that were checked by hand once.
// A change in decoding, filtering or injection that alters what a user's board would have
// done shows up here as a difference.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "options.h"
#include "run.h"
#include "support/test_platform.h"

namespace raz {
namespace {

TEST(CaptureReplay, ReplayedStrokeGivesItsCheckedEventLog) {
  const std::string data = RAZ_TEST_DATA_DIR "/captures/";
  simcli::Options options;
  options.capturePath = data + "stroke.capture";
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(simcli::RunSimulation(options, out, err), 0) << err.str();
  const std::optional<std::string> expected = test::ReadWholeFile(data + "stroke.expected");
  ASSERT_TRUE(expected && !expected->empty());
  EXPECT_EQ(out.str(), *expected);
}

TEST(CaptureReplay, ABadCaptureLineIsReportedWithItsNumberAndNothingRuns) {
  const std::string path = testing::TempDir() + "bad.capture";
  std::ofstream(path) << "# header\n02 8E\n02 zz 01\n";
  simcli::Options options;
  options.capturePath = path;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(simcli::RunSimulation(options, out, err), 2);
  EXPECT_NE(err.str().find("line 3: 'zz' is not a hex byte"), std::string::npos) << err.str();
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace raz
