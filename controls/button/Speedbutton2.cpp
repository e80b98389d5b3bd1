// SPDX-License-Identifier: MIT
#include "controls/button/Speedbutton2.h"

namespace vx::button {

void TSpeedButton2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) {
        FLeftDown = true;
    }
}

void TSpeedButton2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    FLeftDown = false;
}

} // namespace vx::button
