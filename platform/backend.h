// SPDX-License-Identifier: MIT
// What the GUI layer needs from the operating system. Each backend implements these functions;
// an executable picks its backend at link time.
#pragma once

#include "platform/api.h"
#include "platform/events.h"
#include "platform/types.h"

#include <optional>
#include <string>
#include <vector>

namespace vx::backend {

enum class Frame { Sizeable, Single, Dialog, None };

// What a window is: our own (painted by the GUI layer) or the system's single-line edit.
enum class WindowClass { Generic, Edit };

struct WindowParams {
    WindowClass Class = WindowClass::Generic;
    wapi::HWND Parent = nullptr; // null: a top-level window
    wapi::HWND Owner = nullptr;  // top-level windows only: stays above its owner
    TRect Bounds{};              // window rectangle: screen, or the parent's client coordinates
    std::u16string Caption;
    Frame Border = Frame::Sizeable;
    bool SystemMenu = true;
    bool MinimizeBox = true;
    bool MaximizeBox = true;
    bool StayOnTop = false;
    bool TaskBarButton = false;
    int Alpha = 255; // 0..255; below 255 the window is layered and translucent
    TColor Background = 0xFF00000F;
    const char* IconResource = nullptr; // group icon shown in the caption and the task bar
};

// Windows.
wapi::HWND CreateWindow(const WindowParams& params);
void DestroyWindow(wapi::HWND window);
void ShowWindow(wapi::HWND window, bool visible);
void SetWindowBounds(wapi::HWND window, TRect bounds);
TRect GetWindowBounds(wapi::HWND window); // as CreateWindow takes them
TRect GetClientRect(wapi::HWND window);   // Left and Top are 0
TPoint ClientToScreen(wapi::HWND window, TPoint point);
// The window rectangle that gives a top-level window of these params the given client size.
TRect WindowRectForClient(const WindowParams& params, TRect client);
void SetCaption(wapi::HWND window, const std::u16string& caption);
void SetAlpha(wapi::HWND window, int alpha);
void Invalidate(wapi::HWND window);
void EnableWindow(wapi::HWND window, bool enabled);
bool IsWindowEnabled(wapi::HWND window);
void SetFocus(wapi::HWND window);
wapi::HWND GetFocus();
void SetCapture(wapi::HWND window);
void ReleaseCapture();
wapi::HWND GetCapture();
TPoint GetCursorPos();
uint32_t GetShiftState(); // ShiftBits of the keyboard and mouse buttons now

// The system's single-line edit. Changing its text, by typing or by SetText, raises
// EventKind::Changed on it.
std::u16string GetText(wapi::HWND edit);
void SetText(wapi::HWND edit, const std::u16string& text);
void GetSelection(wapi::HWND edit, int& start, int& length);
void SetSelection(wapi::HWND edit, int start, int length);
void SetReadOnly(wapi::HWND edit, bool readOnly);
// Colours and font of a system control's face and text.
void SetColors(wapi::HWND control, TColor background, TColor text);
struct FontDesc;
void SetFont(wapi::HWND control, const FontDesc& font);

// The message loop. ProcessMessage handles one queued event, waiting for one when asked.
enum class Pumped { Message, Nothing, Quit };
void SetEventSink(EventSink* sink);
Pumped ProcessMessage(bool wait);
void PostQuit();

// Worker threads. WakeMainThread may be called from any thread: it makes a waiting
// ProcessMessage return Pumped::Message, and WaitForWake return, so that the main thread looks at
// what a worker left for it. A wake-up that comes while the main thread is not waiting is kept
// for its next wait. WaitForWake is called on the main thread only, when it has nothing to do
// but wait for a worker (it handles no messages).
void WakeMainThread();
void WaitForWake();

// Timers deliver EventKind::Timer with their id, on the message loop.
TimerId StartTimer(uint32_t intervalMs);
void StopTimer(TimerId id);

// A popup menu shown modally at a screen point. Returns the Id of the chosen entry, 0 if none.
struct MenuEntry {
    std::u16string Caption; // "-" is a separator
    int Id = 0;
    bool Enabled = true;
};
int TrackPopupMenu(wapi::HWND owner, const std::vector<MenuEntry>& entries, TPoint screen);

void ShowMessageBox(wapi::HWND owner, const std::u16string& text, const std::u16string& caption);

// A text resource compiled into the executable (form descriptions), if there is one.
std::optional<std::string> LoadTextResource(const std::string& name);

// Painting primitives on a device context.
struct FontDesc {
    std::u16string Name = u"Tahoma";
    int Height = -11; // negative: character height in pixels
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Charset = 1;
    TColor Color = 0xFF000008;
    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};
enum TextFlags : uint32_t {
    TextLeft = 0,
    TextCenter = 0x1,
    TextRight = 0x2,
    TextVCenter = 0x4,
    TextBottom = 0x8,
    TextWordBreak = 0x10,
    TextSingleLine = 0x20,
    TextNoPrefix = 0x800,
};
void FillRect(wapi::HDC dc, TRect rect, TColor color);
// A rectangle outline of the given pen width drawn inside the rectangle; fill is optional.
void DrawRectangle(wapi::HDC dc, TRect rect, TColor pen, int penWidth, std::optional<TColor> fill);
void DrawText(wapi::HDC dc, const std::u16string& text, TRect rect, const FontDesc& font,
              uint32_t flags);
TPoint MeasureText(wapi::HDC dc, const std::u16string& text, const FontDesc& font);
void DrawIconResource(wapi::HDC dc, const char* name, TPoint at);
// Rings of one pixel inside the rectangle: the top-left colour on the left column and top row,
// the bottom-right colour on the right column and bottom row (and so on two corner pixels).
void DrawFrame3D(wapi::HDC dc, TRect rect, TColor topLeft, TColor bottomRight, int width);
// The dotted focus rectangle, drawn by inverting.
void DrawFocusRect(wapi::HDC dc, TRect rect);
TColor GetPixel(wapi::HDC dc, TPoint at); // 0x00BBGGRR

// Off-screen bitmaps of 32-bit pixels, with a device context to draw on them.
struct BitmapTag;
using BitmapId = BitmapTag*;
BitmapId CreateBitmap(int width, int height); // null when the size is not positive
void DestroyBitmap(BitmapId bitmap);
wapi::HDC BitmapDc(BitmapId bitmap);
// Draws the bitmap's top-left width x height pixels at `at`; pixels of the transparent
// colour, if one is given, are left out.
void DrawBitmap(wapi::HDC dc, BitmapId bitmap, TPoint at, int width, int height,
                std::optional<TColor> transparent);
TColor ResolveColor(TColor color); // system colours to plain 0x00BBGGRR

} // namespace vx::backend
