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

}  // namespace
}  // namespace raz::record
