// SPDX-License-Identifier: MIT
// Control of the in-memory backend, for tests and benchmarks: the desktop image and monitors,
// a virtual clock, input injected through the same event path real input takes, scripted menu
// choices and a log of the operating-system calls made.
#pragma once

#include "platform/backend.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vx::headless {

// 0x00RRGGBB pixels, row by row.
struct Image {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;

    Image() = default;
    Image(int32_t width, int32_t height, uint32_t fill = 0);
    [[nodiscard]] uint32_t At(int32_t x, int32_t y) const { return Pixels[size_t(y) * Width + x]; }
    uint32_t& At(int32_t x, int32_t y) { return Pixels[size_t(y) * Width + x]; }
};

// Back to a fresh machine: no windows, clock and log at zero, one 1920 x 1080 monitor
// showing a grey desktop, all scripts and overrides dropped.
void Reset();

// Screen.
void SetMonitors(const std::vector<TRect>& monitors);
// Makes GetSystemMetrics(SM_CMONITORS) answer this instead of the number of monitors.
void SetMonitorMetric(std::optional<int> count);
// The desktop image; its top-left pixel lies at `origin` on the virtual screen.
void SetDesktop(TPoint origin, Image image);
const Image& Desktop();

// Virtual clock. Time only moves when the loop waits or the program sleeps.
//
// Worker threads: only the main thread (the one that runs main()) moves the clock. Sleep on a
// worker thread blocks until the main thread's clock reaches the wake time: Advance, the main
// thread's own Sleep, an idle ProcessMessage(wait) and WaitForWake (a main thread waiting for a
// worker) move it on. So a test decides exactly when a sleeping worker goes on, and everything a
// worker did before it fell asleep is in the log. GetTickCount, Sleep, BitBlt and the log may be
// used from any thread; read ApiLog() only while workers sleep or wait (ApiCalls copies under
// the lock). Every worker must have ended before Reset.
uint64_t Now();
void Advance(uint64_t ms);        // runs the actions scheduled up to then; delivers nothing else
void SetTickCount(uint32_t tick); // GetTickCount() answers this now and counts on from it

// Blocks the main thread until a worker thread asks for it (backend::WakeMainThread: a request
// to synchronize, or the worker's end) or sleeps until a time still ahead of the clock. Returns
// true, consuming the request, in the first case; false when the worker sleeps. Never moves the
// clock.
bool AwaitWorker();

// Actions run by the message loop when virtual time reaches them (while it waits for input).
void At(uint64_t ms, std::function<void()> action);
void After(uint64_t ms, std::function<void()> action);

// Input, in screen coordinates. Events are queued and delivered by the message loop.
void MouseDown(TPoint screen, backend::MouseButton button = backend::MouseButton::Left,
               uint32_t shift = 0);
void MouseUp(TPoint screen, backend::MouseButton button = backend::MouseButton::Left,
             uint32_t shift = 0);
void MouseMove(TPoint screen, uint32_t shift = 0);
void Click(TPoint screen);
void RightClick(TPoint screen); // press, release, then the context-menu request
void KeyDown(uint16_t key, uint32_t shift = 0);
void KeyUp(uint16_t key, uint32_t shift = 0);
void Char(char16_t ch);
void PressKey(uint16_t key, char16_t ch = 0); // down, the character if any, up
void RequestClose(wapi::HWND window);
void TakeCapture(); // another application takes the mouse capture
// Delivers queued events, paints and due timers until nothing is left to do now.
void Pump();

// Popup menus: each TrackPopupMenu takes the next chooser; none left means dismissed.
struct ShownMenu {
    wapi::HWND Owner = nullptr;
    std::vector<backend::MenuEntry> Entries;
    TPoint At{};
};
void ChooseMenu(std::function<int(const ShownMenu&)> chooser);
void ChooseMenuCaption(std::u16string caption);
const std::vector<ShownMenu>& ShownMenus();

// Windows.
struct WindowInfo {
    wapi::HWND Handle = nullptr;
    backend::WindowParams Params;
    TRect Bounds{}; // screen for top-level windows, parent client coordinates for children
    bool Visible = false;
    bool Enabled = true;
    int Alpha = 255;
};
std::vector<wapi::HWND> TopLevelWindows(); // in creation order, live ones only
std::optional<WindowInfo> Window(wapi::HWND window);
const Image& Surface(wapi::HWND window); // the client area's pixels
std::vector<std::u16string> MessageBoxes();

// Log of the calls made through the wapi names.
struct ApiCall {
    std::string Name;
    std::vector<int64_t> Args;
    std::vector<std::u16string> Texts;
};
const std::vector<ApiCall>& ApiLog();
std::vector<ApiCall> ApiCalls(const std::string& name);
void ClearApiLog();

// Text resources: tests register the form descriptions or replace them.
void SetTextResource(const std::string& name, std::optional<std::string> text);

// Frame sizes of top-level windows, so tests can reason about client positions.
TRect FrameInsets(backend::Frame frame);

} // namespace vx::headless

namespace vx::headless {
// Called at start-up by generated code that embeds text resources in a native executable.
bool RegisterEmbeddedResource(const char* name, const char* text);
} // namespace vx::headless
