#pragma once
// Which captions the language setting asks for.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/display.h"
#include "shell/captions.h"

namespace raz {

// The language the captions are in. The design captions are the Chinese ones. A language is a
// row of the table in language.cpp, in this order.
enum class Language { Chinese, English };
inline constexpr std::size_t kLanguageCount = 2;

struct LanguageCaptions {
  const CaptionSet* Captions = nullptr;
  bool IncludeN6 = true;  // the start-up leaves N6 at its design caption (the same text)
};

// Start-up: Select 1 gives English, 2 Chinese, anything else keeps the design captions.
std::optional<LanguageCaptions> StartupCaptions(std::int32_t select);
// The language the captions are in after the start-up has applied Select.
Language StartupLanguage(std::int32_t select);

const CaptionSet& CaptionsOf(Language language);

// A monitor as the board-screen menu names it: "2: 1024 x 768", the primary with the word
// given, "1: 1920 x 1080 (primary)". The number is the one ending the system's device name, as
// the system's own display settings show it.
std::string MonitorCaption(const MonitorInfo& monitor, const char* primaryWord);
const DialogCaptionSet& DialogCaptionsOf(Language language);
const SurfaceTexts& SurfaceTextsOf(Language language);

}  // namespace raz
