#include "board/report_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "fake_board_usb.h"
#include "report_builder.h"

namespace raz {
namespace {

using test::Bytes;
using test::Concat;
using test::Filler;

// The given bytes from slot `from` on; every other slot holds a number of its own.
ReportSlots Slots(const Bytes& bytes, std::size_t from = 0) {
  ReportSlots store;
  for (std::size_t i = 0; i < store.size(); ++i) store[i] = 1000 + static_cast<int>(i);
  std::copy(bytes.begin(), bytes.end(), store.begin() + static_cast<std::ptrdiff_t>(from));
  return store;
}

Bytes MarkedFrame(std::uint8_t mark) {
  return test::Frame(mark, mark, test::Row({}, mark), test::Row({}, mark));
}

// Plain: a batch of 90 bytes keeps its first report and one byte of the next; a batch of 20
// bytes leaves the slots it does not reach alone. Framed: the first whole frame of the batch
// is stored, and a frame start found while collecting restarts the frame.
TEST(ReadReports, KeepsTheFirstReportOrTheFirstWholeFrameOfABatch) {
  const auto first = test::PlainReport(2, 5, test::Row({}, 0x21), test::Row({}, 0x22), 0x23);
  const auto second = test::PlainReport(1, 200, test::Row({}, 0x31), test::Row({}, 0x32));
  const auto frame = MarkedFrame(0x42);
  auto unfinished = Filler(60, 0x10);
  unfinished[5] = 0xFD;
  unfinished[5 + 45] = 0x51;  // end byte missing
  // A frame cut short after 20 bytes, with trailer and end bytes where it would need them.
  auto restarted = Concat({Bytes(frame.begin(), frame.begin() + 20), MarkedFrame(0x43)});
  restarted[45] = 0x51;
  restarted[46] = 0xFE;
  using enum ReportFraming;
  const struct {
    const char* name;
    ReportFraming framing;
    Bytes batch;
    ReportSlots stored;
    bool frameComplete;
  } rows[] = {
      {"plain, 90 bytes", Plain, Concat({first, second}), Slots(Concat({first, {second[0]}}), 1),
       0},
      {"plain, 20 bytes", Plain, Filler(20, 0x77), Slots(Filler(20, 0x77), 1), 0},
      {"frame at byte 3 of 60", Framed, Concat({Filler(3), frame, Filler(10)}), Slots(frame), 1},
      {"no frame start", Framed, Filler(60, 0x33), Slots({}), 0},
      {"two frames", Framed, Concat({frame, MarkedFrame(0x41)}), Slots(frame), 1},
      {"start byte without end byte", Framed, unfinished, Slots({}), 0},
      {"restart while collecting", Framed, restarted,
       Slots(Bytes(restarted.begin() + 20, restarted.end())), 1},
  };
  for (const auto& row : rows) {
    auto reader = std::make_unique<ReaderState>();
    reader->ReportStore = Slots({});
    test::FakeBoardUsb usb;
    usb.batches.push_back(row.batch);
    const ReadResult read = ReadReports(usb, 1, row.framing, *reader);
    EXPECT_EQ(read.Received, row.batch.size()) << row.name;
    EXPECT_EQ(read.NewReport, row.framing == Plain || row.frameComplete) << row.name;
    EXPECT_EQ(reader->ReportStore, row.stored) << row.name;
    EXPECT_EQ(reader->FrameComplete, row.frameComplete) << row.name;
  }
}

// The count a library gives for a read is believed up to what was asked for, never beyond the
// receive buffer.
TEST(ReadReports, ALibraryClaimingMoreThanItWasAskedForIsNotBelieved) {
  test::FakeBoardUsb usb;
  usb.batches.push_back(Filler(90, 0x11));
  usb.claimExtraBytes = 1'000'000;
  auto reader = std::make_unique<ReaderState>();
  EXPECT_EQ(ReadReports(usb, 1, ReportFraming::Plain, *reader).Received, 90u);
}

}  // namespace
}  // namespace raz
