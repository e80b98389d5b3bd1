// SPDX-License-Identifier: MIT
// Off-screen bitmaps on GDI: a 32-bit DIB section selected into a memory device context.
#include "platform/win32/win.h"

namespace vx::backend {

using namespace vx::win32;

struct BitmapTag {
    ::HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Previous = nullptr;
};

BitmapId CreateBitmap(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return nullptr;
    }
    auto* b = new BitmapTag;
    b->Dc = CreateCompatibleDC(nullptr);
    b->Bitmap = bitmap;
    b->Previous = SelectObject(b->Dc, bitmap);
    return b;
}

void DestroyBitmap(BitmapId bitmap) {
    if (bitmap == nullptr) {
        return;
    }
    SelectObject(bitmap->Dc, bitmap->Previous);
    DeleteObject(bitmap->Bitmap);
    DeleteDC(bitmap->Dc);
    delete bitmap;
}

wapi::HDC BitmapDc(BitmapId bitmap) {
    return bitmap != nullptr ? reinterpret_cast<wapi::HDC>(bitmap->Dc) : nullptr;
}

void DrawBitmap(wapi::HDC dc, BitmapId bitmap, TPoint at, int width, int height,
                std::optional<TColor> transparent) {
    if (bitmap == nullptr || width <= 0 || height <= 0) {
        return;
    }
    if (transparent) {
        TransparentBlt(D(dc), at.X, at.Y, width, height, bitmap->Dc, 0, 0, width, height,
                       UINT(*transparent & 0x00FFFFFF));
    } else {
        ::BitBlt(D(dc), at.X, at.Y, width, height, bitmap->Dc, 0, 0, SRCCOPY);
    }
}

} // namespace vx::backend
