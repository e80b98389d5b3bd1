// SPDX-License-Identifier: MIT
// A snapshot of the display monitors' rectangles, in virtual-screen pixels.
#pragma once

#include "platform/api.h"
#include "platform/types.h"

#include <cstdint>
#include <vector>

class nsMultiDisplay {
public:
    nsMultiDisplay() = default;
    virtual ~nsMultiDisplay() = default;

    // Takes a new snapshot: the monitor count from the system metric, then the rectangles
    // in the order the system enumerates them.
    bool Refresh();
    // The system metric's monitor count at the last Refresh.
    [[nodiscard]] int32_t GetCount() const { return FCount; }
    // The rectangle of monitor `index`. The count and the enumeration are two queries and can
    // disagree while a monitor is being attached or removed: an index with no stored rectangle
    // gives the empty rectangle (0, 0, 0, 0), which adds nothing to a union of monitors that
    // starts at the origin, and returns false.
    bool GetMonitorRect(int32_t index, vx::TRect& rect) const;

private:
    static wapi::BOOL EnumProc(wapi::HMONITOR monitor, wapi::HDC dc, wapi::RECT* rect,
                               wapi::LPARAM data);

    int32_t FCount = 0;
    std::vector<vx::TRect> FMonitors;
};
