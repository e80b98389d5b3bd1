// SPDX-License-Identifier: MIT
#include "app/MainFrm.h"

#include "app/Nsmultidisplay.h"
#include "app/SelectRangeFrm.h"
#include "app/VersionFrm.h"

#include <algorithm>

TMainForm* MainForm = nullptr;

using namespace vx;

namespace {

// Extents are passed on unclamped; differences wrap instead of overflowing.
int32_t Diff(int32_t a, int64_t b) {
    return static_cast<int32_t>(int64_t(a) - b);
}
int32_t Sum(int64_t a, int64_t b, int64_t c) {
    return static_cast<int32_t>(a + b + c);
}

} // namespace

TMainForm::TMainForm(TComponent* Owner) : TForm(Owner) {
    Published("DrawTimer", DrawTimer);
    Published("PopupMenu", PopupMenu);
    Published("SelectRangeMenu", SelectRangeMenu);
    Published("N2", N2);
    Published("VersionMenu", VersionMenu);
    Published("MessageLabel", MessageLabel);
    Handler("FormCreate", &TMainForm::FormCreate);
    Handler("FormShow", &TMainForm::FormShow);
    Handler("DrawTimerTimer", &TMainForm::DrawTimerTimer);
    Handler("FormDblClick", &TMainForm::FormDblClick);
    Handler("FormCloseQuery", &TMainForm::FormCloseQuery);
    Handler("SelectRangeMenuClick", &TMainForm::SelectRangeMenuClick);
    Handler("VersionMenuClick", &TMainForm::VersionMenuClick);
}

void TMainForm::FormCreate(TObject*) {
    FRangeRect = {0, 0, 100, 100};
    FDesktopWnd = wapi::GetDesktopWindow();
    FDesktopDC = wapi::GetDC(FDesktopWnd);
}

void TMainForm::FormShow(TObject*) {
    FDrawEnabled = true;
}

TPoint TMainForm::GetOverlayOrigin() const {
    return SelectRangeForm->ClientToScreen({0, 0});
}

void TMainForm::DrawTimerTimer(TObject*) {
    DrawTimer->SetEnabled(false);
    if (!FDrawEnabled) {
        return;
    }
    const TPoint O = GetOverlayOrigin();
    const TRect D = ClientRect();
    const wapi::HDC dc = Canvas().Handle();
    wapi::SetStretchBltMode(dc, wapi::HALFTONE);
    wapi::StretchBlt(dc, D.Left, D.Top, Diff(D.Right, D.Left), Diff(D.Bottom, D.Top), FDesktopDC,
                     Sum(O.X, FRangeRect.Left, 2), Sum(O.Y, FRangeRect.Top, 2),
                     Diff(FRangeRect.Right, int64_t(FRangeRect.Left) + 4),
                     Diff(FRangeRect.Bottom, int64_t(FRangeRect.Top) + 4), wapi::SRCCOPY);
    // Re-armed only now, so the next copy comes a whole interval after this one ended.
    DrawTimer->SetEnabled(true);
}

void TMainForm::FormDblClick(TObject*) {}

void TMainForm::FormCloseQuery(TObject*, bool&) {
    FDrawEnabled = false;
    wapi::Sleep(100);
    DrawTimer->SetEnabled(false);
}

void TMainForm::SelectRangeMenuClick(TObject*) {
    nsMultiDisplay M;
    MessageLabel->SetVisible(false);
    M.Refresh();
    TRect U{0, 0, 0, 0};
    for (int32_t i = 0; i < M.GetCount(); ++i) {
        TRect r;
        M.GetMonitorRect(i, r);
        U.Left = std::min(U.Left, r.Left);
        U.Top = std::min(U.Top, r.Top);
        U.Right = std::max(U.Right, r.Right);
        U.Bottom = std::max(U.Bottom, r.Bottom);
    }
    SelectRangeForm->SetLeft(U.Left);
    SelectRangeForm->SetTop(U.Top);
    SelectRangeForm->SetWidth(Diff(U.Right, U.Left));
    SelectRangeForm->SetHeight(Diff(U.Bottom, U.Top));
    const TModalResult result = SelectRangeForm->ShowModal();
    if (result == mrOk) {
        FRangeRect = SelectRangeForm->FSelectedRect;
    }
    DrawTimer->SetEnabled(true);
}

void TMainForm::VersionMenuClick(TObject*) {
    const bool wasEnabled = DrawTimer->Enabled();
    DrawTimer->SetEnabled(false);
    MainForm->SetVisible(false);
    VersionForm->ShowModal();
    MainForm->SetVisible(true);
    DrawTimer->SetEnabled(wasEnabled);
}
