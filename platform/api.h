// SPDX-License-Identifier: MIT
// The operating-system calls that the program's own code makes, under their Windows names.
// They live in a namespace of ours so that they never clash with <windows.h>; the win32
// backend forwards them to the real API, the headless backend answers them in memory.
#pragma once

#include <cstdint>

namespace wapi {

struct WindowTag;
struct DeviceContextTag;
struct MonitorTag;
struct InstanceTag;
using HWND = WindowTag*;
using HDC = DeviceContextTag*;
using HMONITOR = MonitorTag*;
using HINSTANCE = InstanceTag*;
using BOOL = int;
using UINT = unsigned int;
using DWORD = uint32_t;
using LONG = int32_t;
using LPARAM = intptr_t;

#if defined(_WIN32) && !defined(_WIN64)
#define VX_WINAPI __stdcall
#else
#define VX_WINAPI
#endif

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

using MONITORENUMPROC = BOOL (*)(HMONITOR, HDC, RECT*, LPARAM);

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr int SM_CMONITORS = 80;
constexpr int HALFTONE = 4;
constexpr int COLORONCOLOR = 3;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int SW_SHOW = 5;
constexpr int GWL_STYLE = -16;

HWND GetDesktopWindow();
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
int GetSystemMetrics(int index);
BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data);
int SetStretchBltMode(HDC dc, int mode);
BOOL StretchBlt(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC source,
                int sourceX, int sourceY, int sourceWidth, int sourceHeight, DWORD rop);
BOOL BitBlt(HDC dest, int destX, int destY, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop);
LONG GetWindowLongW(HWND window, int index);
LONG SetWindowLongW(HWND window, int index, LONG value);
DWORD GetTickCount();
void Sleep(DWORD milliseconds);
// The item to open is passed as it is: it never becomes part of a command line.
HINSTANCE ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file,
                        const char16_t* parameters, const char16_t* directory, int show);

} // namespace wapi
