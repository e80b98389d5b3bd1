// SPDX-License-Identifier: MIT
#include "controls/button/Borderspeedbutton.h"

#include "gui/Form.h"
#include "gui/FormReader.h"
#include "platform/api.h"

namespace vx::button {

void TBorderSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FMouseDownTick = wapi::GetTickCount();
    TSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TBorderSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // Unsigned subtraction stays right across the tick counter's wrap after 49.7 days.
    const uint32_t elapsed = uint32_t(wapi::GetTickCount()) - FMouseDownTick;
    if (elapsed > FLongPressTime && OnLongPress) {
        OnLongPress(this, Button, Shift, X, Y);
    }
    TSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TBorderSpeedButton::ReadProperty(TReader& reader, std::string_view name,
                                      const FormValue& value) {
    if (name == "LongPressTime") {
        SetLongPressTime(uint32_t(reader.Integer(value)));
    } else if (name == "OnLongPress") {
        OnLongPress = reader.Handler<TMouseEvent>(value);
    } else {
        TSpeedButton::ReadProperty(reader, name, value);
    }
}

} // namespace vx::button
