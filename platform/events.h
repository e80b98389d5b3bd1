// SPDX-License-Identifier: MIT
// Inbound events: everything the operating system tells the GUI layer arrives as one of these,
// through the single EventSink. Tests inject input through the same path.
#pragma once

#include "platform/api.h"
#include "platform/types.h"

#include <cstdint>

namespace vx::backend {

using TimerId = uint32_t;

enum class EventKind {
    MouseDown,   // Pos in client coordinates of Window
    MouseUp,     //
    MouseMove,   //
    DoubleClick, //
    ContextMenu, // Pos in screen coordinates
    KeyDown,     // Key: virtual-key code
    KeyUp,       //
    Char,        // Char: UTF-16 unit; the sink may change it or set it to 0 to drop it
    Paint,       // Dc: the surface to paint on
    Resized,     // the client area changed size
    Moved,       //
    Close,       // the user asked to close the window
    Timer,       // Timer: the id returned by StartTimer
    FocusIn,     //
    FocusOut,    //
    CaptureLost, // the window lost the mouse capture it held
    Changed,     // an edit's text changed
    MouseLeave,  // the pointer left the window
};

enum class MouseButton { Left, Right, Middle };

// Modifier and button state, same bits as the GUI layer's shift state.
enum ShiftBits : uint32_t {
    ShiftShift = 1u << 0,
    ShiftAlt = 1u << 1,
    ShiftCtrl = 1u << 2,
    ShiftLeft = 1u << 3,
    ShiftRight = 1u << 4,
    ShiftMiddle = 1u << 5,
    ShiftDouble = 1u << 6,
};

struct Event {
    EventKind Kind{};
    wapi::HWND Window = nullptr;
    TPoint Pos{};
    MouseButton Button = MouseButton::Left;
    uint32_t Shift = 0;
    uint16_t Key = 0;
    char16_t Char = 0;
    wapi::HDC Dc = nullptr;
    TimerId Timer = 0;
    // Set by the sink when it has used a key, so the backend does not pass it on.
    bool Handled = false;
};

class EventSink {
public:
    virtual void Dispatch(Event& event) = 0;

protected:
    ~EventSink() = default;
};

} // namespace vx::backend
