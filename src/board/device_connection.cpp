#include "board/device_connection.h"

#include "app/form1.h"
#include "pointer/mouse_injection.h"
#include "pointer/usable_calibration.h"
#include "shell/tray.h"
#include "storage/data_files.h"
#include "vkeys/form2.h"

namespace raz {
namespace {

// Captions of the dialog's hidden labels.
constexpr char kPending[] = "1";
constexpr char kApplied[] = "0";
constexpr char kFirstFramingOption[] = "1";
constexpr char kSecondFramingOption[] = "2";
constexpr std::uint32_t kFirstDevice = 0;

void ApplyFramingChoice(TForm2& dialog, DriverState& state, Files& files) {
  if (dialog.Label2.Caption != kPending) return;
  if (dialog.Label1.Caption == kFirstFramingOption) state.link.ReportFraming = 0;
  if (dialog.Label1.Caption == kSecondFramingOption) state.link.ReportFraming = 1;
  SaveFlag(files, kFramingFileName, state.link.ReportFraming);
}

void ApplyModelChoice(TForm2& dialog, DriverState& state, Files& files) {
  if (dialog.Label4.Caption != kPending) return;
  dialog.Label4.Caption = kApplied;
  const std::string& model = dialog.Label3.Caption;
  if (model == "0" || model == "1" || model == "2") state.link.BoardModel = model[0] - '0';
  SaveFlag(files, kBoardModelFileName, state.link.BoardModel);
}

void SetRateForFraming(VendorUsb& usb, const BoardLinkState& link) {
  if (const auto rate = LinkRateFor(link.ReportFraming)) usb.SetLinkRate(link.BoardLink, *rate);
}

// Returns true when the board is open.
bool OpenBoard(VendorUsb& usb, BoardLinkState& link) {
  if (usb.OpenDevice(kFirstDevice, link.BoardLink) != 0) return false;
  SetRateForFraming(usb, link);
  return true;
}

void OnBoardFound(TForm1& form, bool choicePending) {
  BoardLinkState& link = form.state().link;
  VendorUsb& usb = form.platform().usb;
  link.BoardPresent = 1;
  form.Label2.Caption = kBoardFoundText;
  TrayMessage(form, TrayOperation::Modify);
  // The framing may have changed: the link is reopened at the rate it now needs.
  if (choicePending) {
    usb.CloseDevice(link.BoardLink);
    OpenBoard(usb, link);
  }
  if (link.LinkOpenPending == 1 && OpenBoard(usb, link)) {
    link.LinkOpenPending = 0;
    if (!form.Timer1.Enabled) form.Timer1.Enabled = true;
  }
}

void OnBoardMissing(TForm1& form) {
  BoardLinkState& link = form.state().link;
  form.Label2.Caption = kBoardMissingText;
  link.LinkOpenPending = 1;
  link.BoardPresent = 0;
  OnBoardLost(form);
}

}  // namespace

std::optional<std::uint32_t> LinkRateFor(std::int32_t framing) {
  if (framing == 0) return kPlainLinkRate;
  if (framing == 1) return kFramedLinkRate;
  return std::nullopt;
}

void WatchDevice(TForm1& form) {
  DriverState& state = form.state();
  Platform& platform = form.platform();
  TForm2* dialog = form.dialog();
  if (dialog != nullptr) {
    ApplyFramingChoice(*dialog, state, platform.files);
    ApplyModelChoice(*dialog, state, platform.files);
  }
  RefreshScreen(state.screen, platform.display);
  FollowScreenSize(state);
  TrayMessage(form, TrayOperation::Modify);

  std::uint32_t deviceCount = 0;
  if (platform.usb.ProbeDevices(deviceCount) == 0) {
    OnBoardFound(form, dialog != nullptr && dialog->Label2.Caption == kPending);
  } else {
    OnBoardMissing(form);
  }
  // Reset only now, so a confirmed framing choice also reopened the link above.
  if (dialog != nullptr) dialog->Label2.Caption = kApplied;
}

void OnBoardLost(TForm1& form) {
  if (form.state().pointer.LeftButtonDown) ReleaseLeftButton(form);
}

}  // namespace raz
