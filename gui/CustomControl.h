// SPDX-License-Identifier: MIT
// A windowed control that paints itself on a canvas of its own.
#pragma once

#include "gui/Control.h"

namespace vx {

class TCustomControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    [[nodiscard]] const char* ClassName() const override { return "TCustomControl"; }

    // The canvas to paint on: while painting, it draws on the surface being painted.
    TCanvas& Canvas() { return ControlCanvas(); }

protected:
    void PaintWindow(TCanvas& canvas) override;
    // Draws the control on Canvas(); graphic children are drawn after it.
    virtual void Paint();
};

} // namespace vx
