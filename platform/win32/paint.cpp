// SPDX-License-Identifier: MIT
// Painting primitives on GDI.
#include "platform/win32/win.h"

namespace vx::backend {

using namespace vx::win32;

namespace {

RECT R(TRect r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

void Fill(::HDC dc, TRect r, COLORREF color) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) {
        return;
    }
    const RECT rect = R(r);
    const COLORREF old = SetDCBrushColor(dc, color);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
}

UINT Format(uint32_t flags) {
    UINT dt = 0;
    dt |= (flags & TextCenter) != 0 ? DT_CENTER : 0;
    dt |= (flags & TextRight) != 0 ? DT_RIGHT : 0;
    dt |= (flags & TextVCenter) != 0 ? DT_VCENTER : 0;
    dt |= (flags & TextBottom) != 0 ? DT_BOTTOM : 0;
    dt |= (flags & TextWordBreak) != 0 ? DT_WORDBREAK : 0;
    dt |= (flags & TextSingleLine) != 0 ? DT_SINGLELINE : 0;
    dt |= (flags & TextNoPrefix) != 0 ? DT_NOPREFIX : 0;
    return dt;
}

} // namespace

TColor ResolveColor(TColor color) {
    if ((color & 0xFF000000) == 0xFF000000) {
        return GetSysColor(int(color & 0xFF));
    }
    return color & 0x00FFFFFF;
}

void FillRect(wapi::HDC dc, TRect rect, TColor color) {
    Fill(D(dc), rect, ResolveColor(color));
}

void DrawRectangle(wapi::HDC dc, TRect r, TColor pen, int penWidth, std::optional<TColor> fill) {
    ::HDC h = D(dc);
    if (fill) {
        Fill(h, r, ResolveColor(*fill));
    }
    // The outline lies inside the rectangle, as wide as the pen.
    const int w = penWidth < 1 ? 1 : penWidth;
    const COLORREF c = ResolveColor(pen);
    Fill(h, {r.Left, r.Top, r.Right, std::min(r.Top + w, r.Bottom)}, c);
    Fill(h, {r.Left, std::max(r.Bottom - w, r.Top), r.Right, r.Bottom}, c);
    Fill(h, {r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom}, c);
    Fill(h, {std::max(r.Right - w, r.Left), r.Top, r.Right, r.Bottom}, c);
}

void DrawText(wapi::HDC dc, const std::u16string& text, TRect rect, const FontDesc& font,
              uint32_t flags) {
    ::HDC h = D(dc);
    HGDIOBJ old = SelectObject(h, FontFor(font));
    SetTextColor(h, ResolveColor(font.Color));
    SetBkMode(h, TRANSPARENT);
    RECT r = R(rect);
    DrawTextW(h, Wide(text), int(text.size()), &r, Format(flags));
    SelectObject(h, old);
}

TPoint MeasureText(wapi::HDC dc, const std::u16string& text, const FontDesc& font) {
    ::HDC h = dc != nullptr ? D(dc) : GetDC(nullptr);
    HGDIOBJ old = SelectObject(h, FontFor(font));
    SIZE size{};
    GetTextExtentPoint32W(h, Wide(text), int(text.size()), &size);
    SelectObject(h, old);
    if (dc == nullptr) {
        ReleaseDC(nullptr, h);
    }
    return {size.cx, size.cy};
}

void DrawFrame3D(wapi::HDC dc, TRect r, TColor topLeft, TColor bottomRight, int width) {
    ::HDC h = D(dc);
    const COLORREF top = ResolveColor(topLeft);
    const COLORREF bottom = ResolveColor(bottomRight);
    for (int i = 0; i < width && r.Right > r.Left && r.Bottom > r.Top; ++i) {
        const int32_t right = r.Right - 1;
        const int32_t down = r.Bottom - 1;
        Fill(h, {r.Left, r.Top, r.Left + 1, down}, top);
        Fill(h, {r.Left, r.Top, right, r.Top + 1}, top);
        Fill(h, {right, r.Top, right + 1, down + 1}, bottom);
        Fill(h, {r.Left, down, right + 1, down + 1}, bottom);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

void DrawFocusRect(wapi::HDC dc, TRect rect) {
    const RECT r = R(rect);
    ::DrawFocusRect(D(dc), &r);
}

TColor GetPixel(wapi::HDC dc, TPoint at) {
    return ::GetPixel(D(dc), at.X, at.Y);
}

void DrawIconResource(wapi::HDC dc, const char* name, TPoint at) {
    const std::wstring wide(name, name + strlen(name));
    auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), wide.c_str(), IMAGE_ICON,
                                              32, 32, LR_DEFAULTCOLOR | LR_SHARED));
    if (icon != nullptr) {
        DrawIconEx(D(dc), at.X, at.Y, icon, 32, 32, 0, nullptr, DI_NORMAL);
    }
}

} // namespace vx::backend
