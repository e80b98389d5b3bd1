// SPDX-License-Identifier: MIT
// A worker that copies the magnifier's range into an off-screen bitmap at a bounded rate and
// tells the magnifier window after each copy. Nothing in the magnifier starts one.
#pragma once

#include "app/MainFrm.h"
#include "gui/Bitmap.h"
#include "gui/Thread.h"
#include "platform/api.h"

#include <cstdint>
#include <memory>

class DrawCtrlTh : public vx::TThread {
public:
    // Created suspended: Start begins the loop. `form` must outlive the thread and `source` is a
    // device context in screen coordinates (the desktop's); the thread releases neither.
    DrawCtrlTh(TMainForm* form, wapi::HDC source, uint32_t interval, bool enabled);
    // Ends the loop (after the turn under way) before the bitmap goes.
    ~DrawCtrlTh() override;

    // The off-screen image; the main thread may look at it only while the worker waits for it
    // (inside DrawCaptured) or after the loop has ended.
    [[nodiscard]] vx::TBitmap& Bitmap() { return *FBitmap; }

protected:
    void Execute() override;

private:
    bool FEnabled = false;
    uint32_t FLastTick = 0;
    uint32_t FNowTick = 0;
    uint32_t FElapsed = 0;
    uint32_t FInterval = 0;
    wapi::HDC FSourceDC = nullptr;
    TMainForm* FForm = nullptr;
    vx::TRect FRect{};
    vx::TPoint FOrigin{};
    std::unique_ptr<vx::TBitmap> FBitmap;

    // On the main thread, through Synchronize.
    void CopyRangeRect();
    void FetchOrigin();
    void NotifyCaptured();
    // On the worker.
    void Capture();
};
