// SPDX-License-Identifier: MIT
// Geometry and colour types shared by every layer.
#pragma once

#include <cstdint>

namespace vx {

// Right and bottom are exclusive, as on the desktop.
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    [[nodiscard]] int32_t Width() const { return Right - Left; }
    [[nodiscard]] int32_t Height() const { return Bottom - Top; }
    [[nodiscard]] bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + width, top + height};
}

// 0x00BBGGRR for a plain colour; 0xFF0000nn names system colour nn.
using TColor = uint32_t;

} // namespace vx
