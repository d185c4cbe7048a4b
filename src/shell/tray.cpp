#include "shell/tray.h"

#include "app/form1.h"

namespace raz {

TrayIconRecord MakeTrayRecord(TForm1& form, TrayOperation operation) {
  TrayIconRecord record;
  record.id = kTrayIconId;
  record.flags = kTrayFlags;
  record.callbackMessage = kTrayCallbackMessage;
  if (operation == TrayOperation::Modify) {
    // The board with the pen while data arrives, the grey board otherwise.
    record.icon = form.state().sample.DataReceived == 1 ? TrayIconImage::BoardWithPen
                                                          : TrayIconImage::BoardGrey;
    record.tip = form.Edit1.Text.substr(0, 63);
  }
  return record;
}

bool TrayMessage(TForm1& form, TrayOperation operation) {
  return form.platform().shell.NotifyIcon(operation, MakeTrayRecord(form, operation));
}

}  // namespace raz
