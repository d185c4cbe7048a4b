// What razazide-record tells the user: the library's architecture read from its PE header,
// and the message for each way a recording can fail or succeed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "explain.h"

namespace raz::record {
namespace {

// An MS-DOS stub pointing at a PE header with the given machine at the given offset.
std::vector<std::uint8_t> PeImage(std::uint16_t machine, std::size_t peAt = 0x80,
                                  std::size_t size = 0x200) {
  std::vector<std::uint8_t> bytes(size, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[0x3C] = static_cast<std::uint8_t>(peAt);
  bytes[0x3D] = static_cast<std::uint8_t>(peAt >> 8);
  if (peAt + 6 <= size) {
    bytes[peAt] = 'P';
    bytes[peAt + 1] = 'E';
    bytes[peAt + 4] = static_cast<std::uint8_t>(machine);
    bytes[peAt + 5] = static_cast<std::uint8_t>(machine >> 8);
  }
  return bytes;
}

TEST(PeMachine, ReadsTheMachineAndRefusesWhatIsNoPeImage) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::optional<Machine> expected;
  };
  std::vector<std::uint8_t> notMz = PeImage(0x014C);
  notMz[0] = 'Z';
  std::vector<std::uint8_t> badSignature = PeImage(0x014C);
  badSignature[0x81] = 'X';
  const Case cases[] = {
      {"i386", PeImage(0x014C), Machine::X86},
      {"amd64", PeImage(0x8664), Machine::X64},
      {"arm64", PeImage(0xAA64), Machine::Other},
      {"header at the very end", PeImage(0x8664, 0x1FA), Machine::X64},
      {"header cut off", PeImage(0x8664, 0x1FC), std::nullopt},
      {"header beyond the bytes", PeImage(0x8664, 0x400), std::nullopt},
      {"no MZ", notMz, std::nullopt},
      {"no PE signature", badSignature, std::nullopt},
      {"empty", {}, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(PeMachine(c.bytes), c.expected) << c.name;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(Explain, EachLibraryProblemSaysWhatToDo) {
  struct Case {
    LibraryState state;
    std::optional<Machine> library;
    Machine own;
    std::vector<std::string> parts;
  };
  const Case cases[] = {
      {LibraryState::Missing,
       std::nullopt,
       Machine::X86,
       {"SIUSBXP.DLL is not in C:\\Apps\\RA_Zazide", "Copy the board's own SIUSBXP.DLL"}},
      {LibraryState::WrongArchitecture,
       Machine::X86,
       Machine::X64,
       {"C:\\Apps\\RA_Zazide\\SIUSBXP.DLL is a 32-bit (x86) library",
        "this razazide-record is 64-bit (x64)", "Install the 32-bit (x86) RA_Zazide"}},
      {LibraryState::NotLoadable,
       std::nullopt,
       Machine::X86,
       {"could not be loaded", "Copy the board's own SIUSBXP.DLL into C:\\Apps\\RA_Zazide."}},
  };
  for (const Case& c : cases) {
    LibraryFacts facts{c.state, "C:\\Apps\\RA_Zazide\\SIUSBXP.DLL", "C:\\Apps\\RA_Zazide",
                       c.library, c.own};
    const std::string text = ExplainLibrary(facts);
    for (const std::string& part : c.parts) {
      EXPECT_TRUE(Contains(text, part)) << static_cast<int>(c.state) << ": " << text;
    }
  }
  EXPECT_EQ(ExplainLibrary({}), "");
}

TEST(Explain, ARefusedBoardNamesTheDriverOnlyWhenItRuns) {
  RecordSummary absent;
  absent.outcome = RecordOutcome::BoardAbsent;
  absent.status = 255;
  RecordSummary refused;
  refused.outcome = RecordOutcome::OpenRefused;
  refused.status = 5;
  struct Case {
    const RecordSummary* summary;
    bool driverRunning;
    std::string must;
    std::string mustNot;
  };
  const Case cases[] = {
      {&absent, false, "The board is not connected", "RA_Zazide"},
      {&absent, true, "(status 255)", "in use"},
      {&refused, true, "in use by RA_Zazide", "not connected"},
      {&refused, true, "Exit RA_Zazide first (click its tray icon, choose EXIT / 退出)", ""},
      {&refused, false, "could not be opened (status 5): another program", "RA_Zazide"},
  };
  for (const Case& c : cases) {
    const std::string text = ExplainRefusal(*c.summary, c.driverRunning);
    EXPECT_TRUE(Contains(text, c.must)) << text;
    if (!c.mustNot.empty()) {
      EXPECT_FALSE(Contains(text, c.mustNot)) << text;
    }
  }
}

TEST(Explain, ARecordingWarnsAboutSilenceLossAndTheRunningDriver) {
  RecordSettings settings;
  settings.seconds = 20;
  RecordSummary good;
  good.polls = 10000;
  good.pollsWithData = 4000;
  good.bytes = 180000;
  RecordSummary silent = good;
  silent.pollsWithData = 0;
  silent.bytes = 0;
  RecordSummary lost = good;
  lost.failedPolls = 6000;
  lost.firstFailureMicros = 8'240'000;
  struct Case {
    const RecordSummary* summary;
    bool driverRunning;
    std::vector<std::string> must;
    int warnings;
  };
  const Case cases[] = {
      {&good,
       false,
       {"Recorded 20 s from the board: 10000 polls, 4000 with data, 180000 bytes."},
       0},
      {&silent, false, {"the board sent nothing"}, 1},
      {&lost, false, {"stopped answering after 8.2 s (6000 polls refused)"}, 1},
      {&good, true, {"RA_Zazide was running"}, 1},
  };
  for (const Case& c : cases) {
    const std::string text = ExplainRecorded(*c.summary, settings, "D:\\capture", c.driverRunning);
    for (const std::string& part : c.must) EXPECT_TRUE(Contains(text, part)) << text;
    EXPECT_TRUE(Contains(text, "are in D:\\capture. Send that folder to support")) << text;
    int warnings = 0;
    for (std::size_t at = text.find("WARNING"); at != std::string::npos;
         at = text.find("WARNING", at + 1)) {
      ++warnings;
    }
    EXPECT_EQ(warnings, c.warnings) << text;
  }
}

}  // namespace
}  // namespace raz::record
