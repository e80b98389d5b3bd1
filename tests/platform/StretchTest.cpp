// SPDX-License-Identifier: MIT
// The in-memory stretch must average exactly what lies under each destination pixel.
#include "platform/headless/stretch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using vx::headless::Image;
using vx::headless::StretchArgs;

namespace {

Image Noise(int w, int h, unsigned seed) {
    Image img(w, h);
    std::mt19937 rng(seed);
    for (uint32_t& p : img.Pixels) {
        p = rng() & 0xFFFFFF;
    }
    return img;
}

// Straight from the definition: for every destination pixel, integrate the source over the
// rectangle it maps to, in double precision, with pixels outside the source reading black.
Image Reference(const Image& src, Image dst, const StretchArgs& a) {
    if (a.DestWidth == 0 || a.DestHeight == 0 || a.SourceWidth == 0 || a.SourceHeight == 0) {
        return dst;
    }
    const int dw = std::abs(a.DestWidth), dh = std::abs(a.DestHeight);
    const int dx0 = a.DestWidth < 0 ? a.DestX + a.DestWidth : a.DestX;
    const int dy0 = a.DestHeight < 0 ? a.DestY + a.DestHeight : a.DestY;
    const int sw = std::abs(a.SourceWidth), sh = std::abs(a.SourceHeight);
    const int sx0 = a.SourceWidth < 0 ? a.SourceX + a.SourceWidth : a.SourceX;
    const int sy0 = a.SourceHeight < 0 ? a.SourceY + a.SourceHeight : a.SourceY;
    const bool mx = (a.DestWidth < 0) != (a.SourceWidth < 0);
    const bool my = (a.DestHeight < 0) != (a.SourceHeight < 0);
    for (int j = 0; j < dh; ++j) {
        for (int i = 0; i < dw; ++i) {
            const int x = dx0 + i, y = dy0 + j;
            if (x < 0 || y < 0 || x >= dst.Width || y >= dst.Height) {
                continue;
            }
            const int ii = mx ? dw - 1 - i : i, jj = my ? dh - 1 - j : j;
            const double u0 = double(ii) * sw / dw, u1 = double(ii + 1) * sw / dw;
            const double v0 = double(jj) * sh / dh, v1 = double(jj + 1) * sh / dh;
            double sum[3] = {0, 0, 0};
            // Only pixels inside the source add anything.
            const int64_t syLo = std::max<int64_t>(int64_t(std::floor(v0)), -int64_t(sy0));
            const int64_t syHi =
                std::min<int64_t>(int64_t(std::ceil(v1)), src.Height - int64_t(sy0));
            const int64_t sxLo = std::max<int64_t>(int64_t(std::floor(u0)), -int64_t(sx0));
            const int64_t sxHi =
                std::min<int64_t>(int64_t(std::ceil(u1)), src.Width - int64_t(sx0));
            for (int64_t sy = syLo; sy < syHi; ++sy) {
                for (int64_t sx = sxLo; sx < sxHi; ++sx) {
                    const double wx =
                        std::min<double>(double(sx) + 1, u1) - std::max<double>(double(sx), u0);
                    const double wy =
                        std::min<double>(double(sy) + 1, v1) - std::max<double>(double(sy), v0);
                    if (wx <= 0 || wy <= 0) {
                        continue;
                    }
                    const uint32_t p = src.At(int(sx0 + sx), int(sy0 + sy));
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += wx * wy * double(p >> (16 - 8 * c) & 0xFF);
                    }
                }
            }
            const double area = (u1 - u0) * (v1 - v0);
            uint32_t out = 0;
            for (int c = 0; c < 3; ++c) {
                out |= uint32_t(std::lround(sum[c] / area)) << (16 - 8 * c);
            }
            dst.At(x, y) = out;
        }
    }
    return dst;
}

int WorstChannelError(const Image& a, const Image& b) {
    int worst = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i) {
        for (int shift = 0; shift <= 16; shift += 8) {
            const int d = int(a.Pixels[i] >> shift & 0xFF) - int(b.Pixels[i] >> shift & 0xFF);
            worst = std::max(worst, std::abs(d));
        }
    }
    return worst;
}

struct Case {
    const char* Name;
    StretchArgs Args;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.Name;
}

class StretchAveraging : public ::testing::TestWithParam<Case> {};

TEST_P(StretchAveraging, MatchesTheDefinition) {
    const Image src = Noise(23, 17, 7);
    const Image before(31, 19, 0x123456);
    Image got = before;
    vx::headless::StretchAveraging(src, got, GetParam().Args);
    const Image want = Reference(src, before, GetParam().Args);
    // Float accumulation may round one unit differently from the double reference.
    EXPECT_LE(WorstChannelError(got, want), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StretchAveraging,
    ::testing::Values(Case{"Identity", {0, 0, 23, 17, 0, 0, 23, 17}},
                      Case{"ShrinkByAThird", {1, 2, 7, 5, 0, 0, 21, 15}},
                      Case{"ShrinkUneven", {0, 0, 5, 3, 3, 2, 17, 13}},
                      Case{"Enlarge", {0, 0, 31, 19, 4, 4, 9, 6}},
                      Case{"MirrorBySourceSign", {0, 0, 10, 10, 20, 0, -13, 11}},
                      Case{"MirrorByDestSign", {30, 0, -12, 9, 1, 1, 12, 9}},
                      Case{"BothNegativeCancel", {20, 15, -20, -15, 22, 16, -22, -16}},
                      Case{"SourcePartlyOutside", {0, 0, 31, 19, -5, -3, 40, 30}},
                      Case{"DestClipped", {-7, -4, 40, 25, 0, 0, 23, 17}},
                      Case{"ZeroSourceWidth", {0, 0, 10, 10, 0, 0, 0, 5}},
                      Case{"ZeroDestHeight", {0, 0, 10, 0, 0, 0, 5, 5}},
                      Case{"HugeExtents", {0, 0, 31, 19, -2000000000, 0, 2100000000, 17}}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.Name; });

TEST(StretchAveragingTest, HalvingACheckerboardGivesGrey) {
    Image board(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            board.At(x, y) = (x + y) % 2 == 0 ? 0xFFFFFF : 0x000000;
        }
    }
    Image half(4, 4);
    vx::headless::StretchAveraging(board, half, {0, 0, 4, 4, 0, 0, 8, 8});
    for (uint32_t p : half.Pixels) {
        EXPECT_EQ(p, 0x808080u); // 127.5 rounds up
    }
}

} // namespace
