#pragma once
// The captions the language switch sets, in both languages.

namespace raz {

// In the order the switch sets them; the board-settings item N8 comes after the ten.
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
  const char* N8;
  const char* N9;
  const char* Primary;  // beside the primary monitor in N9's items
  const char* N10;
};

inline constexpr CaptionSet kChineseCaptions{
    "请点击左侧第一个图标的右上角", "请点击左侧最后一个图标的右下角",
    "请点击右侧任意图标的左上角",   "重 新 定 位",
    "取    消",                     "定位",
    "自启动",                       "使用快捷键",
    "退出",                         "快捷键定位",
    "白板设置",
    "白板所在屏幕",                 "主屏幕",
    "点击白板上的红色十字来选择"};

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
    "Hotkey Settings",
    "Board Settings",
    "Board Screen",
    "primary",
    "Find by Touching Its Cross"};

// The settings dialog's own captions. The settings file may name the two buttons and the model
// group; these stand where it does not.
struct DialogCaptionSet {
  const char* RadioGroup1;
  const char* RadioButton1;
  const char* RadioButton2;
  const char* Button1;
  const char* Button2;
  const char* RadioGroup2;
  // The mapping group and its items, in the order of the Mapping key's values.
  const char* RadioGroup3;
  const char* MappingItems[2];
  const char* RadioGroup4;  // the pen's response, classic or responsive
  const char* PenClassic;
  const char* PenResponsive;
};

// The radio pair chooses how the board frames its reports, and with it the link rate. The
// design captioned it as a hotkey switch, which invited a teacher to pick framed reports for a
// plain board: the pen then stops, and stays stopped after every restart. The captions say
// what the choice does, with the rates of kPlainLinkRate and kFramedLinkRate.
inline constexpr DialogCaptionSet kChineseDialogCaptions{
    "白板报告格式", "标准 460800", "分帧 115200", "确定", "取消", "选择白板规格",
    "映射方式",     {"标准", "梯形精确"},
    "笔迹响应", "经典", "灵敏"};

// Short enough for the dialog's 21-pixel bold font in the controls' widths.
inline constexpr DialogCaptionSet kEnglishDialogCaptions{
    "Report format", "Standard 460800", "Framed 115200", "OK", "Cancel", "Board model",
    "Mapping",       {"Standard", "Keystone-exact"},
    "Pen response", "Classic", "Responsive"};

// What the calibration surface tells the teacher at the board. {n} stands for the number of
// the cross, 1 to 9.
struct SurfaceTexts {
  const char* CrossPrompt;    // the tour waits for a touch on a cross
  const char* TourRefused;    // the nine touches would fold the mapping: the tour starts again
  const char* ScreenChanged;  // the display changed size: the tour starts again on it
};

inline constexpr SurfaceTexts kChineseSurfaceTexts{
    "请用笔点击红色十字的中心（第 {n} 个，共 9 个）。按 Esc 键取消。",
    "触点与十字的位置不符，请重新点击每个十字。",
    "屏幕大小已改变，请重新点击每个十字。"};

inline constexpr SurfaceTexts kEnglishSurfaceTexts{
    "Touch the centre of the red cross with the pen ({n} of 9). Esc cancels.",
    "The touches did not match the crosses. Touch each cross again.",
    "The screen changed size. Touch each cross again."};

// Values of the language key Select.
inline constexpr int kLanguageEnglish = 1;
inline constexpr int kLanguageChinese = 2;

}  // namespace raz
