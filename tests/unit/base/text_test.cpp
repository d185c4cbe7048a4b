#include "base/text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace raz {
namespace {

// The tray tip and the target-window names are cut by characters: a cut inside a character
// would leave bytes that are no text at all.
TEST(Utf8Prefix, CutsByCharactersNeverInsideOne) {
  const std::tuple<const char*, std::size_t, const char*> rows[] = {
      {"Rored_Evezed", 63, "Rored_Evezed"},
      {"Rored_Evezed", 5, "Rored"},
      {"", 3, ""},
      {"abc", 0, ""},
      {"白板设置", 2, "白板"},  // three bytes each
      {"a白b", 2, "a白"},
      {"€uro", 1, "€"},
      {"𝄞x", 1, "𝄞"},                // four bytes
      {"\x80\x80z", 1, "\x80\x80"},  // stray continuation bytes stay with the character before
  };
  for (const auto& [text, characters, expected] : rows) {
    EXPECT_EQ(Utf8Prefix(text, characters), expected) << text << " cut at " << characters;
  }
}

}  // namespace
}  // namespace raz
