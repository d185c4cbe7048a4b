#include "board/report_store.h"

#include <gtest/gtest.h>

#include <memory>

#include "report_builder.h"
#include "unit/board/fake_board_usb.h"

namespace raz {
namespace {

using test::Concat;
using test::Filler;
using test::Frame;
using test::Row;

ReportSlots NumberedStore() {
  ReportSlots store;
  for (std::size_t i = 0; i < store.size(); ++i) store[i] = 1000 + static_cast<int>(i);
  return store;
}

// A receive buffer on the heap (it is 50 kB) holding the given bytes from the start.
struct Received {
  explicit Received(const std::vector<std::uint8_t>& bytes) { Put(bytes); }
  void Put(const std::vector<std::uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), buffer->begin());
    count = bytes.size();
  }
  std::unique_ptr<ReceiveBytes> buffer = std::make_unique<ReceiveBytes>();
  std::size_t count = 0;
};

std::vector<std::uint8_t> MarkedFrame(std::uint8_t mark) {
  return Frame(mark, mark, Row({}, mark), Row({}, mark));
}

void ExpectStoreHolds(const ReportSlots& store, const std::vector<std::uint8_t>& frame) {
  for (std::size_t slot = 0; slot < store.size(); ++slot) {
    EXPECT_EQ(store[slot], frame[slot]) << "slot " << slot;
  }
}

TEST(PlainReports, TwoReportsInABatchKeepTheFirstAndOneByteOfTheNext) {
  const auto first = test::PlainReport(2, 5, Row({}, 0x21), Row({}, 0x22), 0x23);
  const auto second = test::PlainReport(1, 200, Row({}, 0x31), Row({}, 0x32), 0x33);
  const auto batch = Concat({first, second});
  ASSERT_EQ(batch.size(), 90u);
  ReportSlots store = NumberedStore();
  StorePlainReport(batch, store);
  EXPECT_EQ(store[0], 1000);
  for (std::size_t slot = 1; slot <= 45; ++slot) EXPECT_EQ(store[slot], first[slot - 1]) << slot;
  EXPECT_EQ(store[46], second[0]);
}

TEST(PlainReports, ShortBatchOverwritesOnlyTheSlotsItReaches) {
  ReportSlots store = NumberedStore();
  StorePlainReport(Filler(20, 0x77), store);
  for (std::size_t slot = 0; slot < store.size(); ++slot) {
    const int expected = slot >= 1 && slot <= 20 ? 0x77 : 1000 + static_cast<int>(slot);
    EXPECT_EQ(store[slot], expected) << "slot " << slot;
  }
}

TEST(FramedReports, FrameInsideABatchIsFoundPastLeadingBytes) {
  const auto frame = MarkedFrame(0x42);
  Received in(Concat({Filler(3), frame, Filler(10)}));
  ASSERT_EQ(in.count, 60u);
  ASSERT_EQ((*in.buffer)[48], 0x51);
  ASSERT_EQ((*in.buffer)[49], 0xFE);
  ReportSlots store = NumberedStore();
  FrameSync sync;
  EXPECT_TRUE(StoreFramedReport(*in.buffer, in.count, sync, store));
  ExpectStoreHolds(store, frame);
  EXPECT_FALSE(sync.Syncing);
}

TEST(FramedReports, BatchWithoutFrameStartKeepsTheOldFrame) {
  Received in(Filler(60, 0x33));
  ReportSlots store = NumberedStore();
  FrameSync sync;
  EXPECT_FALSE(StoreFramedReport(*in.buffer, in.count, sync, store));
  EXPECT_EQ(store, NumberedStore());
  EXPECT_FALSE(sync.Syncing);
}

TEST(FramedReports, OnlyTheFirstOfTwoFramesIsStored) {
  const auto first = MarkedFrame(0x41);
  Received in(Concat({first, MarkedFrame(0x42)}));
  ReportSlots store = NumberedStore();
  FrameSync sync;
  EXPECT_TRUE(StoreFramedReport(*in.buffer, in.count, sync, store));
  ExpectStoreHolds(store, first);
}

TEST(FramedReports, StartByteWithoutTrailerAndEndIsOrdinaryData) {
  auto bytes = Filler(60, 0x10);
  bytes[5] = 0xFD;
  bytes[5 + 45] = 0x51;  // end byte missing
  Received in(bytes);
  ReportSlots store = NumberedStore();
  FrameSync sync;
  EXPECT_FALSE(StoreFramedReport(*in.buffer, in.count, sync, store));
  EXPECT_EQ(store, NumberedStore());
}

TEST(FramedReports, NewFrameStartWhileCollectingRestartsTheFrame) {
  // A frame cut short after 20 bytes, then a whole one: the whole one is stored.
  const auto broken = MarkedFrame(0x41);
  const auto whole = MarkedFrame(0x42);
  auto bytes = Concat({std::vector<std::uint8_t>(broken.begin(), broken.begin() + 20), whole});
  // The cut frame's trailer and end positions fall inside the whole frame; make them match
  // so that it really starts collecting.
  bytes[45] = 0x51;
  bytes[46] = 0xFE;
  Received in(bytes);
  ReportSlots store = NumberedStore();
  FrameSync sync;
  auto expected = whole;
  expected[45 - 20] = 0x51;
  expected[46 - 20] = 0xFE;
  EXPECT_TRUE(StoreFramedReport(*in.buffer, in.count, sync, store));
  ExpectStoreHolds(store, expected);
}

TEST(FramedReports, FrameStraddlingTwoReadsCompletesWithTheSecond) {
  const auto earlier = MarkedFrame(0x40);
  const auto frame = MarkedFrame(0x42);
  Received in(Concat({Filler(3), earlier, Filler(10)}));
  ReportSlots store = NumberedStore();
  FrameSync sync;
  ASSERT_TRUE(StoreFramedReport(*in.buffer, in.count, sync, store));

  // The next read brings only the start of a frame at the same place; its trailer and end are
  // still in the buffer from the read before.
  in.Put(Concat({Filler(3), std::vector<std::uint8_t>(frame.begin(), frame.begin() + 17)}));
  EXPECT_FALSE(StoreFramedReport(*in.buffer, in.count, sync, store));
  EXPECT_TRUE(sync.Syncing);
  EXPECT_EQ(sync.StoreIndex, 17u);

  in.Put(Concat({std::vector<std::uint8_t>(frame.begin() + 17, frame.end()), Filler(5)}));
  EXPECT_TRUE(StoreFramedReport(*in.buffer, in.count, sync, store));
  ExpectStoreHolds(store, frame);
  EXPECT_FALSE(sync.Syncing);
}

TEST(FramedReports, LookAheadPastTheBufferNeverMatches) {
  auto buffer = std::make_unique<ReceiveBytes>();
  buffer->fill(0x10);
  // A start byte 46 bytes before the end: its end byte would lie past the buffer.
  const std::size_t start = kReceiveBufferSize - 46;
  (*buffer)[start] = 0xFD;
  (*buffer)[start + 45] = 0x51;
  ReportSlots store = NumberedStore();
  FrameSync sync;
  EXPECT_FALSE(StoreFramedReport(*buffer, kReceiveBufferSize, sync, store));
  EXPECT_FALSE(sync.Syncing);
  // One byte earlier the frame ends on the buffer's last byte.
  (*buffer)[start - 1] = 0xFD;
  (*buffer)[start - 1 + 45] = 0x51;
  (*buffer)[start - 1 + 46] = 0xFE;
  EXPECT_TRUE(StoreFramedReport(*buffer, kReceiveBufferSize, sync, store));
  EXPECT_EQ(store[0], 0xFD);
  EXPECT_EQ(store[46], 0xFE);
}

TEST(FetchReports, ReadsTheQueuedBytes) {
  test::FakeBoardUsb usb;
  usb.batches.push_back(Filler(90, 0x5A));
  auto buffer = std::make_unique<ReceiveBytes>();
  EXPECT_EQ(FetchReports(usb, 7, *buffer), 90u);
  EXPECT_EQ(usb.readRequests, (std::vector<std::uint32_t>{90}));
  EXPECT_EQ((*buffer)[89], 0x5A);
}

TEST(FetchReports, FailedCallsCountAsNothingReceived) {
  const struct {
    std::int32_t queueStatusResult;
    std::int32_t readResult;
  } rows[] = {{1, 0}, {0, 1}, {-5, -5}};
  for (const auto& row : rows) {
    test::FakeBoardUsb usb;
    usb.batches.push_back(Filler(45));
    usb.queueStatusResult = row.queueStatusResult;
    usb.readResult = row.readResult;
    auto buffer = std::make_unique<ReceiveBytes>();
    EXPECT_EQ(FetchReports(usb, 7, *buffer), 0u)
        << "queue status " << row.queueStatusResult << " read " << row.readResult;
  }
}

TEST(FetchReports, QueueLargerThanTheBufferIsReadOneBufferAtATime) {
  test::FakeBoardUsb usb;
  usb.batches.push_back(Filler(kReceiveBufferSize + 996, 0x66));
  auto buffer = std::make_unique<ReceiveBytes>();
  EXPECT_EQ(FetchReports(usb, 7, *buffer), kReceiveBufferSize);
  EXPECT_EQ(FetchReports(usb, 7, *buffer), 996u);
  EXPECT_EQ(usb.readRequests, (std::vector<std::uint32_t>{kReceiveBufferSize, 996}));
}

TEST(StoreReport, UnknownFramingStoresNothing) {
  auto decoder = std::make_unique<DecoderState>();
  decoder->ReportStore = NumberedStore();
  std::fill_n(decoder->ReceiveBuffer.begin(), 60, 0x10);
  PenSample sample;
  sample.FrameComplete = 1;
  StoreReport(*decoder, 2, 60, sample);
  EXPECT_EQ(decoder->ReportStore, NumberedStore());
  EXPECT_EQ(sample.FrameComplete, 1);
}

TEST(StoreReport, FramedCallWithoutDataKeepsFrameComplete) {
  auto decoder = std::make_unique<DecoderState>();
  PenSample sample;
  sample.FrameComplete = 1;
  StoreReport(*decoder, 1, 0, sample);
  EXPECT_EQ(sample.FrameComplete, 1);
  std::fill_n(decoder->ReceiveBuffer.begin(), 60, 0x10);
  StoreReport(*decoder, 1, 60, sample);
  EXPECT_EQ(sample.FrameComplete, 0);
}

}  // namespace
}  // namespace raz
