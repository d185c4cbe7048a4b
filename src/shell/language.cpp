#include "shell/language.h"

namespace raz {

std::optional<LanguageCaptions> StartupCaptions(std::int32_t select) {
  if (select == kLanguageEnglish) return LanguageCaptions{&kEnglishCaptions, true};
  if (select == kLanguageChinese) return LanguageCaptions{&kChineseCaptions, false};
  return std::nullopt;
}

Language StartupLanguage(std::int32_t select) {
  return select == kLanguageEnglish ? Language::English : Language::Chinese;
}

const CaptionSet& CaptionsOf(Language language) {
  return language == Language::English ? kEnglishCaptions : kChineseCaptions;
}

const DialogCaptionSet& DialogCaptionsOf(Language language) {
  return language == Language::English ? kEnglishDialogCaptions : kChineseDialogCaptions;
}

const SurfaceTexts& SurfaceTextsOf(Language language) {
  return language == Language::English ? kEnglishSurfaceTexts : kChineseSurfaceTexts;
}


}  // namespace raz
