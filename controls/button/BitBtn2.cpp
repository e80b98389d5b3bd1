// SPDX-License-Identifier: MIT
#include "controls/button/BitBtn2.h"

namespace vx::button {

// The inherited handling fires OnMouseDown and OnMouseUp once each, before the flag changes;
// it is called rather than firing the events here because the push button's focus and pressed
// look live in the same operations.
void TBitBtn2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TBitBtn::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) {
        FLeftDown = true;
    }
}

void TBitBtn2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TBitBtn::MouseUp(Button, Shift, X, Y);
    FLeftDown = false;
}

} // namespace vx::button
