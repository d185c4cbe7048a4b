#pragma once
// Captions of the main window in Chinese or English.
#include <cstdint>

#include "shell/captions.h"

namespace raz {

class TForm1;

// Sets the captions of the table in table order; N6 is left alone when includeN6 is false.
void ApplyCaptions(TForm1& form, const CaptionSet& captions, bool includeN6 = true);

// Start-up: Select 1 gives English, 2 Chinese (N6 keeps its design caption, the same text),
// anything else keeps the design captions.
void ApplyStartupLanguage(TForm1& form, std::int32_t select);

}  // namespace raz
