// SPDX-License-Identifier: MIT
// The backend interface on USER: real windows, the thread's message queue, timers, menus.
#include "platform/win32/win.h"

#include <windowsx.h>

#include <map>

namespace vx::win32 {
namespace {
backend::EventSink* Sink = nullptr;
} // namespace

void SetSink(backend::EventSink* sink) {
    Sink = sink;
}

bool SendToSink(backend::Event& e) {
    if (Sink == nullptr) {
        return false;
    }
    Sink->Dispatch(e);
    return true;
}

bool SendKey(::HWND hwnd, UINT msg, WPARAM& wp) {
    using backend::EventKind;
    backend::Event e{.Window = H(hwnd)};
    if (msg == WM_CHAR || msg == WM_SYSCHAR) {
        e.Kind = EventKind::Char;
        e.Shift = msg == WM_SYSCHAR ? uint32_t(backend::ShiftAlt) : 0;
        e.Char = char16_t(wp);
    } else {
        e.Kind = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
        e.Shift = KeyShiftState();
        e.Key = uint16_t(wp);
    }
    if (!SendToSink(e)) {
        return false;
    }
    if (e.Kind == EventKind::Char) {
        wp = e.Char;
        return e.Handled || e.Char == 0;
    }
    return e.Handled;
}

uint32_t KeyShiftState() {
    uint32_t s = 0;
    if (GetKeyState(VK_SHIFT) < 0) {
        s |= backend::ShiftShift;
    }
    if (GetKeyState(VK_MENU) < 0) {
        s |= backend::ShiftAlt;
    }
    if (GetKeyState(VK_CONTROL) < 0) {
        s |= backend::ShiftCtrl;
    }
    return s;
}

} // namespace vx::win32

namespace vx::backend {

using namespace vx::win32;

namespace {

const wchar_t* const ClassName = L"VexeloWindow";

uint32_t KeyShift() {
    return KeyShiftState();
}

uint32_t MouseShift(WPARAM keys) {
    uint32_t s = KeyShift();
    if ((keys & MK_LBUTTON) != 0) {
        s |= ShiftLeft;
    }
    if ((keys & MK_RBUTTON) != 0) {
        s |= ShiftRight;
    }
    if ((keys & MK_MBUTTON) != 0) {
        s |= ShiftMiddle;
    }
    return s;
}

bool Send(Event& e) {
    return SendToSink(e);
}

LRESULT Mouse(::HWND hwnd, EventKind kind, MouseButton button, WPARAM wp, LPARAM lp) {
    Event e{.Kind = kind,
            .Window = H(hwnd),
            .Pos = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)},
            .Button = button,
            .Shift = MouseShift(wp)};
    Send(e);
    return 0;
}

LRESULT CALLBACK WindowProc(::HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::HDC dc = BeginPaint(hwnd, &ps);
        Event e{.Kind = EventKind::Paint, .Window = H(hwnd), .Dc = reinterpret_cast<wapi::HDC>(dc)};
        Send(e);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // the paint handler fills the background itself
    case WM_LBUTTONDOWN:
        return Mouse(hwnd, EventKind::MouseDown, MouseButton::Left, wp, lp);
    case WM_RBUTTONDOWN:
        return Mouse(hwnd, EventKind::MouseDown, MouseButton::Right, wp, lp);
    case WM_MBUTTONDOWN:
        return Mouse(hwnd, EventKind::MouseDown, MouseButton::Middle, wp, lp);
    case WM_LBUTTONUP:
        return Mouse(hwnd, EventKind::MouseUp, MouseButton::Left, wp, lp);
    case WM_RBUTTONUP:
        Mouse(hwnd, EventKind::MouseUp, MouseButton::Right, wp, lp);
        break; // the default handling turns it into WM_CONTEXTMENU
    case WM_MBUTTONUP:
        return Mouse(hwnd, EventKind::MouseUp, MouseButton::Middle, wp, lp);
    case WM_LBUTTONDBLCLK:
        return Mouse(hwnd, EventKind::DoubleClick, MouseButton::Left, wp, lp);
    case WM_MOUSEMOVE: {
        // Ask to hear when the pointer leaves, for the controls' enter and leave events.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        return Mouse(hwnd, EventKind::MouseMove, MouseButton::Left, wp, lp);
    }
    case WM_MOUSELEAVE: {
        Event e{.Kind = EventKind::MouseLeave, .Window = H(hwnd)};
        Send(e);
        return 0;
    }
    case WM_CONTEXTMENU: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (lp == -1) { // from the keyboard: at the pointer
            ::GetCursorPos(&p);
        }
        Event e{.Kind = EventKind::ContextMenu, .Window = H(hwnd), .Pos = {p.x, p.y}};
        Send(e);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        if (SendKey(hwnd, msg, wp)) {
            return 0;
        }
        break; // Alt+F4 and the other system keys keep working
    case WM_SIZE: {
        Event e{.Kind = EventKind::Resized, .Window = H(hwnd)};
        Send(e);
        return 0;
    }
    case WM_MOVE: {
        Event e{.Kind = EventKind::Moved, .Window = H(hwnd)};
        Send(e);
        return 0;
    }
    case WM_CLOSE: {
        Event e{.Kind = EventKind::Close, .Window = H(hwnd)};
        Send(e);
        return 0; // the GUI layer decides whether and how the window goes
    }
    case WM_SETFOCUS: {
        Event e{.Kind = EventKind::FocusIn, .Window = H(hwnd)};
        Send(e);
        return 0;
    }
    case WM_KILLFOCUS: {
        Event e{.Kind = EventKind::FocusOut, .Window = H(hwnd)};
        Send(e);
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        LRESULT brush = 0;
        if (ControlColor(reinterpret_cast<::HWND>(lp), reinterpret_cast<::HDC>(wp), brush)) {
            return brush;
        }
        break;
    }
    case WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE && lp != 0) {
            Event e{.Kind = EventKind::Changed, .Window = H(reinterpret_cast<::HWND>(lp))};
            Send(e);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<::HWND>(lp) != hwnd) {
            Event e{.Kind = EventKind::CaptureLost, .Window = H(hwnd)};
            Send(e);
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterClassOnce() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | CS_OWNDC; // a window's canvas keeps its device context
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        wc.lpszClassName = ClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

struct Styles {
    DWORD Style;
    DWORD ExStyle;
};

Styles StylesOf(const WindowParams& p) {
    if (p.Parent != nullptr) {
        return {WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0};
    }
    DWORD style = WS_CLIPCHILDREN;
    DWORD ex = 0;
    switch (p.Border) {
    case Frame::Sizeable:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        break;
    case Frame::Single:
        style |= WS_OVERLAPPED | WS_CAPTION;
        break;
    case Frame::Dialog:
        style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        ex |= WS_EX_DLGMODALFRAME;
        break;
    case Frame::None:
        style |= WS_POPUP;
        break;
    }
    if (p.SystemMenu) {
        style |= WS_SYSMENU;
    }
    if (p.MinimizeBox) {
        style |= WS_MINIMIZEBOX;
    }
    if (p.MaximizeBox) {
        style |= WS_MAXIMIZEBOX;
    }
    if (p.StayOnTop) {
        ex |= WS_EX_TOPMOST;
    }
    if (p.TaskBarButton) {
        ex |= WS_EX_APPWINDOW;
    }
    if (p.Alpha < 255) {
        ex |= WS_EX_LAYERED;
    }
    return {style, ex};
}

HICON LoadIconResource(const char* name, int size) {
    std::wstring wide(name, name + strlen(name));
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), wide.c_str(), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR | LR_SHARED));
}

std::map<UINT_PTR, TimerId>& TimerIds() {
    // Never destroyed: timers may still stop while the process shuts down.
    static auto& ids = *new std::map<UINT_PTR, TimerId>;
    return ids;
}

void CALLBACK TimerProc(::HWND, UINT, UINT_PTR id, DWORD) {
    auto it = TimerIds().find(id);
    if (it != TimerIds().end()) {
        Event e{.Kind = EventKind::Timer, .Timer = it->second};
        Send(e);
    }
}

} // namespace

wapi::HWND CreateWindow(const WindowParams& params) {
    if (params.Class == WindowClass::Edit) {
        return H(CreateEdit(params));
    }
    RegisterClassOnce();
    const Styles s = StylesOf(params);
    const TRect b = params.Bounds;
    ::HWND parent = W(params.Parent != nullptr ? params.Parent : params.Owner);
    ::HWND hwnd =
        CreateWindowExW(s.ExStyle, ClassName, Wide(params.Caption), s.Style, b.Left, b.Top,
                        b.Width(), b.Height(), parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        return nullptr;
    }
    if (params.Alpha < 255) {
        SetLayeredWindowAttributes(hwnd, 0, BYTE(params.Alpha), LWA_ALPHA);
    }
    if (params.IconResource != nullptr) {
        SendMessageW(hwnd, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(LoadIconResource(params.IconResource, 32)));
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(LoadIconResource(params.IconResource, 16)));
    }
    return H(hwnd);
}

void DestroyWindow(wapi::HWND window) {
    if (IsWindow(W(window))) {
        ::DestroyWindow(W(window));
    }
}

void ShowWindow(wapi::HWND window, bool visible) {
    ::ShowWindow(W(window), visible ? SW_SHOW : SW_HIDE);
}

void SetWindowBounds(wapi::HWND window, TRect b) {
    SetWindowPos(W(window), nullptr, b.Left, b.Top, b.Width(), b.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TRect GetWindowBounds(wapi::HWND window) {
    RECT r{};
    ::GetWindowRect(W(window), &r);
    if ((GetWindowLongW(W(window), GWL_STYLE) & WS_CHILD) != 0) {
        MapWindowPoints(HWND_DESKTOP, GetParent(W(window)), reinterpret_cast<POINT*>(&r), 2);
    }
    return {r.left, r.top, r.right, r.bottom};
}

TRect GetClientRect(wapi::HWND window) {
    RECT r{};
    ::GetClientRect(W(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

TPoint ClientToScreen(wapi::HWND window, TPoint point) {
    POINT p{point.X, point.Y};
    ::ClientToScreen(W(window), &p);
    return {p.x, p.y};
}

TRect WindowRectForClient(const WindowParams& params, TRect client) {
    const Styles s = StylesOf(params);
    RECT r{client.Left, client.Top, client.Right, client.Bottom};
    AdjustWindowRectEx(&r, s.Style, FALSE, s.ExStyle);
    return {r.left, r.top, r.right, r.bottom};
}

void SetCaption(wapi::HWND window, const std::u16string& caption) {
    SetWindowTextW(W(window), Wide(caption));
}

void SetAlpha(wapi::HWND window, int alpha) {
    ::HWND h = W(window);
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    if (alpha < 255) {
        SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(h, 0, BYTE(alpha), LWA_ALPHA);
    } else {
        SetWindowLongW(h, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    }
}

void Invalidate(wapi::HWND window) {
    InvalidateRect(W(window), nullptr, FALSE);
}

void EnableWindow(wapi::HWND window, bool enabled) {
    ::EnableWindow(W(window), enabled);
}

bool IsWindowEnabled(wapi::HWND window) {
    return ::IsWindowEnabled(W(window)) != FALSE;
}

void SetFocus(wapi::HWND window) {
    ::SetFocus(W(window));
}

wapi::HWND GetFocus() {
    return H(::GetFocus());
}

void SetCapture(wapi::HWND window) {
    ::SetCapture(W(window));
}

void ReleaseCapture() {
    ::ReleaseCapture();
}

wapi::HWND GetCapture() {
    return H(::GetCapture());
}

TPoint GetCursorPos() {
    POINT p{};
    ::GetCursorPos(&p);
    return {p.x, p.y};
}

uint32_t GetShiftState() {
    uint32_t s = KeyShift();
    if (GetKeyState(VK_LBUTTON) < 0) {
        s |= ShiftLeft;
    }
    if (GetKeyState(VK_RBUTTON) < 0) {
        s |= ShiftRight;
    }
    if (GetKeyState(VK_MBUTTON) < 0) {
        s |= ShiftMiddle;
    }
    return s;
}

void SetEventSink(EventSink* sink) {
    Sink = sink;
}

Pumped ProcessMessage(bool wait) {
    MSG msg;
    if (wait) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            return Pumped::Quit;
        }
    } else {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            return Pumped::Nothing;
        }
        if (msg.message == WM_QUIT) {
            return Pumped::Quit;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return Pumped::Message;
}

void PostQuit() {
    PostQuitMessage(0);
}

TimerId StartTimer(uint32_t intervalMs) {
    static TimerId next = 1;
    const UINT_PTR id = SetTimer(nullptr, 0, intervalMs, TimerProc);
    if (id == 0) {
        return 0;
    }
    TimerIds()[id] = next;
    return next++;
}

void StopTimer(TimerId timer) {
    for (auto it = TimerIds().begin(); it != TimerIds().end(); ++it) {
        if (it->second == timer) {
            KillTimer(nullptr, it->first);
            TimerIds().erase(it);
            return;
        }
    }
}

int TrackPopupMenu(wapi::HWND owner, const std::vector<MenuEntry>& entries, TPoint screen) {
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry& e : entries) {
        if (e.Caption == u"-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING | (e.Enabled ? 0 : MF_GRAYED), UINT_PTR(e.Id),
                        Wide(e.Caption));
        }
    }
    // The owner must be in the foreground, or the menu does not close when clicked outside.
    SetForegroundWindow(W(owner));
    const int chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                        screen.X, screen.Y, 0, W(owner), nullptr);
    PostMessageW(W(owner), WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen;
}

void ShowMessageBox(wapi::HWND owner, const std::u16string& text, const std::u16string& caption) {
    MessageBoxW(W(owner), Wide(text), Wide(caption), MB_OK | MB_ICONERROR);
}

std::optional<std::string> LoadTextResource(const std::string& name) {
    const std::wstring wide(name.begin(), name.end());
    HRSRC res = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (res == nullptr) {
        return std::nullopt;
    }
    HGLOBAL data = LoadResource(nullptr, res);
    const void* bytes = data != nullptr ? LockResource(data) : nullptr;
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, res));
}

} // namespace vx::backend
