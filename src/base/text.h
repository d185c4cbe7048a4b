#pragma once
// UTF-8 text cut by characters, never inside one.
#include <cstddef>
#include <string>
#include <string_view>

namespace raz {

// The first maxCharacters characters of the text (all of it when shorter).
inline std::string Utf8Prefix(std::string_view text, std::size_t maxCharacters) {
  std::size_t end = 0;
  for (std::size_t characters = 0; end < text.size() && characters < maxCharacters; ++characters) {
    ++end;
    // Continuation bytes (10xxxxxx) belong to the character before them.
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return std::string(text.substr(0, end));
}

}  // namespace raz
