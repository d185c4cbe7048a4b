// razazide-record's command line: what each option sets, and which mistakes are named.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options.h"

namespace raz::record {
namespace {

struct OptionCase {
  std::vector<std::string> args;
  std::uint32_t seconds;
  std::uint32_t pollMs;
  int framing;  // -1: not given
  std::string outFolder;
  std::string error;  // empty: accepted
};

const OptionCase kCases[] = {
    {{}, 0, 0, -1, "", ""},
    {{"--seconds", "10"}, 10, 0, -1, "", ""},
    {{"--seconds", "3600", "--poll-ms", "100"}, 3600, 100, -1, "", ""},
    {{"--framing", "1", "--out", "C:\\cap"}, 0, 0, 1, "C:\\cap", ""},
    {{"--framing", "0"}, 0, 0, 0, "", ""},
    {{"--seconds", "0"}, 0, 0, -1, "", "bad value for --seconds: '0'"},
    {{"--seconds", "3601"}, 3601, 0, -1, "", "bad value for --seconds: '3601'"},
    {{"--seconds", "ten"}, 0, 0, -1, "", "bad value for --seconds: 'ten'"},
    {{"--poll-ms", "0"}, 0, 0, -1, "", "bad value for --poll-ms: '0'"},
    {{"--framing", "2"}, 0, 0, 0, "", "bad value for --framing: '2'"},
    {{"--seconds"}, 0, 0, -1, "", "--seconds needs a value"},
    {{"--loud", "--seconds", "5"}, 5, 0, -1, "", "unknown option --loud"},
    {{"extra"}, 0, 0, -1, "", "unknown option extra"},
};

TEST(RecordOptions, EachOptionSetsItsValueAndMistakesAreNamed) {
  for (const OptionCase& c : kCases) {
    std::string row;
    for (const std::string& a : c.args) row += a + " ";
    const ParsedRecorderOptions parsed = ParseRecorderOptions(c.args);
    if (c.error.empty()) {
      EXPECT_TRUE(parsed.errors.empty()) << row << ": " << parsed.errors.front();
    } else {
      ASSERT_EQ(parsed.errors.size(), 1u) << row;
      EXPECT_EQ(parsed.errors[0], c.error) << row;
    }
    if (!c.error.empty() && c.error.rfind("bad value", 0) == 0) continue;
    EXPECT_EQ(parsed.options.seconds, c.seconds) << row;
    EXPECT_EQ(parsed.options.pollMs, c.pollMs) << row;
    EXPECT_EQ(parsed.options.framing.value_or(-1), c.framing) << row;
    EXPECT_EQ(parsed.options.outFolder, c.outFolder) << row;
  }
}

}  // namespace
}  // namespace raz::record
