// SPDX-License-Identifier: MIT
// The drag manager: one drag at a time, owning the mouse and the keyboard while it runs.
#pragma once

#include "gui/Control.h"
#include "platform/events.h"

namespace vx {

class DragObject {
public:
    static void Begin(TControl* source, bool immediate, int threshold);
    [[nodiscard]] static bool Active();
    [[nodiscard]] static TControl* Source();
    // Pointer input while a drag is pending or running, in screen coordinates.
    static void MouseEvent(backend::EventKind kind, TPoint screen, backend::MouseButton button,
                           uint32_t shift);
    // Ends the drag without a drop (Escape, loss of the mouse capture).
    static void Cancel();
};

// The enabled, visible control under a screen point, searching every showing form.
TControl* FindDragTarget(TPoint screen);

} // namespace vx
