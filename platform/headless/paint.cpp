// SPDX-License-Identifier: MIT
// Painting primitives on in-memory surfaces. Text is not rasterised: it is logged, so tests
// can check what was drawn where.
#include "platform/headless/state.h"

#include <algorithm>

namespace vx::backend {

using namespace vx::headless;
using namespace vx::headless::detail;

namespace {

Dc* AsDc(wapi::HDC dc) {
    return reinterpret_cast<Dc*>(dc);
}

void Fill(Dc& dc, TRect r, uint32_t pixel) {
    Image& img = *dc.Target;
    const int32_t l = std::max(r.Left - dc.Origin.X, 0);
    const int32_t t = std::max(r.Top - dc.Origin.Y, 0);
    const int32_t rr = std::min(r.Right - dc.Origin.X, img.Width);
    const int32_t b = std::min(r.Bottom - dc.Origin.Y, img.Height);
    for (int32_t y = t; y < b; ++y) {
        std::fill_n(&img.At(0, y) + l, std::max(rr - l, 0), pixel);
    }
}

// Surfaces hold 0x00RRGGBB; colours are 0x00BBGGRR.
uint32_t ToPixel(TColor color) {
    const TColor c = ResolveColor(color);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

} // namespace

int64_t WindowOf(const Dc* d) {
    return int64_t(reinterpret_cast<uintptr_t>(d != nullptr ? d->Window : nullptr));
}

void FillRect(wapi::HDC dc, TRect rect, TColor color) {
    Dc* d = AsDc(dc);
    Log("FillRect", {rect.Left, rect.Top, rect.Right, rect.Bottom, int64_t(color), WindowOf(d)});
    if (d != nullptr) {
        Fill(*d, rect, ToPixel(color));
    }
}

void DrawFrame3D(wapi::HDC dc, TRect r, TColor topLeft, TColor bottomRight, int width) {
    Dc* d = AsDc(dc);
    Log("Frame3D", {r.Left, r.Top, r.Right, r.Bottom, int64_t(topLeft), int64_t(bottomRight), width,
                    WindowOf(d)});
    if (d == nullptr) {
        return;
    }
    const uint32_t top = ToPixel(topLeft);
    const uint32_t bottom = ToPixel(bottomRight);
    for (int i = 0; i < width && r.Right - r.Left > 0 && r.Bottom - r.Top > 0; ++i) {
        const int32_t right = r.Right - 1;
        const int32_t down = r.Bottom - 1;
        Fill(*d, {r.Left, r.Top, r.Left + 1, down}, top); // left column, not the last pixel
        Fill(*d, {r.Left, r.Top, right, r.Top + 1}, top); // top row, not the last pixel
        Fill(*d, {right, r.Top, right + 1, down + 1}, bottom);
        Fill(*d, {r.Left, down, right + 1, down + 1}, bottom);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

void DrawFocusRect(wapi::HDC dc, TRect r) {
    Log("FocusRect", {r.Left, r.Top, r.Right, r.Bottom, WindowOf(AsDc(dc))});
}

TColor GetPixel(wapi::HDC dc, TPoint at) {
    const Dc* d = AsDc(dc);
    if (d == nullptr) {
        return 0;
    }
    const int32_t x = at.X - d->Origin.X;
    const int32_t y = at.Y - d->Origin.Y;
    if (x < 0 || y < 0 || x >= d->Target->Width || y >= d->Target->Height) {
        return 0xFFFFFFFF;
    }
    const uint32_t p = d->Target->At(x, y);
    return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
}

void DrawRectangle(wapi::HDC dc, TRect r, TColor pen, int penWidth, std::optional<TColor> fill) {
    Dc* d = AsDc(dc);
    if (d == nullptr) {
        return;
    }
    if (fill) {
        Fill(*d, r, ToPixel(*fill));
    }
    const int32_t w = std::max(penWidth, 1);
    const uint32_t p = ToPixel(pen);
    Fill(*d, {r.Left, r.Top, r.Right, std::min(r.Top + w, r.Bottom)}, p);
    Fill(*d, {r.Left, std::max(r.Bottom - w, r.Top), r.Right, r.Bottom}, p);
    Fill(*d, {r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom}, p);
    Fill(*d, {std::max(r.Right - w, r.Left), r.Top, r.Right, r.Bottom}, p);
}

void DrawText(wapi::HDC dc, const std::u16string& text, TRect rect, const FontDesc& font,
              uint32_t flags) {
    Dc* d = AsDc(dc);
    Log("DrawText",
        {rect.Left, rect.Top, rect.Right, rect.Bottom, font.Height, font.Bold, font.Underline,
         int64_t(ResolveColor(font.Color)), int64_t(flags),
         int64_t(reinterpret_cast<uintptr_t>(d != nullptr ? d->Window : nullptr))},
        {text, font.Name});
}

TPoint MeasureText(wapi::HDC, const std::u16string& text, const FontDesc& font) {
    // A fixed advance keeps layouts predictable in tests.
    const int32_t h = font.Height < 0 ? -font.Height : std::max(font.Height, 1);
    return {int32_t(text.size()) * ((h * 6 + 5) / 10), h + h / 4};
}

void DrawIconResource(wapi::HDC dc, const char* name, TPoint at) {
    Dc* d = AsDc(dc);
    Log("DrawIcon",
        {at.X, at.Y, int64_t(reinterpret_cast<uintptr_t>(d != nullptr ? d->Window : nullptr))},
        {std::u16string(name, name + std::char_traits<char>::length(name))});
}

TColor ResolveColor(TColor color) {
    if ((color & 0xFF000000) == 0) {
        return color;
    }
    // A fixed, classic palette for the system colours that the program uses.
    switch (color & 0xFF) {
    case 5: // window
        return 0xFFFFFF;
    case 8:  // window text
    case 18: // button text
        return 0x000000;
    case 15: // button face
        return 0xF0F0F0;
    case 16: // button shadow
        return 0xA0A0A0;
    case 20: // button highlight
        return 0xFFFFFF;
    case 21: // 3-D dark shadow
        return 0x696969;
    case 22: // 3-D light
        return 0xE3E3E3;
    case 17: // grey text
        return 0x6D6D6D;
    case 13: // highlight
        return 0xD77800;
    case 14: // highlight text
        return 0xFFFFFF;
    default:
        return 0xC0C0C0;
    }
}

} // namespace vx::backend
