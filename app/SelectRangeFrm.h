// SPDX-License-Identifier: MIT
// The translucent overlay on which the user drags out the range to magnify.
#pragma once

#include "gui/ExtCtrls.h"
#include "gui/Form.h"

class TSelectRangeForm : public vx::TForm {
public:
    explicit TSelectRangeForm(vx::TComponent* Owner);
    [[nodiscard]] const char* ClassName() const override { return "TSelectRangeForm"; }

    vx::TPanel* SelectRangePanel = nullptr;
    vx::TShape* RangeShape = nullptr;

    void FormShow(vx::TObject* Sender);
    void SelectRangePanelMouseDown(vx::TObject* Sender, vx::TMouseButton Button,
                                   vx::TShiftState Shift, int X, int Y);
    void SelectRangePanelDragOver(vx::TObject* Sender, vx::TObject* Source, int X, int Y,
                                  vx::TDragState State, bool& Accept);
    void SelectRangePanelEndDrag(vx::TObject* Sender, vx::TObject* Target, int X, int Y);
    void FormKeyDown(vx::TObject* Sender, uint16_t& Key, vx::TShiftState Shift);

    vx::TPoint FDragStart{};
    // The selection, normalised, in the overlay's client coordinates.
    vx::TRect FSelectedRect{};
};

extern TSelectRangeForm* SelectRangeForm;
