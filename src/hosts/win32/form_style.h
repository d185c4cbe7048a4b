#pragma once
// A form's colours and font made real: the font its controls use, the background of the form
// and of its coloured controls, and the text colour of the controls that take one. A control
// without a colour of its own shows the colour of what lies behind it (a coloured group, or
// the form).
#include <map>
#include <vector>

#include "hosts/win32/form_bindings.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {

class FormStyle {
 public:
  void Create(const FormWindow& window, std::vector<ControlBinding> bindings);
  // Null when the form keeps the system's font.
  HFONT Font() const { return static_cast<HFONT>(font_.Get()); }
  // The font of a control that has one of its own, else null.
  HFONT FontOf(int controlId) const;
  // WM_ERASEBKGND: false when the form has no colour of its own.
  bool PaintBackground(HWND window, HDC dc);
  // WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the brush behind the control, null for the system's.
  HBRUSH ControlColour(HDC dc, HWND control);

 private:
  const Control* ModelOf(int controlId) const;
  std::uint32_t BackgroundOf(int controlId) const;
  HBRUSH BrushOf(std::uint32_t colour);

  std::uint32_t formColour_ = kDefaultColor;
  std::uint32_t textColour_ = kDefaultColor;
  std::vector<ControlBinding> bindings_;
  UniqueGdiObject font_;
  std::map<int, UniqueGdiObject> controlFonts_;
  std::map<std::uint32_t, UniqueGdiObject> brushes_;
};

}  // namespace raz::win32
