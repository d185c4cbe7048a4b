#pragma once
// Fixed identifiers of the real windows, controls and menu commands. The Windows test client
// includes this header to find the controls of a running program from another process.

namespace raz::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"RA_Zazide window class";
inline constexpr wchar_t kMainWindowCaption[] = L"RA_Zazide";
inline constexpr wchar_t kDialogWindowClass[] = L"RA_Zazide dialog class";
inline constexpr wchar_t kDialogWindowCaption[] = L"Board";
inline constexpr wchar_t kImageWindowClass[] = L"RA_Zazide image";

// Child controls of the main window.
namespace Form1Id {
inline constexpr int Label1 = 101;
inline constexpr int Label2 = 102;
inline constexpr int Label3 = 103;
inline constexpr int Label4 = 104;
inline constexpr int Label5 = 105;
inline constexpr int Label6 = 106;
inline constexpr int Label7 = 107;
inline constexpr int Label8 = 108;
inline constexpr int Label9 = 109;
inline constexpr int Label12 = 112;
inline constexpr int Label13 = 113;
inline constexpr int Label14 = 114;
inline constexpr int Label15 = 115;
inline constexpr int button1 = 121;
inline constexpr int Button3 = 123;
inline constexpr int Button4 = 124;
inline constexpr int Button5 = 125;
inline constexpr int Memo1 = 131;
inline constexpr int Memo2 = 132;
inline constexpr int Memo3 = 133;
inline constexpr int Edit1 = 141;
inline constexpr int Image1 = 151;
inline constexpr int Image2 = 152;
inline constexpr int Image3 = 153;
}  // namespace Form1Id

// Child controls of the settings dialog. A radio group's items follow its own id: id + 1 + index.
namespace Form2Id {
inline constexpr int RadioGroup1 = 201;
inline constexpr int RadioButton1 = 211;
inline constexpr int RadioButton2 = 212;
inline constexpr int Button1 = 221;
inline constexpr int Button2 = 222;
inline constexpr int RadioGroup2 = 230;
inline constexpr int RadioGroup3 = 240;
inline constexpr int RadioGroup4 = 250;
}  // namespace Form2Id

// Commands of the tray menu.
namespace MenuId {
inline constexpr int N1 = 301;
inline constexpr int N6 = 302;
inline constexpr int N2 = 303;
inline constexpr int langer1 = 304;
inline constexpr int N7 = 305;
inline constexpr int English1 = 306;
inline constexpr int N4 = 307;
inline constexpr int N5 = 308;
inline constexpr int N3 = 309;
inline constexpr int N8 = 310;
inline constexpr int N9 = 311;
inline constexpr int N10 = 312;
// N9's items, one per monitor: Screen1 + n for the n-th (0-based).
inline constexpr int Screen1 = 320;
}  // namespace MenuId

}  // namespace raz::win32
