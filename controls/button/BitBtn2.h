// SPDX-License-Identifier: MIT
// A bitmap button that knows whether a left press is in progress.
#pragma once

#include "gui/Buttons.h"

namespace vx::button {

// Declared for code written against this button; no operation of the button reads such a
// setting.
enum class TBBLayout2 { bb2Left, bb2Top };
using enum TBBLayout2;

class TBitBtn2 : public TBitBtn {
public:
    // Declared for code written against this button; the button never fires such an event.
    using TUpdateEnable = std::function<void(TObject* Sender, bool isEnable)>;

    explicit TBitBtn2(TComponent* AOwner) : TBitBtn(AOwner) {}
    [[nodiscard]] const char* ClassName() const override { return "TBitBtn2"; }

    // True from a left press until the next release of any mouse button.
    [[nodiscard]] bool LeftDown() const { return FLeftDown; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool FLeftDown = false;
};

} // namespace vx::button
