// SPDX-License-Identifier: MIT
#include "platform/headless/stretch.h"

#include <algorithm>
#include <cmath>

namespace vx::headless {
namespace {

// One axis of a stretch, normalised to positive extents.
struct Axis {
    int64_t DestStart;   // first destination pixel of the whole extent
    int64_t DestExtent;  // > 0
    int64_t SourceStart; // first source pixel of the whole extent
    int64_t SourceExtent;
    bool Mirror;
};

Axis Normalise(int32_t destPos, int32_t destExtent, int32_t sourcePos, int32_t sourceExtent) {
    Axis a{destPos, destExtent, sourcePos, sourceExtent, (destExtent < 0) != (sourceExtent < 0)};
    if (a.DestExtent < 0) {
        a.DestStart += a.DestExtent;
        a.DestExtent = -a.DestExtent;
    }
    if (a.SourceExtent < 0) {
        a.SourceStart += a.SourceExtent;
        a.SourceExtent = -a.SourceExtent;
    }
    return a;
}

struct Tap {
    int32_t Index; // source pixel within the image
    float Weight;
};

// For every visible destination pixel of one axis, the source pixels it covers and how much
// of each. Pixels outside the source image add nothing but still count in the total area,
// so they read as black.
struct AxisTaps {
    int32_t First = 0; // first visible destination pixel (image coordinates)
    int32_t Count = 0;
    std::vector<uint32_t> Offsets; // Count + 1 entries into Taps
    std::vector<Tap> Taps;
};

AxisTaps BuildTaps(const Axis& a, int32_t destLimit, int32_t sourceLimit) {
    AxisTaps t;
    const int64_t first = std::max<int64_t>(a.DestStart, 0);
    const int64_t last = std::min<int64_t>(a.DestStart + a.DestExtent, destLimit);
    if (first >= last) {
        return t;
    }
    t.First = int32_t(first);
    t.Count = int32_t(last - first);
    t.Offsets.reserve(size_t(t.Count) + 1);
    const double scale = double(a.SourceExtent) / double(a.DestExtent);
    for (int64_t d = first; d < last; ++d) {
        int64_t i = d - a.DestStart;
        if (a.Mirror) {
            i = a.DestExtent - 1 - i;
        }
        const double s0 = double(i) * scale;
        const double s1 = double(i + 1) * scale;
        t.Offsets.push_back(uint32_t(t.Taps.size()));
        const int64_t lo = std::max<int64_t>(int64_t(std::floor(s0)) + a.SourceStart, 0);
        const int64_t hi =
            std::min<int64_t>(int64_t(std::ceil(s1)) + a.SourceStart, int64_t(sourceLimit));
        for (int64_t p = lo; p < hi; ++p) {
            const double rel = double(p - a.SourceStart);
            const double cover = std::min(rel + 1.0, s1) - std::max(rel, s0);
            if (cover > 0) {
                t.Taps.push_back({int32_t(p), float(cover / scale)});
            }
        }
    }
    t.Offsets.push_back(uint32_t(t.Taps.size()));
    return t;
}

uint32_t Pack(float r, float g, float b) {
    auto channel = [](float v) { return uint32_t(std::clamp(std::lround(v), 0L, 255L)); };
    return channel(r) << 16 | channel(g) << 8 | channel(b);
}

bool Empty(const StretchArgs& a) {
    return a.DestWidth == 0 || a.DestHeight == 0 || a.SourceWidth == 0 || a.SourceHeight == 0;
}

} // namespace

Image::Image(int32_t width, int32_t height, uint32_t fill)
    : Width(std::max(width, 0)), Height(std::max(height, 0)),
      Pixels(size_t(Width) * size_t(Height), fill) {}

void StretchAveraging(const Image& source, Image& dest, const StretchArgs& args) {
    if (Empty(args)) {
        return;
    }
    const AxisTaps xs =
        BuildTaps(Normalise(args.DestX, args.DestWidth, args.SourceX, args.SourceWidth), dest.Width,
                  source.Width);
    const AxisTaps ys =
        BuildTaps(Normalise(args.DestY, args.DestHeight, args.SourceY, args.SourceHeight),
                  dest.Height, source.Height);
    if (xs.Count == 0 || ys.Count == 0) {
        return;
    }
    // Horizontal pass over the source rows that some destination row needs.
    int32_t rowLo = source.Height;
    int32_t rowHi = 0;
    for (const Tap& tap : ys.Taps) {
        rowLo = std::min(rowLo, tap.Index);
        rowHi = std::max(rowHi, tap.Index + 1);
    }
    const size_t stride = size_t(xs.Count) * 3;
    std::vector<float> rows(rowHi > rowLo ? size_t(rowHi - rowLo) * stride : 0);
    for (int32_t y = rowLo; y < rowHi; ++y) {
        float* out = &rows[size_t(y - rowLo) * stride];
        const uint32_t* in = &source.Pixels[size_t(y) * source.Width];
        for (int32_t x = 0; x < xs.Count; ++x) {
            float r = 0, g = 0, b = 0;
            for (uint32_t k = xs.Offsets[x]; k < xs.Offsets[x + 1]; ++k) {
                const uint32_t p = in[xs.Taps[k].Index];
                const float w = xs.Taps[k].Weight;
                r += w * float(p >> 16 & 0xFF);
                g += w * float(p >> 8 & 0xFF);
                b += w * float(p & 0xFF);
            }
            float* rgb = out + size_t(x) * 3;
            rgb[0] = r;
            rgb[1] = g;
            rgb[2] = b;
        }
    }
    // Vertical pass into the destination.
    std::vector<float> acc(stride);
    for (int32_t y = 0; y < ys.Count; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        for (uint32_t k = ys.Offsets[y]; k < ys.Offsets[y + 1]; ++k) {
            const float* in = &rows[size_t(ys.Taps[k].Index - rowLo) * stride];
            const float w = ys.Taps[k].Weight;
            for (size_t i = 0; i < stride; ++i) {
                acc[i] += w * in[i];
            }
        }
        uint32_t* out = &dest.Pixels[size_t(ys.First + y) * dest.Width + xs.First];
        for (int32_t x = 0; x < xs.Count; ++x) {
            const float* rgb = &acc[size_t(x) * 3];
            out[x] = Pack(rgb[0], rgb[1], rgb[2]);
        }
    }
}

void StretchNearest(const Image& source, Image& dest, const StretchArgs& args) {
    if (Empty(args)) {
        return;
    }
    const Axis ax = Normalise(args.DestX, args.DestWidth, args.SourceX, args.SourceWidth);
    const Axis ay = Normalise(args.DestY, args.DestHeight, args.SourceY, args.SourceHeight);
    auto pick = [](const Axis& a, int64_t d) {
        int64_t i = d - a.DestStart;
        if (a.Mirror) {
            i = a.DestExtent - 1 - i;
        }
        return a.SourceStart + (2 * i + 1) * a.SourceExtent / (2 * a.DestExtent);
    };
    const int64_t x0 = std::max<int64_t>(ax.DestStart, 0);
    const int64_t x1 = std::min<int64_t>(ax.DestStart + ax.DestExtent, dest.Width);
    const int64_t y0 = std::max<int64_t>(ay.DestStart, 0);
    const int64_t y1 = std::min<int64_t>(ay.DestStart + ay.DestExtent, dest.Height);
    for (int64_t y = y0; y < y1; ++y) {
        const int64_t sy = pick(ay, y);
        for (int64_t x = x0; x < x1; ++x) {
            const int64_t sx = pick(ax, x);
            const bool inside = sx >= 0 && sy >= 0 && sx < source.Width && sy < source.Height;
            dest.At(int32_t(x), int32_t(y)) = inside ? source.At(int32_t(sx), int32_t(sy)) : 0;
        }
    }
}

} // namespace vx::headless
