// SPDX-License-Identifier: MIT
#include "app/SelectRangeFrm.h"

#include <algorithm>

TSelectRangeForm* SelectRangeForm = nullptr;

using namespace vx;

TSelectRangeForm::TSelectRangeForm(TComponent* Owner) : TForm(Owner) {
    Published("SelectRangePanel", SelectRangePanel);
    Published("RangeShape", RangeShape);
    Handler("FormShow", &TSelectRangeForm::FormShow);
    Handler("SelectRangePanelMouseDown", &TSelectRangeForm::SelectRangePanelMouseDown);
    Handler("SelectRangePanelDragOver", &TSelectRangeForm::SelectRangePanelDragOver);
    Handler("SelectRangePanelEndDrag", &TSelectRangeForm::SelectRangePanelEndDrag);
    Handler("FormKeyDown", &TSelectRangeForm::FormKeyDown);
}

void TSelectRangeForm::FormShow(TObject*) {
    FSelectedRect = {0, 0, 0, 0};
    RangeShape->SetVisible(false);
    // The caller has just set new bounds: the panel fills them.
    SelectRangePanel->SetAlign(alClient);
}

void TSelectRangeForm::SelectRangePanelMouseDown(TObject*, TMouseButton Button, TShiftState, int X,
                                                 int Y) {
    if (Button != mbLeft) {
        return;
    }
    FDragStart = {X, Y};
    // Starts at once: the first drag-over report, at the press point, arrives before this
    // returns.
    SelectRangePanel->BeginDrag(true, 1);
}

void TSelectRangeForm::SelectRangePanelDragOver(TObject*, TObject*, int X, int Y, TDragState,
                                                bool& Accept) {
    FSelectedRect.Left = std::min(FDragStart.X, X);
    FSelectedRect.Right = std::max(FDragStart.X, X);
    FSelectedRect.Top = std::min(FDragStart.Y, Y);
    FSelectedRect.Bottom = std::max(FDragStart.Y, Y);
    if (!RangeShape->Visible()) {
        RangeShape->SetVisible(true);
    }
    RangeShape->SetLeft(FSelectedRect.Left);
    RangeShape->SetTop(FSelectedRect.Top);
    RangeShape->SetWidth(FSelectedRect.Right - FSelectedRect.Left);
    RangeShape->SetHeight(FSelectedRect.Bottom - FSelectedRect.Top);
    Accept = true;
}

void TSelectRangeForm::SelectRangePanelEndDrag(TObject*, TObject*, int, int) {
    SetModalResult(mrOk);
}

void TSelectRangeForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState) {
    if (Key == 27) {
        SetModalResult(mrCancel);
    }
}
