#include "app/poll_tick.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/form1.h"
#include "app/form_commands.h"
#include "board/report_reader.h"
#include "calibration/transform.h"
#include "pointer/pen_state_machine.h"
#include "support/test_platform.h"
#include "unit/board/fake_board_usb.h"
#include "unit/board/report_builder.h"

namespace raz {
namespace {

// Timer1Timer over a scripted board, with the main window and the headless devices.
struct TickRig {
  TickRig() { state->link.LinkOpenPending = false; }  // the device watch has opened the board
  void Tick(const test::Bytes& batch) {
    usb.batches.push_back(batch);
    form.Timer1Timer();
  }
  test::FakeBoardUsb usb;
  test::TestPlatform platform{&usb};
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  TForm1 form{*state, platform.platform};
};

test::Bytes Touch() {
  return test::PlainReport(2, 5, test::Row({{10, 218}, {9, 93}, {11, 138}}),
                           test::Row({{10, 218}, {9, 93}, {11, 138}}));
}

// A held button whose reports stop (the board hangs, or a cable glitch the reads do not
// notice) is let go after 100 ms without a new report; a failed read lets it go at once and
// leaves the board to the next device watch.
TEST(PollTick, AHeldButtonGoesUpAfter100msWithoutReportsOrAtOnceWhenAReadFails) {
  const auto touch = test::PlainReport(1, 200, test::Row({{10, 218}, {9, 93}, {11, 138}}),
                                       test::Row({{10, 218}, {9, 93}, {11, 138}}));
  for (const bool readFails : {false, true}) {
    TickRig rig;
    rig.Tick(touch);  // judged by the level before it: no pen
    rig.Tick(touch);  // the press
    ASSERT_TRUE(rig.state->injector.LeftButtonDown);
    const std::size_t pressEvents = rig.platform.mouse.events.size();
    if (readFails) {
      rig.usb.queueStatusResult = 1;
      rig.platform.clock.Set(2'000);
      rig.form.Timer1Timer();
      EXPECT_TRUE(rig.state->link.LinkOpenPending) << "the device watch opens the board again";
    } else {
      for (const std::uint64_t ms : {20, 50, 99}) {
        rig.platform.clock.Set(ms * 1000);
        rig.form.Timer1Timer();
        EXPECT_EQ(rig.platform.mouse.events.size(), pressEvents) << ms << " ms without a report";
      }
      rig.platform.clock.Set(100'000);
      rig.form.Timer1Timer();
    }
    ASSERT_EQ(rig.platform.mouse.events.size(), pressEvents + 1) << "read fails " << readFails;
    EXPECT_EQ(rig.platform.mouse.events.back().flags, MouseFlags::LeftUp | MouseFlags::Absolute);
    EXPECT_FALSE(rig.state->injector.LeftButtonDown);
    EXPECT_EQ(rig.state->pointer.PrevStatus, PenStatus::NoPen) << "the next touch presses anew";
  }
}

// A poll that brings no new report is no sample: the same report is not decoded again, so a
// pen resting on the board is not counted once per poll (a right-click needs four reports, not
// four polls).
TEST(PollTick, OnlyANewReportIsASample) {
  const auto right = Touch();  // with Pen and PenRight at 0, code 5 is the right-button pen
  TickRig rig;
  rig.Tick(right);  // judged by the level before it: no pen
  for (int report = 1; report <= 3; ++report) {
    rig.Tick(right);
    for (int poll = 0; poll < 5; ++poll) rig.form.Timer1Timer();
  }
  EXPECT_TRUE(rig.platform.mouse.events.empty()) << "three right-button reports click nothing";
  rig.Tick(right);
  EXPECT_EQ(rig.platform.mouse.events.size(), 3u) << "the fourth clicks: move, down, up";
}

// Plain reports must carry a signal (LevelY above 30); framed reports must be whole frames with
// their start and end bytes in place, and one without a signal moves the pen silently.
TEST(PollTick, Gate_PlainNeedsASignalFramedNeedsAWholeFrame) {
  using enum ReportFraming;
  using enum ReportVerdict;
  const struct {
    const char* name;
    ReportFraming framing;
    bool rejected;
    std::int32_t level;
    bool complete;
    std::int32_t first, last;  // store slots 0 and 46
    ReportVerdict verdict;
  } cases[] = {
      {"plain, strong", Plain, false, 31, false, 0, 0, DrivesPen},
      {"plain, at the limit", Plain, false, 30, true, 0xFD, 0xFE, WeakSignal},
      {"plain, rejected", Plain, true, 200, false, 0, 0, RejectedSample},
      {"framed, whole frame, no signal", Framed, false, 0, true, 0xFD, 0xFE, SilentFrame},
      {"framed, incomplete", Framed, false, 200, false, 0xFD, 0xFE, PartialFrame},
      {"framed, frame cut at its start", Framed, false, 200, true, 0x12, 0xFE, PartialFrame},
      {"framed, frame cut at its end", Framed, false, 200, true, 0xFD, 0x12, PartialFrame},
      {"framed, rejected", Framed, true, 200, true, 0xFD, 0xFE, RejectedSample},
  };
  for (const auto& c : cases) {
    auto state = std::make_unique<DriverState>();
    state->sample = {.LevelY = c.level, .SampleRejected = c.rejected};
    state->reader.FrameComplete = c.complete;
    state->reader.ReportStore.front() = c.first;
    state->reader.ReportStore.back() = c.last;
    EXPECT_EQ(JudgeReport(state->sample, c.framing, WholeFrameStored(state->reader), {}), c.verdict)
        << c.name;
  }
}

// A report that keeps the previous position (a hover without X signal, no pen, the right-button
// pen) keeps it in pixels: it is mapped once, never again. The grid maps every point to itself
// and the offset is (450, 350), so a second mapping would show as a jump of that offset.
TEST(PollTick, APositionKeptFromThePreviousSampleIsNotMappedAgain) {
  // clang-format off
  const std::array<PointF, kCalibrationPointCount> identityGrid{{
      {500, 1000}, {1000, 1000}, {1500, 1000},
      {500, 700},  {1000, 700},  {1500, 700},
      {500, 400},  {1000, 400},  {1500, 400}}};
  // clang-format on
  const struct {
    PenStatus status;
    std::int32_t levelX, levelY, ticks, x, y;
  } rows[] = {
      {PenStatus::Hover, 30, 40, 1, 700, 500},  {PenStatus::Hover, 30, 40, 2, 700, 500},
      {PenStatus::Hover, 0, 255, 1, 700, 500},  {PenStatus::Hover, 30, 30, 1, 700, 500},
      {PenStatus::NoPen, 200, 40, 2, 700, 500}, {PenStatus::RightButton, 200, 40, 2, 700, 500},
  };
  for (const auto& row : rows) {
    auto state = std::make_unique<DriverState>();
    BuildCalibrationModel(state->calibration.Model, identityGrid);
    state->calibration.Stored.ScreenOffsetX = 450;
    state->calibration.Stored.ScreenOffsetY = 350;
    state->sample.X = 700;
    state->sample.Y = 500;
    DecodeResult decoded;
    decoded.RowsDecoded = true;
    decoded.Reading.Status = row.status;
    decoded.Reading.LevelX = row.levelX;
    decoded.Reading.LevelY = row.levelY;
    for (std::int32_t tick = 0; tick < row.ticks; ++tick) TakeReading(*state, decoded);
    EXPECT_EQ((std::array{state->sample.X, state->sample.Y}), (std::array{row.x, row.y}))
        << "status " << static_cast<int>(row.status) << " LevelX " << row.levelX << " LevelY "
        << row.levelY << " ticks " << row.ticks;
  }
}

// A contact swallowed after a calibration ends with the first report that is not a touch,
// even one too weak to drive the pen; otherwise the next tap would be swallowed as well.
TEST(PollTick, AWeakNoPenReportEndsASwallowedContact) {
  TickRig rig;
  rig.state->pointer.PrevStatus = PenStatus::Touch;
  SwallowContact(rig.state->pointer);
  ASSERT_TRUE(rig.state->pointer.SwallowingContact);
  rig.Tick(test::PlainReport(0, 0, test::Row({}), test::Row({})));
  EXPECT_FALSE(rig.state->pointer.SwallowingContact);
}

}  // namespace
}  // namespace raz
