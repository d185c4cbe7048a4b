#include "board/report_decoder.h"

#include <gtest/gtest.h>

#include <memory>

#include "board/interpolation.h"
#include "board/report_reader.h"
#include "report_builder.h"
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

// The reader, the decoder and the interpolation over a scripted board, as a poll tick runs
// them, with nothing else of the driver around them.
struct DecoderRig {
  explicit DecoderRig(std::int32_t previousLevelY = 0) { decoder.Reading.LevelY = previousLevelY; }
  void Tick(const Bytes& batch) {
    usb.batches.push_back(batch);
    TickWithoutData();
  }
  void TickWithoutData() {
    ReadReports(usb, 1, framing, *reader);
    result = DecodeReport(reader->ReportStore, pen, decoder);
    if (!result.RowsDecoded) return;
    const Interpolation at =
        InterpolatePosition(result.Reading, {keys, 1.0f, 1.0f, calibrating}, interpolation);
    if (at.Change == PositionChange::New) rawX = at.RawBoardX;
  }
  const BoardReading& reading() const { return result.Reading; }

  test::FakeBoardUsb usb;
  std::unique_ptr<ReaderState> reader = std::make_unique<ReaderState>();
  ReportFraming framing = ReportFraming::Plain;
  PenSettings pen{10, 60};
  DecoderState decoder;
  KeyLayout keys;
  InterpolationState interpolation;
  std::int32_t rawX = 0;  // of the last report that placed the pen
  bool calibrating = false;
  DecodeResult result;
};

// The first report after start-up is judged by a LevelY of 0: no pen. A tick without data
// decodes the same report again, now judged by its own level.
TEST(ReportDecoder, WorkedExampleGivesTheRawPositionOnceThePreviousLevelIsStrong) {
  DecoderRig rig;
  rig.calibrating = true;  // keeps the raw float position
  rig.Tick(Touch());
  EXPECT_TRUE(rig.reader->DataReceived);
  EXPECT_EQ(rig.reading().Status, PenStatus::NoPen);
  rig.TickWithoutData();
  const BoardReading& r = rig.reading();
  EXPECT_FALSE(rig.reader->DataReceived);
  EXPECT_EQ(r.Status, PenStatus::Touch);
  EXPECT_FALSE(r.SampleRejected);
  EXPECT_EQ((std::array{r.LevelX, r.LevelY, r.FixX.P1, r.FixY.P1}),
            (std::array{218, 218, 143, 143}));
  EXPECT_FLOAT_EQ(rig.interpolation.CalibrationSampleX, 1425.909090f);
  EXPECT_FLOAT_EQ(rig.interpolation.CalibrationSampleY, 1425.909090f);
  EXPECT_EQ(rig.rawX, 1425);
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
    PenStatus nextStatus;
  } rows[] = {
      // clang-format off
      {"empty X row", test::PlainReport(2, 20, Row({}), Row({{4, 250}, {1, 90}})),
       {218, 230, 1, 136}, {21, 20, 19, 18, 17}, {10, 9, 11, 21, 20}, PenStatus::Touch},
      {"empty Y row", test::PlainReport(2, 20, Row({{1, 200}, {5, 150}}, 50), Row({})),
       {200, 0, 0, 145}, {1, 5, 21, 20, 19}, {21, 20, 19, 18, 17}, PenStatus::NoPen},
      // clang-format on
  };
  for (const auto& row : rows) {
    DecoderRig rig(100);
    rig.Tick(Touch(kExampleRow, doublePeak));
    rig.rawX = 9;  // a mark that the position is not recomputed
    rig.Tick(row.report);
    const BoardReading& r = rig.reading();
    EXPECT_EQ(r.Status, PenStatus::Hover) << row.name;
    EXPECT_FALSE(r.SampleRejected) << row.name;
    EXPECT_EQ((std::array{r.LevelX, r.LevelY, r.DoublePeakY ? 1 : 0, rig.decoder.Y.Cell}),
              row.after)
        << row.name;
    EXPECT_EQ(rig.rawX, 9) << row.name;
    EXPECT_EQ(rig.decoder.X.Top, row.topX) << row.name;
    EXPECT_EQ(rig.decoder.Y.Top, row.topY) << row.name;
    rig.Tick(Touch());
    EXPECT_EQ(rig.reading().Status, row.nextStatus) << row.name << ", next report";
  }
}

// A row that fits no block rejects the sample, yet is still positioned around cell
// 21 - anchor. Only an X row whose anchor 16 is also its strongest sensor is logged.
TEST(ReportDecoder, UnplacedRowsRejectTheSampleAndOnlyAStrongestSixteenOnXIsLogged) {
  DecoderRig rig(100);
  std::vector<std::string> logged;
  const auto rejectedTick = [&](const Bytes& report) {
    rig.Tick(report);
    if (rig.result.Diagnostic) logged.push_back(*rig.result.Diagnostic);
    return rig.reading().SampleRejected;
  };
  EXPECT_TRUE(rejectedTick(Touch(kUnplacedSixteen)));
  EXPECT_EQ(
      logged,
      (std::vector<std::string>{"x_zdxs1：16  x_zdxs2：1  x_zdxs3：11  x_zdxs4：21  x_zdxs5：20"}));
  EXPECT_TRUE(rejectedTick(Touch(Row({{4, 200}, {1, 100}}))));
  EXPECT_EQ((std::array{rig.decoder.X.Cell, rig.rawX}), (std::array{17, 350}));
  // Anchor 16 behind two stronger sensors that fit no block either; then a Y row.
  EXPECT_TRUE(rejectedTick(Touch(Row({{5, 200}, {2, 150}, {16, 120}}))));
  EXPECT_EQ(rig.decoder.X.Anchor, 16);
  EXPECT_TRUE(rejectedTick(Touch(kExampleRow, kUnplacedSixteen)));
  EXPECT_EQ(logged.size(), 1u);
  EXPECT_FALSE(rejectedTick(Touch()));
}

TEST(ReportDecoder, DoublePeaksAreFlaggedPerAxis) {
  DecoderRig rig;
  const SensorRow doublePeak = Row({{10, 230}, {9, 220}, {11, 60}});
  rig.Tick(Touch(doublePeak, kExampleRow));
  EXPECT_EQ((std::array{rig.reading().DoublePeakX, rig.reading().DoublePeakY}),
            (std::array{true, false}));
  rig.Tick(Touch(kExampleRow, doublePeak));
  EXPECT_EQ((std::array{rig.reading().DoublePeakX, rig.reading().DoublePeakY}),
            (std::array{false, true}));
}

TEST(ReportDecoder, FramedBoardDecodesTheFirstWholeFrameEvenWhenItStraddlesTwoReads) {
  DecoderRig rig(100);
  rig.framing = ReportFraming::Framed;
  const auto frame = test::Frame(2, 5, kExampleRow, kExampleRow);
  rig.Tick(Concat({test::Filler(3), frame, test::Filler(10)}));
  EXPECT_TRUE(rig.reader->FrameComplete);
  EXPECT_EQ(rig.reading().Status, PenStatus::Touch);
  EXPECT_EQ(rig.rawX, 1425);
  rig.TickWithoutData();
  EXPECT_TRUE(rig.reader->FrameComplete);
  rig.Tick(test::Filler(60));
  EXPECT_FALSE(rig.reader->FrameComplete);
  // Frames keep coming at the same places, so the look-ahead finds the trailer and end bytes of
  // the read before; this read ends inside the Y row of a frame with a different Y position.
  const auto moved = test::Frame(2, 5, kExampleRow, Row({{1, 200}, {5, 150}}, 50));
  rig.Tick(Concat({frame, frame}));
  rig.Tick(Bytes(moved.begin(), moved.begin() + 30));
  EXPECT_FALSE(rig.reader->FrameComplete);
  rig.Tick(Bytes(moved.begin() + 30, moved.end()));
  EXPECT_TRUE(rig.reader->FrameComplete);
  EXPECT_TRUE(WholeFrameStored(*rig.reader));
  EXPECT_EQ(rig.reading().FixY.P1, 3);
}

}  // namespace
}  // namespace raz
