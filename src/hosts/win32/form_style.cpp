#include "hosts/win32/form_style.h"

#include "platform/win32/utf.h"

namespace raz::win32 {
namespace {

COLORREF ToColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

RECT RectOf(const Control& c) { return RECT{c.Left, c.Top, c.Left + c.Width, c.Top + c.Height}; }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Null for a font without a name: the caller keeps the one it has.
HFONT MakeFont(const FormFont& f) {
  if (f.Name.empty()) return nullptr;
  // The height is the characters' own, as the form gives it, hence negative.
  return ::CreateFontW(-f.Height, 0, 0, 0, f.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, Widen(f.Name).c_str());
}

}  // namespace

void FormStyle::Create(const FormWindow& window, std::vector<ControlBinding> bindings) {
  formColour_ = window.Color;
  textColour_ = window.Font.Color;
  bindings_ = std::move(bindings);
  font_.Reset(MakeFont(window.Font));
  for (const ControlBinding& b : bindings_) {
    if (const HFONT own = MakeFont(b.model->Font)) controlFonts_[b.id].Reset(own);
  }
}

HFONT FormStyle::FontOf(int controlId) const {
  const auto found = controlFonts_.find(controlId);
  return found == controlFonts_.end() ? nullptr : static_cast<HFONT>(found->second.Get());
}

const Control* FormStyle::ModelOf(int controlId) const {
  for (const ControlBinding& b : bindings_) {
    if (b.id == controlId) return b.model;
  }
  return nullptr;
}

HBRUSH FormStyle::BrushOf(std::uint32_t colour) {
  UniqueGdiObject& brush = brushes_[colour];
  if (!brush) brush.Reset(::CreateSolidBrush(ToColorRef(colour)));
  return static_cast<HBRUSH>(brush.Get());
}

// A radio group's items carry ids after its own.
std::uint32_t FormStyle::BackgroundOf(int controlId) const {
  const Control* control = nullptr;
  for (const ControlBinding& b : bindings_) {
    const bool item =
        b.kind == ControlKind::RadioGroup && controlId > b.id &&
        controlId <= b.id + static_cast<int>(static_cast<const RadioGroup*>(b.model)->Items.size());
    if (b.id == controlId || item) control = b.model;
  }
  if (control == nullptr) return formColour_;
  if (control->Color != kDefaultColor) return control->Color;
  for (const ControlBinding& b : bindings_) {
    if (b.model != control && b.model->Color != kDefaultColor &&
        Inside(RectOf(*control), RectOf(*b.model))) {
      return b.model->Color;
    }
  }
  return formColour_;
}

bool FormStyle::PaintBackground(HWND window, HDC dc) {
  if (formColour_ == kDefaultColor) return false;
  RECT client{};
  ::GetClientRect(window, &client);
  ::FillRect(dc, &client, BrushOf(formColour_));
  for (const ControlBinding& b : bindings_) {
    if (b.model->Color == kDefaultColor || !b.model->Visible) continue;
    const RECT r = RectOf(*b.model);
    ::FillRect(dc, &r, BrushOf(b.model->Color));
  }
  return true;
}

HBRUSH FormStyle::ControlColour(HDC dc, HWND control) {
  const int id = ::GetDlgCtrlID(control);
  const Control* model = ModelOf(id);
  const std::uint32_t text =
      model != nullptr && model->Font.Color != kDefaultColor ? model->Font.Color : textColour_;
  const std::uint32_t background = BackgroundOf(id);
  if (text != kDefaultColor) ::SetTextColor(dc, ToColorRef(text));
  if (background == kDefaultColor) return nullptr;
  ::SetBkColor(dc, ToColorRef(background));
  return BrushOf(background);
}

}  // namespace raz::win32
