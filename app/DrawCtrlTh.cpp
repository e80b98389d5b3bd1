// SPDX-License-Identifier: MIT
#include "app/DrawCtrlTh.h"

#include <algorithm>
#include <limits>

namespace {

// The target extent: the range inset by 2 on both sides, never below 0.
int Extent(int32_t from, int32_t to) {
    const int64_t e = int64_t(to) - from - 4;
    return int(std::clamp<int64_t>(e, 0, std::numeric_limits<int32_t>::max()));
}

// Screen coordinates wrap as the system's own arithmetic does.
int32_t Sum(int64_t a, int64_t b, int64_t c) {
    return static_cast<int32_t>(uint32_t(uint64_t(a + b + c)));
}

} // namespace

DrawCtrlTh::DrawCtrlTh(TMainForm* form, wapi::HDC source, uint32_t interval, bool enabled)
    : FEnabled(enabled), FInterval(interval), FSourceDC(source), FForm(form),
      FBitmap(std::make_unique<vx::TBitmap>()) {}

DrawCtrlTh::~DrawCtrlTh() {
    Terminate();
    WaitFor();
}

void DrawCtrlTh::Execute() {
    FLastTick = GetTickCount();
    while (!Terminated()) {
        Synchronize(&DrawCtrlTh::CopyRangeRect);
        Synchronize(&DrawCtrlTh::FetchOrigin);
        bool passed = false;
        if (FEnabled) {
            FNowTick = GetTickCount();
            // Any other count than the last one has passed it, and the difference modulo 2^32
            // is the time gone by: so the loop carries on across the count's wrap to 0.
            passed = FNowTick != FLastTick;
            if (passed) {
                FElapsed = FNowTick - FLastTick;
                if (FInterval > FElapsed) {
                    Sleep(FInterval - FElapsed);
                } else {
                    Capture();
                    Synchronize(&DrawCtrlTh::NotifyCaptured);
                    FLastTick = GetTickCount();
                }
            }
        }
        if (!passed) {
            Sleep(50);
        }
        Sleep(1);
    }
}

void DrawCtrlTh::CopyRangeRect() {
    FRect = FForm->FRangeRect;
}

void DrawCtrlTh::FetchOrigin() {
    FOrigin = FForm->GetOverlayOrigin();
}

void DrawCtrlTh::NotifyCaptured() {
    FForm->DrawCaptured();
}

void DrawCtrlTh::Capture() {
    const int W = Extent(FRect.Left, FRect.Right);
    const int H = Extent(FRect.Top, FRect.Bottom);
    if (FBitmap->Width() != W || FBitmap->Height() != H) {
        FBitmap->SetWidth(W);
        FBitmap->SetHeight(H);
    }
    // A range of 4 pixels or less leaves an empty bitmap and nothing to copy into.
    if (FBitmap->Empty()) {
        return;
    }
    wapi::BitBlt(FBitmap->Canvas().Handle(), 0, 0, FBitmap->Width(), FBitmap->Height(), FSourceDC,
                 Sum(FOrigin.X, FRect.Left, 2), Sum(FOrigin.Y, FRect.Top, 2), wapi::SRCCOPY);
}
