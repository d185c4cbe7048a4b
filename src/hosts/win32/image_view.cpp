#include "hosts/win32/image_view.h"

#include "hosts/win32/control_ids.h"

namespace raz::win32 {
namespace {

void Paint(HWND window, const Image& image) {
  PAINTSTRUCT paint;
  const HDC dc = ::BeginPaint(window, &paint);
  const auto expected =
      static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
  if (image.Width > 0 && image.Height > 0 && image.Pixels.size() == expected) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.Width;
    info.bmiHeader.biHeight = -image.Height;  // rows from the top, as the model keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB is the layout of a 32-bit DIB
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.Width),
                        static_cast<DWORD>(image.Height), 0, 0, 0,
                        static_cast<UINT>(image.Height), image.Pixels.data(), &info,
                        DIB_RGB_COLORS);
  }
  ::EndPaint(window, &paint);
}

LRESULT CALLBACK ImageViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* image = reinterpret_cast<const Image*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT:
      if (image != nullptr) {
        Paint(window, *image);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      // An empty image shows the form behind it; a drawn one covers everything anyway.
      if (image != nullptr && !image->Pixels.empty()) return 1;
      break;
    default: break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RegisterImageViewClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ImageViewProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kImageWindowClass;
  ::RegisterClassExW(&wc);
}

HWND CreateImageView(HWND parent, int id, const Image& model) {
  const HWND window = ::CreateWindowExW(
      0, kImageWindowClass, L"", WS_CHILD | WS_CLIPSIBLINGS, model.Left, model.Top, model.Width,
      model.Height,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&model));
  // An image is the form's surface: every other control lies on top of it.
  ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return window;
}

}  // namespace raz::win32
