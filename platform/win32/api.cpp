// SPDX-License-Identifier: MIT
// The Windows-named calls, forwarded to the real API.
#include "platform/api.h"

#include <windows.h>

#include <shellapi.h>

namespace wapi {
namespace {

::HWND W(HWND h) {
    return reinterpret_cast<::HWND>(h);
}
::HDC D(HDC h) {
    return reinterpret_cast<::HDC>(h);
}
const wchar_t* T(const char16_t* s) {
    return reinterpret_cast<const wchar_t*>(s);
}

struct EnumContext {
    MONITORENUMPROC Callback;
    LPARAM Data;
};

// The system calls back with its own calling convention; ours has none of that.
::BOOL CALLBACK EnumTrampoline(::HMONITOR monitor, ::HDC dc, ::LPRECT rect, ::LPARAM data) {
    auto* context = reinterpret_cast<EnumContext*>(data);
    RECT r{rect->left, rect->top, rect->right, rect->bottom};
    return context->Callback(reinterpret_cast<HMONITOR>(monitor), reinterpret_cast<HDC>(dc), &r,
                             context->Data);
}

} // namespace

HWND GetDesktopWindow() {
    return reinterpret_cast<HWND>(::GetDesktopWindow());
}

HDC GetDC(HWND window) {
    return reinterpret_cast<HDC>(::GetDC(W(window)));
}

HDC GetWindowDC(HWND window) {
    return reinterpret_cast<HDC>(::GetWindowDC(W(window)));
}

int ReleaseDC(HWND window, HDC dc) {
    return ::ReleaseDC(W(window), D(dc));
}

int GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data) {
    ::RECT r{};
    if (clip != nullptr) {
        r = {clip->left, clip->top, clip->right, clip->bottom};
    }
    EnumContext context{callback, data};
    return ::EnumDisplayMonitors(D(dc), clip != nullptr ? &r : nullptr, EnumTrampoline,
                                 reinterpret_cast<::LPARAM>(&context));
}

int SetStretchBltMode(HDC dc, int mode) {
    return ::SetStretchBltMode(D(dc), mode);
}

BOOL StretchBlt(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC source,
                int sourceX, int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
    return ::StretchBlt(D(dest), destX, destY, destWidth, destHeight, D(source), sourceX, sourceY,
                        sourceWidth, sourceHeight, rop);
}

BOOL BitBlt(HDC dest, int destX, int destY, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop) {
    return ::BitBlt(D(dest), destX, destY, width, height, D(source), sourceX, sourceY, rop);
}

LONG GetWindowLongW(HWND window, int index) {
    return ::GetWindowLongW(W(window), index);
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
    return ::SetWindowLongW(W(window), index, value);
}

DWORD GetTickCount() {
    return ::GetTickCount();
}

void Sleep(DWORD milliseconds) {
    ::Sleep(milliseconds);
}

HINSTANCE ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file,
                        const char16_t* parameters, const char16_t* directory, int show) {
    return reinterpret_cast<HINSTANCE>(
        ::ShellExecuteW(W(owner), T(verb), T(file), T(parameters), T(directory), show));
}

} // namespace wapi
