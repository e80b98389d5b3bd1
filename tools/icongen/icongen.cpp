// SPDX-License-Identifier: MIT
// Draws the application icon, a magnifying glass, and writes it as a .ico file with one
// 32 x 32 image at 32 bits per pixel (BITMAPINFOHEADER DIB with alpha, plus the AND mask).
// This program is the icon's source: the build runs it on the host to produce the .ico.
//
// Usage: icongen OUTPUT.ico
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;

struct Color {
    float r, g, b, a; // straight (not premultiplied) alpha, 0..1
};

// Premultiplied accumulator for one pixel.
struct Pixel {
    float r = 0, g = 0, b = 0, a = 0;

    void Over(Color c, float coverage) {
        const float a_src = c.a * std::clamp(coverage, 0.0f, 1.0f);
        r = c.r * a_src + r * (1 - a_src);
        g = c.g * a_src + g * (1 - a_src);
        b = c.b * a_src + b * (1 - a_src);
        a = a_src + a * (1 - a_src);
    }
};

struct Vec {
    float x, y;
};

Vec operator-(Vec p, Vec q) {
    return {p.x - q.x, p.y - q.y};
}
float Length(Vec v) {
    return std::hypot(v.x, v.y);
}
float Dot(Vec p, Vec q) {
    return p.x * q.x + p.y * q.y;
}

// Signed distances: negative inside, positive outside, in pixels.
float Circle(Vec p, Vec centre, float radius) {
    return Length(p - centre) - radius;
}

float Ring(Vec p, Vec centre, float radius, float width) {
    return std::fabs(Length(p - centre) - radius) - width / 2;
}

float Capsule(Vec p, Vec a, Vec b, float radius) {
    const Vec ab = b - a;
    const float t = std::clamp(Dot(p - a, ab) / Dot(ab, ab), 0.0f, 1.0f);
    const Vec nearest{a.x + ab.x * t, a.y + ab.y * t};
    return Length(p - nearest) - radius;
}

// A stroke along a circular arc from angle `from` to `to` (radians, y pointing down), round ends.
float Arc(Vec p, Vec centre, float radius, float from, float to, float width) {
    const Vec d = p - centre;
    const float angle = std::atan2(d.y, d.x);
    if (angle >= from && angle <= to) {
        return std::fabs(Length(d) - radius) - width / 2;
    }
    const Vec e0{centre.x + radius * std::cos(from), centre.y + radius * std::sin(from)};
    const Vec e1{centre.x + radius * std::cos(to), centre.y + radius * std::sin(to)};
    return std::min(Length(p - e0), Length(p - e1)) - width / 2;
}

// Area coverage of a pixel by a shape, from the signed distance at the pixel's centre: a one
// pixel wide ramp across the edge, which is what gives the antialiasing.
float Coverage(float distance) {
    return std::clamp(0.5f - distance, 0.0f, 1.0f);
}

Color Mix(Color c0, Color c1, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {c0.r + (c1.r - c0.r) * t, c0.g + (c1.g - c0.g) * t, c0.b + (c1.b - c0.b) * t,
            c0.a + (c1.a - c0.a) * t};
}

constexpr Color Rgb(int r, int g, int b, float a = 1.0f) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

using Image = std::array<Pixel, std::size_t{kSize} * kSize>; // row 0 is the top row

Image Draw() {
    const Vec lens{13.0f, 13.0f};
    const float lens_radius = 9.0f;
    const float rim_width = 3.0f;
    const Vec handle_start{24.0f, 24.0f};
    const Vec handle_end{28.0f, 28.0f};
    constexpr float pi = std::numbers::pi_v<float>;

    Image image{};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const Vec p{x + 0.5f, y + 0.5f};
            // Gradients run from the top-left (lit) to the bottom-right (shaded).
            const float shade = std::clamp((p.x + p.y) / (2.0f * kSize), 0.0f, 1.0f);
            Pixel& px = image[y * kSize + x];

            // Tinted glass.
            px.Over(Mix(Rgb(200, 236, 255, 0.70f), Rgb(90, 170, 230, 0.70f), shade),
                    Coverage(Circle(p, lens, lens_radius)));
            // Reflection on the glass.
            px.Over(Rgb(255, 255, 255, 0.85f),
                    Coverage(Arc(p, lens, lens_radius - 3.3f, -0.95f * pi, -0.58f * pi, 1.6f)));

            // Handle: a metal neck next to the rim, then the grip.
            px.Over(Rgb(120, 128, 138), Coverage(Capsule(p, {19.0f, 19.0f}, {23.0f, 23.0f}, 1.9f)));
            px.Over(Mix(Rgb(150, 84, 40), Rgb(84, 42, 16), shade),
                    Coverage(Capsule(p, handle_start, handle_end, 2.7f)));

            // Rim last, so it covers the neck's end and the glass edge.
            px.Over(Mix(Rgb(96, 110, 128), Rgb(36, 46, 60), shade),
                    Coverage(Ring(p, lens, lens_radius, rim_width)));
        }
    }
    return image;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::uint8_t ToByte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

std::vector<std::uint8_t> EncodeIco(const Image& image) {
    constexpr std::uint32_t kHeaderSize = 40;
    constexpr std::uint32_t kColorBytes = kSize * kSize * 4;
    constexpr std::uint32_t kMaskStride = ((kSize + 31) / 32) * 4; // rows padded to 32 bits
    constexpr std::uint32_t kMaskBytes = kMaskStride * kSize;
    constexpr std::uint32_t kImageBytes = kHeaderSize + kColorBytes + kMaskBytes;
    constexpr std::uint32_t kDirBytes = 6 + 16;

    std::vector<std::uint8_t> out;
    // ICONDIR
    Put16(out, 0); // reserved
    Put16(out, 1); // icon
    Put16(out, 1); // one image
    // ICONDIRENTRY
    out.push_back(kSize); // width
    out.push_back(kSize); // height
    out.push_back(0);     // colours in palette: none
    out.push_back(0);     // reserved
    Put16(out, 1);        // planes
    Put16(out, 32);       // bits per pixel
    Put32(out, kImageBytes);
    Put32(out, kDirBytes);
    // BITMAPINFOHEADER; the height counts the colour image and the mask together.
    Put32(out, kHeaderSize);
    Put32(out, kSize);
    Put32(out, 2 * kSize);
    Put16(out, 1);  // planes
    Put16(out, 32); // bits per pixel
    Put32(out, 0);  // BI_RGB
    Put32(out, kColorBytes + kMaskBytes);
    Put32(out, 0); // horizontal resolution
    Put32(out, 0); // vertical resolution
    Put32(out, 0); // colours used
    Put32(out, 0); // important colours

    // DIB rows are stored bottom-up; pixels are BGRA with straight alpha.
    std::vector<std::uint8_t> mask(kMaskBytes, 0);
    for (int row = kSize - 1; row >= 0; --row) {
        for (int x = 0; x < kSize; ++x) {
            const Pixel& px = image[row * kSize + x];
            const float a = px.a;
            const auto unpremultiply = [a](float c) { return a > 0 ? c / a : 0.0f; };
            out.push_back(ToByte(unpremultiply(px.b)));
            out.push_back(ToByte(unpremultiply(px.g)));
            out.push_back(ToByte(unpremultiply(px.r)));
            out.push_back(ToByte(a));
            // The mask is for readers that ignore alpha: mostly transparent pixels are masked.
            if (ToByte(a) < 128) {
                const int mask_row = kSize - 1 - row;
                mask[mask_row * kMaskStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen OUTPUT.ico\n");
        return 2;
    }
    const std::vector<std::uint8_t> ico = EncodeIco(Draw());
    const std::string path = argv[1];
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "icongen: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
