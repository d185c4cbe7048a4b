#include "shell/language.h"

#include "app/form1.h"

namespace raz {

void ApplyCaptions(TForm1& form, const CaptionSet& captions, bool includeN6) {
  form.Label13.Caption = captions.Label13;
  form.Label14.Caption = captions.Label14;
  form.Label15.Caption = captions.Label15;
  form.Button3.Caption = captions.Button3;
  form.button1.Caption = captions.button1;
  form.N1.Caption = captions.N1;
  form.N2.Caption = captions.N2;
  form.N4.Caption = captions.N4;
  form.N3.Caption = captions.N3;
  if (includeN6) form.N6.Caption = captions.N6;
}

void ApplyStartupLanguage(TForm1& form, std::int32_t select) {
  if (select == kLanguageEnglish) ApplyCaptions(form, kEnglishCaptions);
  if (select == kLanguageChinese) ApplyCaptions(form, kChineseCaptions, false);
}

}  // namespace raz
