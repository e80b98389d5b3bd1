// SPDX-License-Identifier: MIT
#include "app/Nsmultidisplay.h"

#include <cstddef>

wapi::BOOL nsMultiDisplay::EnumProc(wapi::HMONITOR, wapi::HDC, wapi::RECT* rect,
                                    wapi::LPARAM data) {
    auto* self = reinterpret_cast<nsMultiDisplay*>(data);
    self->FMonitors.push_back({rect->left, rect->top, rect->right, rect->bottom});
    return wapi::TRUE;
}

bool nsMultiDisplay::Refresh() {
    FMonitors.clear();
    FCount = wapi::GetSystemMetrics(wapi::SM_CMONITORS);
    wapi::EnumDisplayMonitors(nullptr, nullptr, EnumProc, reinterpret_cast<wapi::LPARAM>(this));
    return true;
}

bool nsMultiDisplay::GetMonitorRect(int32_t index, vx::TRect& rect) const {
    if (index < 0 || std::size_t(index) >= FMonitors.size()) {
        rect = {};
        return false;
    }
    rect = FMonitors[std::size_t(index)];
    return true;
}
