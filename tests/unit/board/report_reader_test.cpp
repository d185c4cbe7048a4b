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

// A failed queue-status or read call means the link is lost: nothing is stored.
TEST(ReadReports, FailedLibraryCallsAreNoData) {
  const struct { std::int32_t queueStatusResult, readResult; } rows[] = {{1, 0}, {0, 1}, {-5, -5}};
  for (const auto& row : rows) {
    auto reader = std::make_unique<ReaderState>();
    test::FakeBoardUsb usb;
    usb.batches.push_back(test::PlainReport(2, 5, test::Row({}, 0x21), test::Row({}, 0x22)));
    ReadReports(usb, 1, ReportFraming::Plain, *reader);
    const ReportSlots before = reader->ReportStore;
    usb.queueStatusResult = row.queueStatusResult;
    usb.readResult = row.readResult;
    usb.batches.push_back(test::PlainReport(1, 200, test::Row({}, 9), test::Row({}, 9)));
    const auto where = ::testing::Message()
                       << "queue status " << row.queueStatusResult << " read " << row.readResult;
    const ReadResult read = ReadReports(usb, 1, ReportFraming::Plain, *reader);
    EXPECT_TRUE(read.LinkFailed) << where;
    EXPECT_FALSE(read.NewReport) << where;
    EXPECT_FALSE(reader->DataReceived) << where;
    EXPECT_EQ(reader->ReportStore, before) << where;
  }
}

// A short read leaves the rest of the buffer as the read before left it: only the bytes the
// library says it read are new.
TEST(ReadReports, AShortReadStoresOnlyTheBytesItBrought) {
  auto reader = std::make_unique<ReaderState>();
  reader->ReportStore = Slots({});
  test::FakeBoardUsb usb;
  const auto report = test::PlainReport(2, 5, test::Row({}, 0x21), test::Row({}, 0x22));
  usb.batches.push_back(report);
  usb.shortReadBytes = 20;
  const ReadResult read = ReadReports(usb, 1, ReportFraming::Plain, *reader);
  EXPECT_EQ(read.Received, 20u);
  EXPECT_EQ(reader->ReportStore, Slots(Bytes(report.begin(), report.begin() + 20), 1));
}

// Frames 1..40, each marked by its status byte, read in pieces. In the receive buffer behind
// each read's bytes lies the whole stream as an earlier read might have left it, so a frame
// judged by bytes that have not arrived would complete too early.
std::vector<int> FramesSeen(const std::vector<std::size_t>& pieces) {
  Bytes stream;
  for (int n = 1; n <= 40; ++n)
    stream = Concat({stream, MarkedFrame(static_cast<std::uint8_t>(n))});
  auto reader = std::make_unique<ReaderState>();
  std::vector<int> seen;
  test::FakeBoardUsb usb;
  std::size_t at = 0;
  for (std::size_t piece : pieces) {
    if (at >= stream.size()) break;
    const std::size_t n = std::min(piece, stream.size() - at);
    std::copy(stream.begin(), stream.end(), reader->ReceiveBuffer.begin());
    usb.batches.push_back(Bytes(stream.begin() + static_cast<std::ptrdiff_t>(at),
                                stream.begin() + static_cast<std::ptrdiff_t>(at + n)));
    at += n;
    if (ReadReports(usb, 1, ReportFraming::Framed, *reader).NewReport) {
      EXPECT_TRUE(WholeFrameStored(*reader));
      seen.push_back(reader->ReportStore[1]);
      // A frame completes with the read that brings its last byte.
      EXPECT_EQ(at / 47, static_cast<std::size_t>(seen.back())) << "frame " << seen.back();
    }
  }
  return seen;
}

TEST(FramedReports, ACutAnywhereInAFrameCompletesEveryFrameOnceFromItsOwnBytes) {
  std::vector<int> all(40);
  for (int n = 0; n < 40; ++n) all[static_cast<std::size_t>(n)] = n + 1;
  // The first read ends `cut` bytes into a frame, every later one 47 bytes on.
  for (std::size_t cut = 1; cut <= 46; ++cut) {
    std::vector<std::size_t> pieces{cut};
    pieces.resize(60, 47);
    EXPECT_EQ(FramesSeen(pieces), all) << "cut at " << cut;
  }
  // Reads of any length up to one frame, as a 115200 bit/s link delivers them to a poll.
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> length(1, 47);
  for (int run = 0; run < 20; ++run) {
    std::vector<std::size_t> pieces(2000);
    for (auto& p : pieces) p = length(random);
    EXPECT_EQ(FramesSeen(pieces), all) << "run " << run;
  }
}

}  // namespace
}  // namespace raz
