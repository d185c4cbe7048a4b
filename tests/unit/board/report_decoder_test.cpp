#include "board/report_decoder.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/form1.h"
#include "report_builder.h"
#include "support/test_platform.h"
#include "unit/board/fake_board_usb.h"

namespace raz {
namespace {

using test::Bytes;
using test::Concat;
using test::Row;
using test::SensorRow;

const SensorRow kExampleRow{6,  40, 4, 11,  10, 3,  54, 6, 8,   93, 3,
                            28, 13, 6, 218, 6,  16, 21, 5, 138, 7};
// Anchor 16 strongest, no neighbour that names a block.
const SensorRow kUnplacedSixteen = Row({{16, 200}, {1, 150}, {11, 100}});

// A type 2 report with pen code 5: a touch once the previous level is strong enough.
Bytes Touch(const SensorRow& x = kExampleRow, const SensorRow& y = kExampleRow) {
  return test::PlainReport(2, 5, x, y);
}

// The report reader with its main window, over a scripted board.
struct DecoderRig {
  explicit DecoderRig(std::int32_t previousLevelY = 0) {
    s.settings.PenTouchLimit = 10;
    s.settings.PenRightCentre = 60;
    s.sample.LevelY = previousLevelY;
  }
  void Tick(const Bytes& batch) {
    usb.batches.push_back(batch);
    ReadAndDecodeReports(form);
  }
  void TickWithoutData() { ReadAndDecodeReports(form); }

  test::FakeBoardUsb usb;
  test::TestPlatform platform{&usb};
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  DriverState& s = *state;
  TForm1 form{s, platform.platform};
};

// The first report after start-up is judged by a LevelY of 0: no pen. A tick without data
// decodes the same report again, now judged by its own level.
TEST(ReportDecoder, WorkedExampleGivesTheRawPositionOnceThePreviousLevelIsStrong) {
  DecoderRig rig;
  rig.s.tour.CalibrationActive = 1;  // keeps the raw float position
  rig.Tick(Touch());
  EXPECT_EQ(rig.s.sample.DataReceived, 1);
  EXPECT_EQ(rig.s.sample.PenStatus, PenStatusCode::NoPen);
  rig.TickWithoutData();
  const DriverState& s = rig.s;
  EXPECT_EQ(s.sample.DataReceived, 0);
  EXPECT_EQ((std::array{s.sample.PenStatus, s.sample.SampleRejected, s.sample.LevelX,
                        s.sample.LevelY, s.decoder.FixX.P1, s.decoder.FixY.P1}),
            (std::array{PenStatusCode::Touch, 0, 218, 218, 143, 143}));
  EXPECT_FLOAT_EQ(s.interpolation.CalibrationSampleX, 1425.909090f);
  EXPECT_FLOAT_EQ(s.interpolation.CalibrationSampleY, 1425.909090f);
  EXPECT_EQ((std::array{s.interpolation.RawBoardX, s.sample.X, s.sample.Y}),
            (std::array{1425, 1426, 1426}));
}

TEST(ReportDecoder, FailedLibraryCallsAreNoData) {
  const struct { std::int32_t queueStatusResult, readResult; } rows[] = {{1, 0}, {0, 1}, {-5, -5}};
  for (const auto& row : rows) {
    DecoderRig rig;
    rig.s.decoder.RateMeasurement = 1;
    rig.Tick(Touch());
    const ReportSlots before = rig.s.decoder.ReportStore;
    rig.usb.queueStatusResult = row.queueStatusResult;
    rig.usb.readResult = row.readResult;
    rig.Tick(test::PlainReport(1, 200, Row({}, 9), Row({}, 9)));
    const auto where = ::testing::Message()
                       << "queue status " << row.queueStatusResult << " read " << row.readResult;
    EXPECT_EQ(rig.s.sample.DataReceived, 0) << where;
    EXPECT_EQ(rig.s.decoder.ReportStore, before) << where;
    EXPECT_EQ(rig.form.Memo1.Lines.back(), "toBeRead1: 0") << where;
  }
}

TEST(ReportDecoder, RateMeasurementLogsEveryTickAndAnOversizeQueueIsReadInPortions) {
  DecoderRig rig;
  rig.Tick(Concat({Touch(), Touch()}));
  EXPECT_TRUE(rig.form.Memo1.Lines.empty());
  rig.s.decoder.RateMeasurement = 1;
  rig.Tick(Concat({Touch(), Touch()}));
  Bytes queued;
  while (queued.size() < 60'000) queued = Concat({queued, Touch()});
  rig.Tick(queued);
  EXPECT_EQ(rig.s.decoder.FixX.P1, 143);
  rig.TickWithoutData();  // the rest stayed queued
  rig.TickWithoutData();
  const auto rest = std::to_string(queued.size() - kReceiveBufferSize);
  EXPECT_EQ(rig.form.Memo1.Lines, (std::vector<std::string>{"toBeRead1: 90", "toBeRead1: 50004",
                                                            "toBeRead1: " + rest, "toBeRead1: 0"}));
  // A measurement left on for hours keeps only the newest lines.
  for (int tick = 0; tick < 1000; ++tick) rig.TickWithoutData();
  EXPECT_EQ(rig.form.Memo1.Lines.size(), Memo::kMaxLines);
  EXPECT_EQ(rig.form.Memo1.Lines.back(), "toBeRead1: 0");
}

// An empty X row stops the decode: the Y row, the levels and the position stay as they were.
// An empty Y row has no such stop: it is ranked and placed like any other (block 7 around
// sensor 19, its zeros ranked by sensor number) and LevelY drops to 0, too weak for the
// interpolation to move the position, and the next report is judged by that level.
TEST(ReportDecoder, EmptyXRowStopsTheDecodeWhileAnEmptyYRowIsDecoded) {
  const SensorRow doublePeak = Row({{10, 230}, {9, 220}, {11, 60}});
  const struct {
    const char* name;
    Bytes report;
    std::array<std::int32_t, 4> after;  // LevelX, LevelY, DoublePeakY, the Y row's cell
    TopSensors topX, topY;
    std::int32_t nextStatus;
  } rows[] = {
      // clang-format off
      {"empty X row", test::PlainReport(2, 20, Row({}), Row({{4, 250}, {1, 90}})),
       {218, 230, 1, 136}, {21, 20, 19, 18, 17}, {10, 9, 11, 21, 20}, PenStatusCode::Touch},
      {"empty Y row", test::PlainReport(2, 20, Row({{1, 200}, {5, 150}}, 50), Row({})),
       {200, 0, 0, 145}, {1, 5, 21, 20, 19}, {21, 20, 19, 18, 17}, PenStatusCode::NoPen},
      // clang-format on
  };
  for (const auto& row : rows) {
    DecoderRig rig(100);
    rig.Tick(Touch(kExampleRow, doublePeak));
    rig.s.interpolation.RawBoardX = 9;  // a mark that the position is not recomputed
    rig.Tick(row.report);
    const DriverState& s = rig.s;
    EXPECT_EQ(s.sample.PenStatus, PenStatusCode::Hover) << row.name;
    EXPECT_EQ(s.sample.SampleRejected, 0) << row.name;
    EXPECT_EQ(
        (std::array{s.sample.LevelX, s.sample.LevelY, s.sample.DoublePeakY, s.decoder.Y.Cell}),
        row.after)
        << row.name;
    EXPECT_EQ(s.interpolation.RawBoardX, 9) << row.name;
    EXPECT_EQ(s.decoder.X.Top, row.topX) << row.name;
    EXPECT_EQ(s.decoder.Y.Top, row.topY) << row.name;
    rig.Tick(Touch());
    EXPECT_EQ(rig.s.sample.PenStatus, row.nextStatus) << row.name << ", next report";
  }
}

// A row that fits no block rejects the sample, yet is still positioned around cell
// 21 - anchor. Only an X row whose anchor 16 is also its strongest sensor is logged.
TEST(ReportDecoder, UnplacedRowsRejectTheSampleAndOnlyAStrongestSixteenOnXIsLogged) {
  DecoderRig rig(100);
  const auto rejectedTick = [&rig](const Bytes& report) {
    rig.Tick(report);
    return rig.s.sample.SampleRejected;
  };
  EXPECT_EQ(rejectedTick(Touch(kUnplacedSixteen)), 1);
  EXPECT_EQ(
      rig.form.Memo2.Lines,
      (std::vector<std::string>{"x_zdxs1：16  x_zdxs2：1  x_zdxs3：11  x_zdxs4：21  x_zdxs5：20"}));
  EXPECT_EQ(rejectedTick(Touch(Row({{4, 200}, {1, 100}}))), 1);
  EXPECT_EQ((std::array{rig.s.decoder.X.Cell, rig.s.interpolation.RawBoardX}),
            (std::array{17, 350}));
  // Anchor 16 behind two stronger sensors that fit no block either; then a Y row.
  EXPECT_EQ(rejectedTick(Touch(Row({{5, 200}, {2, 150}, {16, 120}}))), 1);
  EXPECT_EQ(rig.s.decoder.X.Anchor, 16);
  EXPECT_EQ(rejectedTick(Touch(kExampleRow, kUnplacedSixteen)), 1);
  EXPECT_EQ(rig.form.Memo2.Lines.size(), 1u);
  EXPECT_EQ(rejectedTick(Touch()), 0);
}

TEST(ReportDecoder, DoublePeaksAreFlaggedPerAxis) {
  DecoderRig rig;
  const SensorRow doublePeak = Row({{10, 230}, {9, 220}, {11, 60}});
  rig.Tick(Touch(doublePeak, kExampleRow));
  EXPECT_EQ((std::array{rig.s.sample.DoublePeakX, rig.s.sample.DoublePeakY}), (std::array{1, 0}));
  rig.Tick(Touch(kExampleRow, doublePeak));
  EXPECT_EQ((std::array{rig.s.sample.DoublePeakX, rig.s.sample.DoublePeakY}), (std::array{0, 1}));
}

TEST(ReportDecoder, FramedBoardDecodesTheFirstWholeFrameEvenWhenItStraddlesTwoReads) {
  DecoderRig rig(100);
  rig.s.link.ReportFraming = 1;
  const auto frame = test::Frame(2, 5, kExampleRow, kExampleRow);
  rig.Tick(Concat({test::Filler(3), frame, test::Filler(10)}));
  EXPECT_EQ(rig.s.sample.FrameComplete, 1);
  EXPECT_EQ(rig.s.sample.PenStatus, PenStatusCode::Touch);
  EXPECT_EQ(rig.s.interpolation.RawBoardX, 1425);
  rig.TickWithoutData();
  EXPECT_EQ(rig.s.sample.FrameComplete, 1);
  rig.Tick(test::Filler(60));
  EXPECT_EQ(rig.s.sample.FrameComplete, 0);
  // Frames keep coming at the same places, so the look-ahead finds the trailer and end bytes of
  // the read before; this read ends inside the Y row of a frame with a different Y position.
  const auto moved = test::Frame(2, 5, kExampleRow, Row({{1, 200}, {5, 150}}, 50));
  rig.Tick(Concat({frame, frame}));
  rig.Tick(Bytes(moved.begin(), moved.begin() + 30));
  EXPECT_EQ(rig.s.sample.FrameComplete, 0);
  rig.Tick(Bytes(moved.begin() + 30, moved.end()));
  EXPECT_EQ(rig.s.sample.FrameComplete, 1);
  EXPECT_EQ(rig.s.decoder.ReportStore[0], 0xFD);
  EXPECT_EQ(rig.s.decoder.ReportStore[46], 0xFE);
  EXPECT_EQ(rig.s.decoder.FixY.P1, 3);
}

}  // namespace
}  // namespace raz
