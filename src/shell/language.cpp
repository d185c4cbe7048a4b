#include "shell/language.h"

#include <array>
#include <cctype>

namespace raz {
namespace {

// Everything a language brings, in one row per Language.
struct LanguageRow {
  std::int32_t select;  // the value of Select that chooses it
  const CaptionSet& captions;
  const DialogCaptionSet& dialog;
  const SurfaceTexts& surface;
};

constexpr std::array<LanguageRow, kLanguageCount> kLanguages{{
    {kLanguageChinese, kChineseCaptions, kChineseDialogCaptions, kChineseSurfaceTexts},
    {kLanguageEnglish, kEnglishCaptions, kEnglishDialogCaptions, kEnglishSurfaceTexts},
}};

const LanguageRow& RowOf(Language language) {
  return kLanguages[static_cast<std::size_t>(language)];
}

std::optional<Language> LanguageOfSelect(std::int32_t select) {
  for (std::size_t i = 0; i < kLanguages.size(); ++i) {
    if (kLanguages[i].select == select) return static_cast<Language>(i);
  }
  return std::nullopt;
}

}  // namespace

std::optional<LanguageCaptions> StartupCaptions(std::int32_t select) {
  const std::optional<Language> language = LanguageOfSelect(select);
  if (!language) return std::nullopt;
  // Chinese are the design captions, N6's among them: the start-up leaves N6 as it is.
  return LanguageCaptions{&RowOf(*language).captions, *language != Language::Chinese};
}

Language StartupLanguage(std::int32_t select) {
  return LanguageOfSelect(select).value_or(Language::Chinese);
}

const CaptionSet& CaptionsOf(Language language) { return RowOf(language).captions; }

std::string MonitorCaption(const MonitorInfo& monitor, const char* primaryWord) {
  const std::string& name = monitor.Name;
  std::size_t digits = name.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
  std::string caption = digits < name.size() ? name.substr(digits) : name;
  caption += ": " + std::to_string(monitor.Bounds.Width) + " x " +
             std::to_string(monitor.Bounds.Height);
  if (monitor.Primary) caption += std::string(" (") + primaryWord + ")";
  return caption;
}

const DialogCaptionSet& DialogCaptionsOf(Language language) { return RowOf(language).dialog; }

const SurfaceTexts& SurfaceTextsOf(Language language) { return RowOf(language).surface; }

}  // namespace raz
