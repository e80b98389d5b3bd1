// SPDX-License-Identifier: MIT
// A speed button that knows whether a left press is in progress.
#pragma once

#include "gui/Buttons.h"

namespace vx::button {

class TSpeedButton2 : public TSpeedButton {
public:
    explicit TSpeedButton2(TComponent* AOwner) : TSpeedButton(AOwner) {}
    [[nodiscard]] const char* ClassName() const override { return "TSpeedButton2"; }

    // True from a left press until the next release of any mouse button; still true while
    // the click of that release runs.
    [[nodiscard]] bool LeftDown() const { return FLeftDown; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool FLeftDown = false;
};

} // namespace vx::button
