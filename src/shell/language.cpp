#include "shell/language.h"

namespace raz {

std::optional<LanguageCaptions> StartupCaptions(std::int32_t select) {
  if (select == kLanguageEnglish) return LanguageCaptions{&kEnglishCaptions, true};
  if (select == kLanguageChinese) return LanguageCaptions{&kChineseCaptions, false};
  return std::nullopt;
}

}  // namespace raz
