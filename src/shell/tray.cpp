#include "shell/tray.h"

#include "base/text.h"

namespace raz {

TrayIconRecord MakeTrayRecord(TrayOperation operation, bool dataReceived, std::string_view tip) {
  TrayIconRecord record;
  record.id = kTrayIconId;
  record.flags = kTrayMessageFlag | kTrayIconFlag | kTrayTipFlag;
  record.callbackMessage = kTrayCallbackMessage;
  if (operation == TrayOperation::Modify) {
    record.icon = dataReceived ? TrayIconImage::BoardWithPen : TrayIconImage::BoardGrey;
    record.tip = Utf8Prefix(tip, kTrayTipCharacters);
  }
  return record;
}

bool TrayMessage(Shell& shell, TrayOperation operation, bool dataReceived, std::string_view tip) {
  return shell.NotifyIcon(operation, MakeTrayRecord(operation, dataReceived, tip));
}

void RefreshTrayIcon(Shell& shell, TrayIconState& tray, std::string_view tip) {
  if (!tray.Added) TrayMessage(shell, TrayOperation::Add, tray.ShowsData, tip);
  tray.Added = TrayMessage(shell, TrayOperation::Modify, tray.ShowsData, tip);
}

void NotePoll(TrayIconState& tray, bool dataReceived) {
  tray.Polled = true;
  tray.DataSeen = tray.DataSeen || dataReceived;
}

void TakePolls(TrayIconState& tray, bool lastPollReceived) {
  tray.ShowsData = tray.Polled ? tray.DataSeen : lastPollReceived;
  tray.Polled = false;
  tray.DataSeen = false;
}

}  // namespace raz
