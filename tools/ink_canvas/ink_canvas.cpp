// Ink canvas: a full-screen window that draws the mouse input it receives, so the pen's strokes
// can be seen and checked. Left button down draws ink, a right click leaves a red ring, hover
// draws nothing. Every mouse message is also logged with its pixel position.
//
//   ink_canvas.exe --picture out.bmp --log events.txt [--at X Y W H]
//
// It covers the primary screen, or with --at that rectangle of the virtual desktop (a monitor
// of an extended desktop); logged positions are the window's own pixels either way.
// The picture is saved when the window closes (WM_CLOSE) and whenever S is pressed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Canvas {
  int width = 0;
  int height = 0;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  std::uint32_t* pixels = nullptr;
  bool inking = false;
  POINT last{};
  std::wstring picturePath;
  FILE* log = nullptr;
  LARGE_INTEGER start{};
  LARGE_INTEGER frequency{};
};

// One canvas per process; the window procedure reaches it through the window's user data.
Canvas* CanvasOf(HWND window) {
  return reinterpret_cast<Canvas*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool CreateSurface(Canvas& c, HDC screen) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = c.width;
  info.bmiHeader.biHeight = -c.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  c.bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (c.bitmap == nullptr) return false;
  c.pixels = static_cast<std::uint32_t*>(bits);
  c.dc = CreateCompatibleDC(screen);
  c.previous = SelectObject(c.dc, c.bitmap);
  std::fill(c.pixels, c.pixels + static_cast<std::size_t>(c.width) * c.height, 0x00FFFFFFu);
  return true;
}

void SavePicture(const Canvas& c) {
  if (c.picturePath.empty()) return;
  FILE* out = _wfopen(c.picturePath.c_str(), L"wb");
  if (out == nullptr) return;
  const std::uint32_t imageBytes = static_cast<std::uint32_t>(c.width) * c.height * 4;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageBytes;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = c.width;
  header.biHeight = -c.height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = imageBytes;
  std::fwrite(&file, sizeof(file), 1, out);
  std::fwrite(&header, sizeof(header), 1, out);
  std::fwrite(c.pixels, 1, imageBytes, out);
  std::fclose(out);
}

void Log(Canvas& c, const char* kind, POINT p) {
  if (c.log == nullptr) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const double ms = 1000.0 * static_cast<double>(now.QuadPart - c.start.QuadPart) /
                    static_cast<double>(c.frequency.QuadPart);
  std::fprintf(c.log, "%.1f %s %ld %ld\n", ms, kind, p.x, p.y);
  std::fflush(c.log);
}

void InkLine(Canvas& c, HWND window, POINT from, POINT to) {
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 160));
  HGDIOBJ old = SelectObject(c.dc, pen);
  MoveToEx(c.dc, from.x, from.y, nullptr);
  LineTo(c.dc, to.x, to.y);
  SetPixel(c.dc, to.x, to.y, RGB(0, 0, 160));
  SelectObject(c.dc, old);
  DeleteObject(pen);
  RECT dirty{std::min(from.x, to.x) - 3, std::min(from.y, to.y) - 3, std::max(from.x, to.x) + 4,
             std::max(from.y, to.y) + 4};
  InvalidateRect(window, &dirty, FALSE);
}

void RightClickMark(Canvas& c, HWND window, POINT p) {
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(220, 0, 0));
  HGDIOBJ oldPen = SelectObject(c.dc, pen);
  HGDIOBJ oldBrush = SelectObject(c.dc, GetStockObject(NULL_BRUSH));
  Ellipse(c.dc, p.x - 10, p.y - 10, p.x + 11, p.y + 11);
  SelectObject(c.dc, oldBrush);
  SelectObject(c.dc, oldPen);
  DeleteObject(pen);
  RECT dirty{p.x - 12, p.y - 12, p.x + 13, p.y + 13};
  InvalidateRect(window, &dirty, FALSE);
}

POINT PointOf(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

LRESULT OnMouse(Canvas& c, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT p = PointOf(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      Log(c, "down", p);
      c.inking = true;
      c.last = p;
      SetCapture(window);
      InkLine(c, window, p, p);
      break;
    case WM_MOUSEMOVE:
      Log(c, (wParam & MK_LBUTTON) ? "move" : "hover", p);
      if (c.inking && (wParam & MK_LBUTTON)) {
        InkLine(c, window, c.last, p);
        c.last = p;
      }
      break;
    case WM_LBUTTONUP:
      Log(c, "up", p);
      if (c.inking) InkLine(c, window, c.last, p);
      c.inking = false;
      ReleaseCapture();
      break;
    case WM_RBUTTONDOWN:
      Log(c, "rdown", p);
      break;
    case WM_RBUTTONUP:
      Log(c, "rup", p);
      RightClickMark(c, window, p);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT CALLBACK CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Canvas* c = CanvasOf(window);
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      if (c != nullptr) return OnMouse(*c, window, message, wParam, lParam);
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      if (c != nullptr) {
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, c->dc, r.left, r.top, SRCCOPY);
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_KEYDOWN:
      if (c != nullptr && wParam == 'S') SavePicture(*c);
      return 0;
    case WM_CLOSE:
      if (c != nullptr) SavePicture(*c);
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring ArgAfter(int argc, wchar_t** argv, const wchar_t* flag) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == flag) return argv[i + 1];
  }
  return {};
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Canvas canvas;
  canvas.picturePath = ArgAfter(argc, argv, L"--picture");
  const std::wstring logPath = ArgAfter(argc, argv, L"--log");
  if (!logPath.empty()) canvas.log = _wfopen(logPath.c_str(), L"w");
  QueryPerformanceFrequency(&canvas.frequency);
  QueryPerformanceCounter(&canvas.start);

  SetProcessDPIAware();
  int left = 0, top = 0;
  canvas.width = GetSystemMetrics(SM_CXSCREEN);
  canvas.height = GetSystemMetrics(SM_CYSCREEN);
  for (int i = 1; i + 4 < argc; ++i) {
    if (std::wstring(argv[i]) != L"--at") continue;
    left = _wtoi(argv[i + 1]);
    top = _wtoi(argv[i + 2]);
    canvas.width = _wtoi(argv[i + 3]);
    canvas.height = _wtoi(argv[i + 4]);
  }
  HDC screen = GetDC(nullptr);
  const bool surface = CreateSurface(canvas, screen);
  ReleaseDC(nullptr, screen);
  if (!surface) return 1;

  WNDCLASSW wc{};
  wc.lpfnWndProc = CanvasProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = L"RA_Zazide ink canvas";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Ink canvas", WS_POPUP | WS_VISIBLE, left,
                                top, canvas.width, canvas.height, nullptr, nullptr, instance,
                                &canvas);
  if (window == nullptr) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  SelectObject(canvas.dc, canvas.previous);
  DeleteDC(canvas.dc);
  DeleteObject(canvas.bitmap);
  if (canvas.log != nullptr) std::fclose(canvas.log);
  LocalFree(argv);
  return 0;
}
