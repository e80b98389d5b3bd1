// SPDX-License-Identifier: MIT
#include "gui/CustomControl.h"

namespace vx {

void TCustomControl::PaintWindow(TCanvas& canvas) {
    // Paint() draws on Canvas(): point it at the surface being painted for the while.
    TCanvas& own = Canvas();
    const wapi::HDC before = own.CurrentHandle();
    own.SetHandle(canvas.Handle());
    Paint();
    own.SetHandle(before);
    for (TControl* c : FControls) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (g != nullptr && g->Visible()) {
            canvas.SetOrigin({g->Left(), g->Top()});
            g->PaintOn(canvas);
            canvas.SetOrigin({});
        }
    }
}

void TCustomControl::Paint() {
    TCanvas& c = Canvas();
    c.Brush.SetColor(FColor);
    c.Brush.SetStyle(bsSolid);
    c.FillRect(ClientRect());
}

} // namespace vx
