#pragma once
// The captions the language switch sets, in both languages.

namespace raz {

struct CaptionSet {
  const char* Label13;
  const char* Label14;
  const char* Label15;
  const char* Button3;
  const char* button1;
  const char* N1;
  const char* N2;
  const char* N4;
  const char* N3;
  const char* N6;
};

inline constexpr CaptionSet kChineseCaptions{
    "请点击左侧第一个图标的右上角", "请点击左侧最后一个图标的右下角",
    "请点击右侧任意图标的左上角",   "重 新 定 位",
    "取    消",                     "定位",
    "自启动",                       "使用快捷键",
    "退出",                         "快捷键定位"};

inline constexpr CaptionSet kEnglishCaptions{
    "Click on the first icon to the left of the upper right corner",
    "Click on the last icon on the left side of the lower right corner",
    "Click on any icon to the right of the upper-left corner",
    "RECALIBRATE",
    "CLOSE",
    "CALIBRATE",
    "AUTORUN",
    "Use Hotkey",
    "EXIT",
    "Hotkey Settings"};

// Values of the language key Select.
inline constexpr int kLanguageEnglish = 1;
inline constexpr int kLanguageChinese = 2;

}  // namespace raz
