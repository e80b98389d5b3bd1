// SPDX-License-Identifier: MIT
// The Windows-named calls answered by the in-memory machine; every call is logged.
#include "platform/headless/state.h"
#include "platform/headless/stretch.h"

namespace wapi {

using namespace vx::headless;
using namespace vx::headless::detail;

namespace {

const uintptr_t DesktopId = 0x10;

Dc* AsDc(HDC dc) {
    return reinterpret_cast<Dc*>(dc);
}
int64_t Id(const void* p) {
    return int64_t(reinterpret_cast<uintptr_t>(p));
}

std::u16string Text(const char16_t* s) {
    return s != nullptr ? std::u16string(s) : u"";
}

} // namespace

HWND GetDesktopWindow() {
    Log("GetDesktopWindow", {});
    return reinterpret_cast<HWND>(DesktopId);
}

HDC GetDC(HWND window) {
    Log("GetDC", {Id(window)});
    if (reinterpret_cast<uintptr_t>(window) == DesktopId || window == nullptr) {
        return reinterpret_cast<HDC>(&M().DesktopDc);
    }
    Win* w = Find(window);
    return w != nullptr ? reinterpret_cast<HDC>(w->ClientDc.get()) : nullptr;
}

HDC GetWindowDC(HWND window) {
    Log("GetWindowDC", {Id(window)});
    return GetDC(window);
}

int ReleaseDC(HWND window, HDC dc) {
    Log("ReleaseDC", {Id(window), Id(dc)});
    return 1;
}

int GetSystemMetrics(int index) {
    Log("GetSystemMetrics", {index});
    if (index == SM_CMONITORS) {
        const Machine& m = M();
        return m.MonitorMetric.value_or(int(m.Monitors.size()));
    }
    return 0;
}

BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data) {
    Log("EnumDisplayMonitors", {Id(dc), Id(clip), data});
    const std::vector<vx::TRect> monitors = M().Monitors;
    for (size_t i = 0; i < monitors.size(); ++i) {
        RECT r{monitors[i].Left, monitors[i].Top, monitors[i].Right, monitors[i].Bottom};
        if (callback(reinterpret_cast<HMONITOR>(i + 1), nullptr, &r, data) == FALSE) {
            break;
        }
    }
    return TRUE;
}

int SetStretchBltMode(HDC dc, int mode) {
    Log("SetStretchBltMode", {Id(dc), mode});
    Dc* d = AsDc(dc);
    if (d == nullptr) {
        return 0;
    }
    const int old = d->StretchMode;
    d->StretchMode = mode;
    return old;
}

BOOL StretchBlt(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC source,
                int sourceX, int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
    Log("StretchBlt", {Id(dest), destX, destY, destWidth, destHeight, Id(source), sourceX, sourceY,
                       sourceWidth, sourceHeight, rop});
    Dc* d = AsDc(dest);
    Dc* s = AsDc(source);
    if (d == nullptr || s == nullptr || rop != SRCCOPY) {
        return FALSE;
    }
    const StretchArgs args{destX - d->Origin.X,   destY - d->Origin.Y,   destWidth,   destHeight,
                           sourceX - s->Origin.X, sourceY - s->Origin.Y, sourceWidth, sourceHeight};
    if (d->StretchMode == HALFTONE) {
        StretchAveraging(*s->Target, *d->Target, args);
    } else {
        StretchNearest(*s->Target, *d->Target, args);
    }
    return TRUE;
}

BOOL BitBlt(HDC dest, int destX, int destY, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop) {
    const Guard lock(S().Mutex);
    Log("BitBlt", {Id(dest), destX, destY, width, height, Id(source), sourceX, sourceY, rop});
    Dc* d = AsDc(dest);
    Dc* s = AsDc(source);
    if (d == nullptr || s == nullptr || rop != SRCCOPY || width <= 0 || height <= 0) {
        return FALSE;
    }
    StretchNearest(*s->Target, *d->Target,
                   {destX - d->Origin.X, destY - d->Origin.Y, width, height, sourceX - s->Origin.X,
                    sourceY - s->Origin.Y, width, height});
    return TRUE;
}

LONG GetWindowLongW(HWND window, int index) {
    Log("GetWindowLongW", {Id(window), index});
    const Win* w = Find(window);
    return w != nullptr && index == GWL_STYLE ? w->WindowLong : 0;
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
    Log("SetWindowLongW", {Id(window), index, value});
    Win* w = Find(window);
    if (w == nullptr || index != GWL_STYLE) {
        return 0;
    }
    const LONG old = w->WindowLong;
    w->WindowLong = value;
    return old;
}

DWORD GetTickCount() {
    const Guard lock(S().Mutex);
    const Machine& m = M();
    return DWORD(m.TickBase + (m.Clock - m.TickAt));
}

void Sleep(DWORD milliseconds) {
    Log("Sleep", {milliseconds});
    if (OnMainThread()) {
        Advance(milliseconds);
    } else {
        SleepWorker(milliseconds);
    }
}

HINSTANCE ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file,
                        const char16_t* parameters, const char16_t* directory, int show) {
    Log("ShellExecuteW", {Id(owner), show},
        {Text(verb), Text(file), Text(parameters), Text(directory)});
    return reinterpret_cast<HINSTANCE>(uintptr_t(33));
}

} // namespace wapi
