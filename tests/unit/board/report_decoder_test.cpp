#include "board/report_decoder.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/form1.h"
#include "report_builder.h"
#include "support/test_platform.h"
#include "unit/board/fake_board_usb.h"

namespace raz {
namespace {

using test::Concat;
using test::Frame;
using test::PlainReport;
using test::Row;
using test::SensorRow;

const SensorRow kExampleRow{6,  40, 4, 11,  10, 3,  54, 6, 8,   93, 3,
                            28, 13, 6, 218, 6,  16, 21, 5, 138, 7};
// Anchor 16 strongest, no neighbour that names a block.
const SensorRow kUnplacedSixteen = Row({{16, 200}, {1, 150}, {11, 100}});
constexpr std::uint8_t kTouchCode = 5;
constexpr std::uint8_t kHoverCode = 20;

// The report reader with its main window, over a scripted board.
struct DecoderRig {
  DecoderRig() {
    state->settings.PenTouchLimit = 10;
    state->settings.PenRightCentre = 60;
  }
  void Tick(const std::vector<std::uint8_t>& batch) {
    usb.batches.push_back(batch);
    ReadAndDecodeReports(form);
  }
  void TickWithoutData() { ReadAndDecodeReports(form); }
  // As if the previous report had a strong signal.
  void PrimeLevel(std::int32_t levelY = 100) { state->sample.LevelY = levelY; }
  // Calibrating keeps the raw float position and bypasses the screen mapping.
  void Calibrate() { state->tour.CalibrationActive = 1; }

  test::FakeBoardUsb usb;
  test::TestPlatform platform{&usb};
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  TForm1 form{*state, platform.platform};
};

TEST(ReportDecoder, WorkedExampleGivesTheRawPosition) {
  DecoderRig rig;
  rig.PrimeLevel();
  rig.Calibrate();
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow));
  const DriverState& s = *rig.state;
  EXPECT_EQ(s.sample.PenStatus, PenStatusCode::Touch);
  EXPECT_EQ(s.sample.SampleRejected, 0);
  EXPECT_EQ(s.sample.LevelX, 218);
  EXPECT_EQ(s.sample.LevelY, 218);
  EXPECT_EQ(s.decoder.X.Anchor, 10);
  EXPECT_EQ(s.decoder.X.Block, 4);
  EXPECT_EQ(s.decoder.X.Cell, 73);
  EXPECT_EQ(s.decoder.FixX.P1, 143);
  EXPECT_EQ(s.decoder.FixY.Spread, 45);
  EXPECT_FLOAT_EQ(s.interpolation.CalibrationSampleX, 1425.909090f);
  EXPECT_FLOAT_EQ(s.interpolation.CalibrationSampleY, 1425.909090f);
  EXPECT_EQ(s.interpolation.RawBoardX, 1425);
  EXPECT_EQ(s.sample.X, 1426);
  EXPECT_EQ(s.sample.Y, 1426);
}

TEST(ReportDecoder, FirstReportAfterStartIsAlwaysNoPen) {
  DecoderRig rig;
  const auto report = PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow);
  rig.Tick(report);
  EXPECT_EQ(rig.state->sample.PenStatus, PenStatusCode::NoPen);
  EXPECT_EQ(rig.state->sample.LevelY, 218);
  rig.Tick(report);
  EXPECT_EQ(rig.state->sample.PenStatus, PenStatusCode::Touch);
}

TEST(ReportDecoder, StatusIsJudgedByThePreviousReportsLevel) {
  const struct {
    std::int32_t previousLevelY;
    std::int32_t status;
  } rows[] = {{30, PenStatusCode::NoPen}, {31, PenStatusCode::Touch}, {0, PenStatusCode::NoPen}};
  for (const auto& row : rows) {
    DecoderRig rig;
    rig.PrimeLevel(row.previousLevelY);
    rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow));
    EXPECT_EQ(rig.state->sample.PenStatus, row.status) << "L " << row.previousLevelY;
  }
}

TEST(ReportDecoder, NoDataDecodesThePreviousReportAgain) {
  DecoderRig rig;
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow));
  EXPECT_EQ(rig.state->sample.DataReceived, 1);
  EXPECT_EQ(rig.state->sample.PenStatus, PenStatusCode::NoPen);
  rig.TickWithoutData();
  EXPECT_EQ(rig.state->sample.DataReceived, 0);
  // The same report, now judged by its own level.
  EXPECT_EQ(rig.state->sample.PenStatus, PenStatusCode::Touch);
  EXPECT_EQ(rig.state->decoder.FixX.P1, 143);
}

TEST(ReportDecoder, FailedLibraryCallsAreNoData) {
  const struct {
    std::int32_t queueStatusResult;
    std::int32_t readResult;
  } rows[] = {{1, 0}, {0, 1}};
  for (const auto& row : rows) {
    DecoderRig rig;
    rig.state->decoder.RateMeasurement = 1;
    rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow));
    const ReportSlots before = rig.state->decoder.ReportStore;
    rig.usb.queueStatusResult = row.queueStatusResult;
    rig.usb.readResult = row.readResult;
    rig.Tick(PlainReport(test::kTypeOneStatus, 200, Row({}, 9), Row({}, 9)));
    const std::string where = "queue status " + std::to_string(row.queueStatusResult) + " read " +
                              std::to_string(row.readResult);
    EXPECT_EQ(rig.state->sample.DataReceived, 0) << where;
    EXPECT_EQ(rig.state->decoder.ReportStore, before) << where;
    EXPECT_EQ(rig.form.Memo1.Lines.back(), "toBeRead1: 0") << where;
  }
}

TEST(ReportDecoder, QueueBeyondTheBufferIsReadInBufferSizedPortions) {
  DecoderRig rig;
  rig.state->decoder.RateMeasurement = 1;
  std::vector<std::uint8_t> queued;
  const auto report = PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow);
  while (queued.size() < 60'000) queued.insert(queued.end(), report.begin(), report.end());
  rig.Tick(queued);
  EXPECT_EQ(rig.form.Memo1.Lines.back(), "toBeRead1: 50004");
  EXPECT_EQ(rig.state->decoder.FixX.P1, 143);
  // The rest stays queued for the next tick.
  rig.TickWithoutData();
  const auto rest = static_cast<std::uint32_t>(queued.size() - kReceiveBufferSize);
  EXPECT_EQ(rig.usb.readRequests, (std::vector<std::uint32_t>{kReceiveBufferSize, rest}));
  EXPECT_EQ(rig.form.Memo1.Lines.back(), "toBeRead1: " + std::to_string(rest));
}

TEST(ReportDecoder, RateMeasurementLogsEveryTick) {
  DecoderRig rig;
  const auto report = PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow);
  rig.Tick(Concat({report, report}));
  EXPECT_TRUE(rig.form.Memo1.Lines.empty());
  rig.state->decoder.RateMeasurement = 1;
  rig.Tick(Concat({report, report}));
  rig.TickWithoutData();
  EXPECT_EQ(rig.form.Memo1.Lines, (std::vector<std::string>{"toBeRead1: 90", "toBeRead1: 0"}));
}

TEST(ReportDecoder, EmptyXRowLeavesTheRestOfTheSampleAsItWas) {
  DecoderRig rig;
  rig.PrimeLevel();
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow));
  const DriverState before = *rig.state;
  rig.Tick(PlainReport(test::kTypeTwoStatus, kHoverCode, Row({}), Row({{4, 250}, {1, 90}})));
  const DriverState& s = *rig.state;
  EXPECT_EQ(s.sample.PenStatus, PenStatusCode::Hover);
  EXPECT_EQ(s.sample.SampleRejected, 0);
  EXPECT_EQ(s.sample.LevelX, before.sample.LevelX);
  EXPECT_EQ(s.sample.LevelY, before.sample.LevelY);
  EXPECT_EQ(s.decoder.Y.Top, before.decoder.Y.Top);
  EXPECT_EQ(s.decoder.FixX.P1, before.decoder.FixX.P1);
  EXPECT_EQ(s.decoder.FixY.P1, before.decoder.FixY.P1);
  EXPECT_EQ(s.interpolation.RawBoardX, before.interpolation.RawBoardX);
  EXPECT_EQ(s.interpolation.RawBoardY, before.interpolation.RawBoardY);
  EXPECT_EQ(s.decoder.X.Top, (TopSensors{21, 20, 19, 18, 17}));
}

TEST(ReportDecoder, UnplacedAnchorFourRowIsRejectedButStillPositioned) {
  DecoderRig rig;
  rig.PrimeLevel();
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, Row({{4, 200}, {1, 100}}), kExampleRow));
  const DriverState& s = *rig.state;
  EXPECT_EQ(s.sample.SampleRejected, 1);
  EXPECT_EQ(s.decoder.X.Block, 0);
  EXPECT_EQ(s.decoder.X.Cell, 17);
  EXPECT_EQ(s.interpolation.RawBoardX, 350);
  EXPECT_TRUE(rig.form.Memo2.Lines.empty());
}

TEST(ReportDecoder, UnplacedYRowAlsoRejectsTheSample) {
  DecoderRig rig;
  rig.PrimeLevel();
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kUnplacedSixteen));
  EXPECT_EQ(rig.state->sample.SampleRejected, 1);
  EXPECT_EQ(rig.state->decoder.Y.Block, 0);
  EXPECT_TRUE(rig.form.Memo2.Lines.empty());
  // The next placed report clears the rejection.
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow));
  EXPECT_EQ(rig.state->sample.SampleRejected, 0);
}

TEST(ReportDecoder, UnplacedXRowAroundSensorSixteenIsLoggedOnlyWhenItIsStrongest) {
  DecoderRig rig;
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kUnplacedSixteen, kExampleRow));
  EXPECT_EQ(rig.state->sample.SampleRejected, 1);
  ASSERT_EQ(rig.form.Memo2.Lines.size(), 1u);
  EXPECT_EQ(rig.form.Memo2.Lines[0],
            "x_zdxs1：16  x_zdxs2：1  x_zdxs3：11  x_zdxs4：21  x_zdxs5：20");

  // Anchor 16 again, but behind two stronger sensors that fit no block either.
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, Row({{5, 200}, {2, 150}, {16, 120}}),
                       kExampleRow));
  EXPECT_EQ(rig.state->decoder.X.Anchor, 16);
  EXPECT_EQ(rig.state->sample.SampleRejected, 1);
  EXPECT_EQ(rig.form.Memo2.Lines.size(), 1u);
}

TEST(ReportDecoder, DoublePeaksAreFlaggedPerAxis) {
  DecoderRig rig;
  const SensorRow doublePeak = Row({{10, 230}, {9, 220}, {11, 60}});
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, doublePeak, kExampleRow));
  EXPECT_EQ(rig.state->sample.DoublePeakX, 1);
  EXPECT_EQ(rig.state->sample.DoublePeakY, 0);
  rig.Tick(PlainReport(test::kTypeTwoStatus, kTouchCode, kExampleRow, doublePeak));
  EXPECT_EQ(rig.state->sample.DoublePeakX, 0);
  EXPECT_EQ(rig.state->sample.DoublePeakY, 1);
}

TEST(ReportDecoder, FramedBoardDecodesTheFirstWholeFrame) {
  DecoderRig rig;
  rig.state->link.ReportFraming = 1;
  rig.PrimeLevel();
  rig.Calibrate();
  const auto frame = Frame(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow);
  rig.Tick(Concat({test::Filler(3), frame, test::Filler(10)}));
  const DriverState& s = *rig.state;
  EXPECT_EQ(s.sample.FrameComplete, 1);
  EXPECT_EQ(s.decoder.ReportStore[0], 0xFD);
  EXPECT_EQ(s.decoder.ReportStore[46], 0xFE);
  EXPECT_EQ(s.sample.PenStatus, PenStatusCode::Touch);
  EXPECT_EQ(s.interpolation.RawBoardX, 1425);

  rig.TickWithoutData();
  EXPECT_EQ(s.sample.FrameComplete, 1);
  rig.Tick(test::Filler(60));
  EXPECT_EQ(s.sample.FrameComplete, 0);
  EXPECT_EQ(s.decoder.ReportStore[0], 0xFD);
  EXPECT_EQ(s.decoder.ReportStore[46], 0xFE);
}

TEST(ReportDecoder, FramedBoardCompletesAFrameSplitBetweenReads) {
  DecoderRig rig;
  rig.state->link.ReportFraming = 1;
  const auto frame = Frame(test::kTypeTwoStatus, kTouchCode, kExampleRow, kExampleRow);
  rig.Tick(Concat({frame, frame}));
  ASSERT_EQ(rig.state->sample.FrameComplete, 1);
  // Frames keep coming at the same places; a read ends in the middle of one.
  rig.Tick(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 30));
  EXPECT_EQ(rig.state->sample.FrameComplete, 0);
  rig.Tick(std::vector<std::uint8_t>(frame.begin() + 30, frame.end()));
  EXPECT_EQ(rig.state->sample.FrameComplete, 1);
  EXPECT_EQ(rig.state->decoder.ReportStore[0], 0xFD);
  EXPECT_EQ(rig.state->decoder.ReportStore[46], 0xFE);
  EXPECT_EQ(rig.state->decoder.FixX.P1, 143);
}

}  // namespace
}  // namespace raz
