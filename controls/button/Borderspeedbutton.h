// SPDX-License-Identifier: MIT
// A speed button that also reports presses held longer than LongPressTime.
#pragma once

#include "gui/Buttons.h"

#include <cstdint>

namespace vx::button {

class TBorderSpeedButton : public TSpeedButton {
public:
    // Long enough that an ordinary click never counts, short enough not to feel stuck.
    static constexpr uint32_t DefaultLongPressTime = 500;

    explicit TBorderSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}
    [[nodiscard]] const char* ClassName() const override { return "TBorderSpeedButton"; }

    // Fired at the release of a press held longer than LongPressTime, before the release's
    // own handling (and so before its click).
    TMouseEvent OnLongPress;

    // Milliseconds; a press must last strictly longer to count as long.
    [[nodiscard]] uint32_t LongPressTime() const { return FLongPressTime; }
    void SetLongPressTime(uint32_t value) { FLongPressTime = value; }

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    uint32_t FLongPressTime = DefaultLongPressTime;
    uint32_t FMouseDownTick = 0; // tick count of the last press of any button
};

} // namespace vx::button
