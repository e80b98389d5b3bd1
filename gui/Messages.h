// SPDX-License-Identifier: MIT
// Control messages: what a form tells its controls (dialog keys, accelerators, focus moves)
// and what the layer tells a control about itself (enabled state, pointer enter and leave).
// Each arrives at the control's handler named after it.
#pragma once

#include <cstdint>

namespace vx {

constexpr uint32_t CM_DIALOGKEY = 0xB005;      // WParam: virtual key; LParam: shift state
constexpr uint32_t CM_DIALOGCHAR = 0xB006;     // WParam: the character typed
constexpr uint32_t CM_FOCUSCHANGED = 0xB007;   // LParam: the control that has the focus now
constexpr uint32_t CM_ENABLEDCHANGED = 0xB00C; //
constexpr uint32_t CM_MOUSEENTER = 0xB013;     //
constexpr uint32_t CM_MOUSELEAVE = 0xB014;     //

struct TMessage {
    uint32_t Msg = 0;
    intptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0; // non-zero: handled
};

} // namespace vx
