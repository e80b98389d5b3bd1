// SPDX-License-Identifier: MIT
// The system's single-line edit, subclassed so that its keys, characters and focus changes go
// through the GUI layer first; colours are answered for it by its parent.
#include "platform/win32/win.h"

#include <map>

namespace vx::win32 {
namespace {

struct EditState {
    WNDPROC Original = nullptr;
};

std::map<::HWND, EditState>& Edits() {
    // Never destroyed: edits may be destroyed while the process shuts down.
    static auto& edits = *new std::map<::HWND, EditState>;
    return edits;
}

struct Colors {
    COLORREF Background;
    COLORREF Text;
};

std::map<::HWND, Colors>& ControlColors() {
    static auto& colors = *new std::map<::HWND, Colors>;
    return colors;
}

HBRUSH BrushFor(COLORREF color) {
    static auto& brushes = *new std::map<COLORREF, HBRUSH>;
    auto it = brushes.find(color);
    if (it != brushes.end()) {
        return it->second;
    }
    return brushes[color] = CreateSolidBrush(color);
}

LRESULT CALLBACK EditProc(::HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const WNDPROC original = Edits()[hwnd].Original;
    using backend::Event;
    using backend::EventKind;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        if (SendKey(hwnd, msg, wp)) {
            return 0; // used up, or a refused character the edit never sees
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const LRESULT r = CallWindowProcW(original, hwnd, msg, wp, lp);
        Event e{.Kind = msg == WM_SETFOCUS ? EventKind::FocusIn : EventKind::FocusOut,
                .Window = H(hwnd)};
        SendToSink(e);
        return r;
    }
    case WM_NCDESTROY: {
        const LRESULT r = CallWindowProcW(original, hwnd, msg, wp, lp);
        Edits().erase(hwnd);
        ControlColors().erase(hwnd);
        return r;
    }
    default:
        break;
    }
    return CallWindowProcW(original, hwnd, msg, wp, lp);
}

} // namespace

::HWND CreateEdit(const backend::WindowParams& p) {
    const TRect b = p.Bounds;
    ::HWND hwnd =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Wide(p.Caption),
                        WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, b.Left, b.Top, b.Width(),
                        b.Height(), W(p.Parent), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd != nullptr) {
        Edits()[hwnd].Original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    }
    return hwnd;
}

bool ControlColor(::HWND control, ::HDC dc, LRESULT& brush) {
    auto it = ControlColors().find(control);
    if (it == ControlColors().end()) {
        return false;
    }
    SetBkColor(dc, it->second.Background);
    SetTextColor(dc, it->second.Text);
    brush = reinterpret_cast<LRESULT>(BrushFor(it->second.Background));
    return true;
}

} // namespace vx::win32

namespace vx::backend {

using namespace vx::win32;

std::u16string GetText(wapi::HWND edit) {
    const int length = GetWindowTextLengthW(W(edit));
    std::u16string text(size_t(length) + 1, u'\0');
    const int got = GetWindowTextW(W(edit), reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(size_t(got > 0 ? got : 0));
    return text;
}

void SetText(wapi::HWND edit, const std::u16string& text) {
    SetWindowTextW(W(edit), Wide(text));
}

void GetSelection(wapi::HWND edit, int& start, int& length) {
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(W(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    start = int(from);
    length = int(to - from);
}

void SetSelection(wapi::HWND edit, int start, int length) {
    SendMessageW(W(edit), EM_SETSEL, WPARAM(start), LPARAM(start + length));
}

void SetReadOnly(wapi::HWND edit, bool readOnly) {
    SendMessageW(W(edit), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void SetColors(wapi::HWND control, TColor background, TColor text) {
    ControlColors()[W(control)] = {ResolveColor(background), ResolveColor(text)};
    InvalidateRect(W(control), nullptr, TRUE);
}

void SetFont(wapi::HWND control, const FontDesc& font) {
    SendMessageW(W(control), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(font)), TRUE);
}

} // namespace vx::backend
