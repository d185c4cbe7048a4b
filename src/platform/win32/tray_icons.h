#pragma once
// The two notification-area icons, drawn with GDI when the program starts: a whiteboard on a
// stand with a pen writing on it, and the same board grey without the pen.
#include "platform/shell.h"
#include "platform/win32/unique_handles.h"

namespace raz::win32 {

class TrayIcons {
 public:
  TrayIcons();
  // Null for TrayIconImage::None.
  HICON For(TrayIconImage image) const;

 private:
  UniqueIcon withPen_;
  UniqueIcon grey_;
};

}  // namespace raz::win32
