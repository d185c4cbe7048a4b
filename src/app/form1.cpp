#include "app/form1.h"

#include "app/canvas.h"
#include "app/form2.h"
#include "board/device_link.h"
#include "calibration/usable_calibration.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"
#include "shell/autostart.h"
#include "shell/language.h"
#include "shell/menu_bitmaps.h"
#include "shell/tray.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "vkeys/key_calibration.h"

namespace raz {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kFuchsia = 0xFF00FF;

}  // namespace

TForm1::TForm1(DriverState& state, Platform& platform) : state_(state), platform_(platform) {
  // Design state of the form resource.
  Window.Caption = kMainCaption;
  Window.Left = 32000;
  Window.Top = 23;
  Window.ClientWidth = 1014;
  Window.ClientHeight = 670;

  Timer1 = {true, 2};
  Timer2 = {true, 2000};
  Timer3 = {true, 3000};

  N1 = {kChineseCaptions.N1};
  N6 = {kChineseCaptions.N6};
  N2 = {kChineseCaptions.N2, true};
  langer1 = {"语言（language）", false, true};
  N7 = {"简体中文"};
  English1 = {"English"};
  N4 = {kChineseCaptions.N4, true};
  N5 = {"-"};
  N3 = {kChineseCaptions.N3};
  N8 = {kChineseCaptions.N8};
  N9 = {kChineseCaptions.N9};
  N10 = {kChineseCaptions.N10};
  N1.Bitmap = MenuBitmap(MenuPicture::Calibrate);
  N6.Bitmap = MenuBitmap(MenuPicture::KeyCalibrate);
  N3.Bitmap = MenuBitmap(MenuPicture::Exit);

  PlaceControl(Image1, 0, 0, 1600, 900);
  PlaceControl(Image2, 900, 8, 32, 32);
  PlaceControl(Image3, 940, 8, 32, 32);
  Image2.Visible = Image3.Visible = false;

  // The key-calibration prompts are read from the board, a step away: large, bold, each in a
  // colour of its own on the white surface.
  PlaceControl(Label13, 32, 152, 820, 34, kChineseCaptions.Label13);
  PlaceControl(Label14, 32, 352, 820, 34, kChineseCaptions.Label14);
  PlaceControl(Label15, 232, 224, 700, 34, kChineseCaptions.Label15);
  Label13.Font = {"Arial", 29, true, kBlue};
  Label14.Font = {"Arial", 29, true, kRed};
  Label15.Font = {"Arial", 29, true, kFuchsia};
  for (Label* prompt : {&Label13, &Label14, &Label15}) {
    prompt->Color = kWhite;
    prompt->Visible = false;
  }

  PlaceControl(button1, 0, 0, 150, 40, kChineseCaptions.button1);
  PlaceControl(Button3, 0, 0, 150, 40, kChineseCaptions.Button3);
  PlaceControl(Button4, 16, 560, 90, 25, "开始测频");
  PlaceControl(Button5, 116, 560, 90, 25, "结束测频");
  PlaceControl(Memo1, 16, 420, 300, 130);
  PlaceControl(Memo2, 330, 420, 400, 130);
  PlaceControl(Memo3, 740, 420, 260, 130);

  // The screen calibration leaves these two in view: the link text right of the first cross,
  // which reaches 70 px into the screen, and below it what the teacher is to do (the tour
  // places and sizes it for the screen).
  PlaceControl(Label1, 96, 96, 820, 64, "");
  Label1.Font = {"Arial", 24, true, kBlack};
  Label1.Color = kWhite;
  // Empty until the first device watch says "ok" or "no".
  PlaceControl(Label2, 96, 40, 60, 13, "");
  PlaceControl(Label3, 16, 64, 120, 13, "Label3");
  PlaceControl(Label4, 16, 88, 120, 13, "Label4");
  PlaceControl(Label5, 150, 64, 120, 13, "Label5");
  PlaceControl(Label6, 150, 88, 120, 13, "Label6");
  PlaceControl(Label7, 290, 64, 120, 13, "Label7");
  PlaceControl(Label8, 290, 88, 120, 13, "Label8");
  PlaceControl(Label9, 16, 112, 40, 13, "Label9");
  PlaceControl(Label12, 64, 112, 40, 13, "Label12");
  Label9.Visible = Label12.Visible = false;

  PlaceControl(Edit1, 16, 600, 120, 21);
  Edit1.Text = kTrayTip;
  Edit1.Visible = false;
}

void TForm1::ApplyCaptions(const CaptionSet& captions, bool includeN6) {
  Label13.Caption = captions.Label13;
  Label14.Caption = captions.Label14;
  Label15.Caption = captions.Label15;
  Button3.Caption = captions.Button3;
  button1.Caption = captions.button1;
  N1.Caption = captions.N1;
  N2.Caption = captions.N2;
  N4.Caption = captions.N4;
  N3.Caption = captions.N3;
  if (includeN6) N6.Caption = captions.N6;
  N8.Caption = captions.N8;
  N9.Caption = captions.N9;
  N10.Caption = captions.N10;
  ShowMonitors();
}

namespace {

// The size the stored calibration was made at; 0 x 0 when not stored (older installs) or when
// no screen has such a size.
ScreenSize ReadTourScreen(Platform& platform) {
  constexpr std::int32_t kLargestSide = 32767;
  SettingsFile ini(platform.profile, ProgramFile(platform.files, kSettingsFileName));
  const ScreenSize tour{ini.ReadInteger(Section::Parameters, Key::CalibrationWidth, 0),
                        ini.ReadInteger(Section::Parameters, Key::CalibrationHeight, 0)};
  const auto plausible = [](std::int32_t side) { return side > 0 && side <= kLargestSide; };
  return plausible(tour.Width) && plausible(tour.Height) ? tour : ScreenSize{};
}

}  // namespace

// The start-up sequence; it runs once, while the main window is being created.
void TForm1::FormCreate() {
  LoadSettings();  // the key-layout load leaves the key calibration idle
  RefreshScreen(state_.screen, platform_.display);
  ShowMonitors();
  state_.calibration.Tour.CalibrationActive = false;
  RemoveLeftoverShortcuts();
  ProtectDataFiles();
  LoadStoredCalibration();
  state_.interpolation.SpanTracking = true;
  state_.link.LinkOpenPending = true;
  Timer1.Enabled = false;
  Timer2.Enabled = true;
  state_.tray.Added = false;
  TrayModify();  // not there yet: added, then modified
  LoadFlags();
}

void TForm1::LoadSettings() {
  SettingsFile ini(platform_.profile, ProgramFile(platform_.files, kSettingsFileName));
  const std::string className = ini.ReadString(Section::Parameters, Key::APPClassName);
  const std::string caption = ini.ReadString(Section::Parameters, Key::APPCaption);
  // Read for compatibility with installed settings files; the driver does not use them.
  ini.ReadInteger(Section::Parameters, Key::ScanPeriod5, 0);
  ini.ReadInteger(Section::Parameters, Key::SmoothPeriod8_10, 0);
  ini.ReadInteger(Section::Parameters, Key::SmoothPeriod4_25, 0);
  const std::int32_t select = ini.ReadInteger(Section::Language, Key::Select, 0);
  language_ = StartupLanguage(select);
  if (const auto language = StartupCaptions(select)) {
    ApplyCaptions(*language->Captions, language->IncludeN6);
  }
  state_.pen.PenTouchLimit = ini.ReadInteger(Section::Parameters, Key::Pen, 0);
  state_.pen.PenRightCentre = ini.ReadInteger(Section::Parameters, Key::PenRight, 0);
  state_.screen.BoardMonitor = ini.ReadString(Section::Parameters, Key::BoardMonitor);
  state_.calibration.MappingInForce =
      MappingFromStored(ini.ReadInteger(Section::Parameters, Key::Mapping, 0));
  state_.penResponse =
      PenResponseFromStored(ini.ReadInteger(Section::Parameters, Key::PenResponse, 0));
  Timer1.Interval = BusyPollInterval(state_.penResponse);
  N4.Checked = LoadKeyLayout(ini, state_.keyCalibration, state_.keys);
  state_.holdTarget.TargetWindowClass = WindowName(className);
  state_.holdTarget.TargetWindowCaption = WindowName(caption);
}

void TForm1::RemoveLeftoverShortcuts() {
  Files& files = platform_.files;
  files.DeleteFile(ProgramFile(files, kShortcutName));
  if (const auto programs = platform_.shell.ProgramsFolder()) {
    files.DeleteFile(*programs + kStaleStartupShortcut);
  }
}

void TForm1::ProtectDataFiles() {
  for (const char* name : {kCalibrationFileName, kAutostartFileName, kFramingFileName,
                           kBoardModelFileName, kSettingsFileName}) {
    platform_.files.SetArchiveAttribute(ProgramFile(platform_.files, name));
  }
}

void TForm1::LoadStoredCalibration() {
  // A missing, short or degenerate file must not leave the pen dead until the first
  // calibration: the default maps the whole board linearly instead.
  CalibrationState& c = state_.calibration;
  ApplyStoredCalibration(c, LoadCalibration(platform_.files), state_.screen.ScreenWidth,
                         state_.screen.ScreenHeight);
  state_.interpolation.InterpolationSpan.fill(kInitialSpan);
  const bool usersOwn = c.DefaultForWidth == 0 && c.DefaultForHeight == 0;
  c.TourScreen = usersOwn ? ReadTourScreen(platform_) : ScreenSize{};
}

void TForm1::LoadFlags() {
  Files& files = platform_.files;
  if (const auto autostart = LoadFlag(files, kAutostartFileName)) {
    if (*autostart == 1) {
      N2.Checked = true;
      RestoreAutostartShortcut(files, platform_.shell);
    }
    if (*autostart == 0) N2.Checked = false;
  }
  LinkState& link = state_.link;
  // A framing the board cannot have (a damaged file) would leave the pen dead: such a value
  // reads as plain reports, the framing of a board with no stored choice.
  const std::int32_t framing = LoadFlag(files, kFramingFileName).value_or(0);
  link.ReportFraming = FramingFromStored(framing).value_or(ReportFraming::Plain);
  Label9.Caption = std::to_string(StoredNumber(link.ReportFraming));
  link.BoardModel = LoadFlag(files, kBoardModelFileName).value_or(0);
  if (const auto model = BoardModelFromStored(link.BoardModel)) {
    Label12.Caption = std::to_string(StoredNumber(*model));
  }
}

void TForm1::FormDestroy() {
  TrayMessage(platform_.shell, TrayOperation::Delete, state_.reader.DataReceived, Edit1.Text);
  state_.tray.Added = false;
}

void TForm1::TrayModify() {
  RefreshTrayIcon(platform_.shell, state_.tray, Edit1.Text);
}

void TForm1::N3Click() {
  ReleaseLeftButton(state_.screen.Place(), platform_.mouse, state_.injector);
  ForgetContact(state_.pointer);
  Timer1.Enabled = false;
  state_.interpolation.SpanTracking = false;
  if (form2_ != nullptr) form2_->Window.Visible = false;
  Window.CloseRequested = true;
}

void TForm1::Button4Click() { state_.RateMeasurement = true; }

void TForm1::Button5Click() { state_.RateMeasurement = false; }

}  // namespace raz
