// The Windows window: a borderless window over the whole screen that can become a framed window and back,
// its messages turned into the program's, the keys it is told of, and the pump and the wait for input that
// the other modules share.
#include <array>
#include <deque>
#include <optional>

#include "devices/clock_device.h"
#include "devices/key_codes.h"
#include "devices/window_device.h"
#include "platform/common/window_end.h"
#include "platform/win32/win32_platform.h"

namespace coilrun {

namespace {

// The one window; it lives until the process ends.
HWND mainWindow = nullptr;
// The program's messages taken from the window's and not yet handed to the program.
std::deque<Message> pending;
// The window's end as the program sees it.
WindowEnd windowEnd;
// Whether the pointer is hidden over the window, and whether the window starts framed.
bool cursorHidden = false;
bool startWindowed = false;
// The framed window's place while the window covers the screen; empty until first chosen.
RECT framedRect{};
bool framed = false;
// The keys held, by scan code, as the key messages tell them.
std::array<uint8_t, 256> heldKeys{};
// When the messages were last pumped, and how soon a pump is worth doing again.
int64_t lastPumpNs = 0;
bool pumpedOnce = false;
constexpr int64_t kPumpReuseNs = 1'000'000;
// The size asked for the framed window (0 for one chosen from the screen), the title without a note, and
// when the note after it ends (0 for none).
int askedWidth = 0;
int askedHeight = 0;
std::wstring plainTitle;
int64_t titleNoteEndsNs = 0;
constexpr int64_t kTitleNoteNs = 2'000'000'000;
// The last failure of a platform call, for DevicePlatformError.
std::string lastError = "no error";

constexpr wchar_t kClassName[] = L"Coilrun";
constexpr DWORD kFramedStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kScreenStyle = WS_POPUP;
// Set in a key message's lParam for the keys of the extended set, which the numbering places 0x80 higher.
constexpr LPARAM kExtendedKeyBit = LPARAM{1} << 24;
constexpr uint8_t kExtendedKeyOffset = 0x80;
constexpr UINT kNumLockScan = 0x45;

void RequestClose() {
  if (!windowEnd.closeRequested) pending.push_back(Message{kMessageDestroy, 0, 0});
  windowEnd.closeRequested = true;
}

// The key's code in the DirectInput numbering: its scan code, 0x80 higher for an extended key. Keys
// injected without a scan code are given the one their virtual key has.
uint8_t CodeOfKeyMessage(WPARAM virtualKey, LPARAM lParam) {
  UINT scan = (static_cast<UINT>(lParam) >> 16) & 0xFF;
  bool extended = (lParam & kExtendedKeyBit) != 0;
  if (scan == 0) {
    const UINT mapped = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC_EX);
    scan = mapped & 0xFF;
    extended = (mapped & 0xFF00) == 0xE000;
  }
  if (scan == 0 || scan >= kExtendedKeyOffset) return 0;
  // Num Lock and Pause share scan code 0x45 the other way round from the numbering.
  if (scan == kNumLockScan) extended = !extended;
  return static_cast<uint8_t>(extended ? scan + kExtendedKeyOffset : scan);
}

void NoteKey(WPARAM virtualKey, LPARAM lParam, bool down) {
  const uint8_t code = CodeOfKeyMessage(virtualKey, lParam);
  if (code != 0) heldKeys[code] = down ? kKeyHeld : 0;
}

void NoteFocusLost() {
  heldKeys.fill(0);
  pending.push_back(Message{kMessageKillFocus, 0, 0});
}

LRESULT CALLBACK MainWindowHandler(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
  switch (code) {
    case WM_CLOSE:
      RequestClose();
      return 0;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      // The player logs off or the machine shuts down: the game ends as when its window is closed.
      if (code == WM_QUERYENDSESSION || wParam != 0) RequestClose();
      return code == WM_QUERYENDSESSION ? TRUE : 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      NoteKey(wParam, lParam, code == WM_KEYDOWN);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      NoteKey(wParam, lParam, code == WM_SYSKEYDOWN);
      // Alt+F4 closes the window; no other key opens the window's menu, which would stop the game.
      if (wParam == VK_F4 && code == WM_SYSKEYDOWN) break;
      return 0;
    case WM_SYSCHAR:
    case WM_CHAR:
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_KILLFOCUS:
      NoteFocusLost();
      return 0;
    case WM_SETCURSOR:
      if (cursorHidden && LOWORD(lParam) == HTCLIENT) {
        SetCursor(nullptr);
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      ValidateRect(window, nullptr);
      Win32NoteWindowExposed();
      return 0;
    case WM_SIZE:
      Win32NoteWindowExposed();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, code, wParam, lParam);
}

// Ctrl+C, Ctrl+Break and a closed console end the game as a closed window does. The handler runs on a
// thread of its own, so it only posts the request into the window's queue.
BOOL WINAPI NoteConsoleClose(DWORD) {
  if (mainWindow != nullptr) PostMessageW(mainWindow, WM_CLOSE, 0, 0);
  return TRUE;
}

// The screen a window is on (the first screen before there is a window), whole and without the taskbar.
struct ScreenAreas {
  RECT whole;
  RECT free;
};

ScreenAreas ScreenAreasOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HMONITOR screen = window != nullptr ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (GetMonitorInfoW(screen, &monitor) != 0) return ScreenAreas{monitor.rcMonitor, monitor.rcWork};
  const RECT whole{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return ScreenAreas{whole, whole};
}

// The framed window's first place: the size asked for where it fits beside the taskbar, else one made for
// the screen, centred on the screen.
RECT FirstFramedRect(const ScreenAreas& screen) {
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kFramedStyle, FALSE, 0);
  const int frameWidth = frame.right - frame.left;
  const int frameHeight = frame.bottom - frame.top;
  const int screenWidth = screen.whole.right - screen.whole.left;
  const int screenHeight = screen.whole.bottom - screen.whole.top;
  const WindowSize inner = WindowedSizeOn(WindowSize{askedWidth, askedHeight},
                                          WindowSize{screen.free.right - screen.free.left - frameWidth,
                                                     screen.free.bottom - screen.free.top - frameHeight},
                                          WindowSize{screenWidth, screenHeight});
  const int width = inner.width + frameWidth;
  const int height = inner.height + frameHeight;
  const int left = screen.whole.left + (screenWidth - width) / 2;
  const int top = screen.whole.top + (screenHeight - height) / 2;
  return RECT{left, top, left + width, top + height};
}

void PlaceWindow(DWORD style, const RECT& rect) {
  SetWindowLongPtrW(mainWindow, GWL_STYLE, static_cast<LONG_PTR>(style | WS_VISIBLE));
  SetWindowPos(mainWindow, HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  Win32NoteWindowExposed();
}

}  // namespace

HWND Win32MainWindow() {
  return mainWindow;
}

const uint8_t* Win32HeldKeys() {
  return heldKeys.data();
}

bool Win32WindowHasFocus() {
  return mainWindow != nullptr && GetFocus() == mainWindow;
}

void Win32PumpMessages() {
  const int64_t now = DeviceClockNanoseconds();
  if (pumpedOnce && now - lastPumpNs < kPumpReuseNs) return;
  if (mainWindow != nullptr && TitleNoteRanOut(&titleNoteEndsNs, now)) {
    SetWindowTextW(mainWindow, plainTitle.c_str());
  }
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
    if (message.message == WM_QUIT) {
      RequestClose();
      continue;
    }
    DispatchMessageW(&message);
  }
  pumpedOnce = true;
  lastPumpNs = DeviceClockNanoseconds();
}

void Win32WaitForInput(int64_t timeoutNs) {
  Win32PresentPendingFrame();
  Win32PumpMessages();
  const auto milliseconds = static_cast<DWORD>(timeoutNs / 1'000'000);
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  pumpedOnce = false;
}

void Win32ToggleFullScreen() {
  if (mainWindow == nullptr) return;
  const ScreenAreas screen = ScreenAreasOf(mainWindow);
  if (framed) {
    GetWindowRect(mainWindow, &framedRect);
    PlaceWindow(kScreenStyle, screen.whole);
  } else {
    if (framedRect.right == framedRect.left) framedRect = FirstFramedRect(screen);
    PlaceWindow(kFramedStyle, framedRect);
  }
  framed = !framed;
}

void Win32ShowTitleNote(const std::string& note) {
  if (mainWindow == nullptr) return;
  SetWindowTextW(mainWindow, (plainTitle + L" - " + Win32Wide(note.c_str())).c_str());
  StartTitleNote(&titleNoteEndsNs, kTitleNoteNs);
}

void Win32NoteError(const char* call, DWORD error) {
  lastError = std::string(call) + ": " + Win32ErrorText(error);
}

bool DeviceRegisterWindowClass(const char*) {
  // The frame is scaled by the layer itself: Windows is not to stretch the window on a high-DPI screen.
  SetProcessDPIAware();
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = MainWindowHandler;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  if (windowClass.hIcon == nullptr) windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassExW(&windowClass) == 0) {
    Win32NoteError("RegisterClassEx", GetLastError());
    return false;
  }
  SetConsoleCtrlHandler(NoteConsoleClose, TRUE);
  return true;
}

void DeviceCreateWindow(const char*, const char* title) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  framed = startWindowed;
  const RECT rect = framed ? FirstFramedRect(ScreenAreasOf(nullptr)) : screen;
  plainTitle = Win32Wide(title);
  mainWindow = CreateWindowExW(0, kClassName, plainTitle.c_str(), framed ? kFramedStyle : kScreenStyle,
                               rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  if (mainWindow == nullptr) {
    Win32NoteError("CreateWindowEx", GetLastError());
    return;
  }
  ShowWindow(mainWindow, SW_SHOW);
  UpdateWindow(mainWindow);
}

bool DevicePeekMessage(Message* message) {
  if (const std::optional<bool> last = PeekAfterWindowGone(&windowEnd, message)) return *last;
  Win32PresentPendingFrame();
  Win32PumpMessages();
  if (pending.empty()) return false;
  *message = pending.front();
  pending.pop_front();
  if (message->code == kMessageDestroy) windowEnd.windowGone = true;
  return true;
}

void DevicePostQuitMessage(uint64_t exitCode) {
  PostQuitAfterWindow(&windowEnd, exitCode);
}

void DeviceHideCursor() {
  cursorHidden = true;
}

const char* DevicePlatformError() {
  return lastError.c_str();
}

void DeviceRequestWindowed() {
  startWindowed = true;
}

void DeviceSetWindowedSize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  askedWidth = width;
  askedHeight = height;
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, kFramedStyle, FALSE, 0);
  if (mainWindow != nullptr && framed) {
    SetWindowPos(mainWindow, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER);
  } else if (framedRect.right != framedRect.left) {
    framedRect.right = framedRect.left + (rect.right - rect.left);
    framedRect.bottom = framedRect.top + (rect.bottom - rect.top);
  }
}

void DeviceGetWindowPlacement(bool* fullScreen, int* width, int* height) {
  *fullScreen = mainWindow != nullptr ? !framed : !startWindowed;
  *width = askedWidth;
  *height = askedHeight;
  RECT client{};
  if (mainWindow != nullptr && framed && GetClientRect(mainWindow, &client) != 0) {
    *width = client.right;
    *height = client.bottom;
  } else if (framedRect.right != framedRect.left) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kFramedStyle, FALSE, 0);
    *width = (framedRect.right - framedRect.left) - (frame.right - frame.left);
    *height = (framedRect.bottom - framedRect.top) - (frame.bottom - frame.top);
  }
}

bool DeviceCloseRequested() {
  // The waits that ask this read no keys, so the messages are pumped here.
  if (!windowEnd.closeRequested) Win32PumpMessages();
  return windowEnd.closeRequested;
}

}  // namespace coilrun
