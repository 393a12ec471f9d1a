// Windowed-test support: message pumping, posted input, text fitting, and PNG screenshots through WIC.
#include "WindowTest.h"

#include <wincodec.h>

#include <memory>
#include <vector>

namespace testsupport {

void PumpMessages(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return done();
    PumpMessages(20);
  }
}

namespace {

struct FindState {
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK FindByTitle(HWND hwnd, LPARAM lParam) {
  auto* state = reinterpret_cast<FindState*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  if (*state->title == text) {
    state->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND WaitForTopWindow(const std::wstring& title, DWORD timeoutMs) {
  FindState state{&title, nullptr};
  PumpUntil(
      [&] {
        EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&state));
        return state.found != nullptr;
      },
      timeoutMs);
  return state.found;
}

void TypeText(HWND hwnd, const std::wstring& text) {
  for (wchar_t ch : text) PostMessageW(hwnd, WM_CHAR, ch, 1);
}

void PressKey(HWND hwnd, UINT virtualKey) {
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(hwnd, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(hwnd, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

void ClickAt(HWND hwnd, int x, int y) {
  const LPARAM pos = MAKELPARAM(x, y);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, pos);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, pos);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, pos);
}

void ClickDlgItem(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  if (item != nullptr) SendMessageW(item, BM_CLICK, 0, 0);
}

bool BringToFront(HWND hwnd) {
  ShowWindow(hwnd, SW_SHOW);
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd);
  SetActiveWindow(hwnd);
  SetFocus(hwnd);
  return PumpUntil([&] { return GetForegroundWindow() == GetAncestor(hwnd, GA_ROOT); }, 2000);
}

std::wstring ScreenshotDir() {
  wchar_t buffer[MAX_PATH] = {};
  std::wstring dir;
  if (GetEnvironmentVariableW(L"BRINDLE_SCREENSHOT_DIR", buffer, MAX_PATH) > 0) {
    dir = buffer;
  } else {
    GetCurrentDirectoryW(MAX_PATH, buffer);
    dir = std::wstring(buffer) + L"\\screenshots";
  }
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

namespace {

// Captures the window into a top-down 32-bit DIB section; returns its pixels.
bool CaptureWindow(HWND hwnd, int& width, int& height, std::vector<BYTE>& pixels) {
  RECT rc;
  if (!GetWindowRect(hwnd, &rc)) return false;
  width = rc.right - rc.left;
  height = rc.bottom - rc.top;
  if (width <= 0 || height <= 0) return false;

  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  // A copy of the screen shows the window as painted, children included (Wine's PrintWindow leaves
  // child controls out); a hidden or covered window falls back to PrintWindow.
  if (IsWindowVisible(hwnd)) {
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(50);
    // Only the part on the screen: a maximized window's frame lies outside it, and Wine copies
    // nothing at all from a source rectangle that leaves the screen.
    RECT screenRect = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screenRect.right = screenRect.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screenRect.bottom = screenRect.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT shown;
    if (IntersectRect(&shown, &rc, &screenRect)) {
      BitBlt(mem, shown.left - rc.left, shown.top - rc.top, shown.right - shown.left,
             shown.bottom - shown.top, screen, shown.left, shown.top, SRCCOPY);
    }
  } else {
    PrintWindow(hwnd, mem, 0);
  }
  GdiFlush();
  pixels.assign(static_cast<BYTE*>(bits), static_cast<BYTE*>(bits) + size_t(width) * height * 4);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;  // GDI leaves alpha undefined
  return true;
}

template <typename T>
struct ComRelease {
  void operator()(T* p) const {
    if (p) p->Release();
  }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease<T>>;

// Writes top-down 32-bit BGRA pixels as a PNG through WIC; the full path, or empty on failure.
std::wstring WritePng(int width, int height, const std::vector<BYTE>& pixels, const std::wstring& name) {
  const std::wstring path = ScreenshotDir() + L"\\" + name;
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool ok = false;
  {
    IWICImagingFactory* rawFactory = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&rawFactory)))) {
      ComPtr<IWICImagingFactory> factory(rawFactory);
      IWICStream* rawStream = nullptr;
      IWICBitmapEncoder* rawEncoder = nullptr;
      IWICBitmapFrameEncode* rawFrame = nullptr;
      if (SUCCEEDED(factory->CreateStream(&rawStream))) {
        ComPtr<IWICStream> stream(rawStream);
        if (SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &rawEncoder))) {
          ComPtr<IWICBitmapEncoder> encoder(rawEncoder);
          if (SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&rawFrame, nullptr))) {
            ComPtr<IWICBitmapFrameEncode> frame(rawFrame);
            WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
            ok = SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(width, height)) &&
                 SUCCEEDED(frame->SetPixelFormat(&format)) &&
                 IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
                 SUCCEEDED(frame->WritePixels(height, width * 4, UINT(pixels.size()),
                                              const_cast<BYTE*>(pixels.data()))) &&
                 SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
          }
        }
      }
    }
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return ok ? path : L"";
}

}  // namespace

std::wstring SaveWindowPng(HWND hwnd, const std::wstring& name) {
  int width = 0, height = 0;
  std::vector<BYTE> pixels;
  if (!CaptureWindow(hwnd, width, height, pixels)) return L"";
  return WritePng(width, height, pixels, name);
}

std::wstring SaveBitmapPng(HBITMAP bitmap, const std::wstring& name) {
  BITMAP bm = {};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
    return L"";
  }
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = bm.bmWidth;
  bmi.bmiHeader.biHeight = -bm.bmHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  std::vector<BYTE> pixels(size_t(bm.bmWidth) * bm.bmHeight * 4);
  HDC screen = GetDC(nullptr);
  GdiFlush();
  const int lines = GetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != bm.bmHeight) return L"";
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;
  return WritePng(bm.bmWidth, bm.bmHeight, pixels, name);
}

std::wstring TextWithLineBreaks(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, &text[0], length + 1)));
  std::wstring shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      shown += L'\n';
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

namespace {

// Where a control's text goes: its client rectangle less what the control draws around the text, and
// the DrawText format it lays the text out with. False for controls that show no text of their own.
bool TextArea(HWND control, RECT* area, UINT* format) {
  wchar_t className[32] = {};
  ::GetClassNameW(control, className, 32);
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  ::GetClientRect(control, area);
  if (_wcsicmp(className, L"Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        // The raised edge and the focus rectangle inside it.
        ::InflateRect(area, -4, -4);
        break;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        // The box (13 pixels at 96 pixels per inch) and the gap after it.
        area->left += 17;
        break;
      default:
        return false;
    }
    *format = (style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
    return true;
  }
  if (_wcsicmp(className, L"Static") == 0) {
    switch (style & SS_TYPEMASK) {
      case SS_LEFT:
      case SS_CENTER:
      case SS_RIGHT:
        *format = DT_WORDBREAK;
        break;
      case SS_LEFTNOWORDWRAP:
      case SS_SIMPLE:
        *format = DT_SINGLELINE;
        break;
      default:
        return false;
    }
    if ((style & SS_NOPREFIX) != 0) *format |= DT_NOPREFIX;
    return true;
  }
  return false;
}

BOOL CALLBACK CollectClipped(HWND control, LPARAM lParam) {
  auto* clipped = reinterpret_cast<std::vector<std::wstring>*>(lParam);
  RECT area = {};
  UINT format = 0;
  if (!TextArea(control, &area, &format)) return TRUE;
  const std::wstring text = TextWithLineBreaks(control);
  if (text.empty()) return TRUE;
  HDC dc = ::GetDC(control);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = ::SelectObject(dc, font != nullptr ? font : ::GetStockObject(SYSTEM_FONT));
  RECT need = {0, 0, area.right - area.left, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need, format | DT_CALCRECT);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  const int needCx = need.right - need.left, needCy = need.bottom - need.top;
  const int haveCx = area.right - area.left, haveCy = area.bottom - area.top;
  if (needCx > haveCx || needCy > haveCy) {
    clipped->push_back(L"id " + std::to_wstring(::GetDlgCtrlID(control)) + L" \"" + text + L"\": needs " +
                       std::to_wstring(needCx) + L" x " + std::to_wstring(needCy) + L" in " +
                       std::to_wstring(haveCx) + L" x " + std::to_wstring(haveCy));
  }
  return TRUE;
}

}  // namespace

std::vector<std::wstring> ClippedChildTexts(HWND parent) {
  std::vector<std::wstring> clipped;
  ::EnumChildWindows(parent, CollectClipped, reinterpret_cast<LPARAM>(&clipped));
  return clipped;
}

std::vector<COLORREF> WindowPixels(HWND hwnd, int* width, int* height) {
  int w = 0, h = 0;
  std::vector<BYTE> pixels;
  std::vector<COLORREF> colours;
  if (!CaptureWindow(hwnd, w, h, pixels)) return colours;
  colours.reserve(size_t(w) * h);
  for (size_t i = 0; i + 3 < pixels.size(); i += 4)
    colours.push_back(RGB(pixels[i + 2], pixels[i + 1], pixels[i]));
  if (width != nullptr) *width = w;
  if (height != nullptr) *height = h;
  return colours;
}

COLORREF WindowPixel(HWND hwnd, int x, int y) {
  int width = 0, height = 0;
  std::vector<BYTE> pixels;
  if (!CaptureWindow(hwnd, width, height, pixels) || x < 0 || y < 0 || x >= width || y >= height) {
    return CLR_INVALID;
  }
  const BYTE* p = &pixels[(size_t(y) * width + x) * 4];
  return RGB(p[2], p[1], p[0]);
}

}  // namespace testsupport
