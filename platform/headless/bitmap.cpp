// SPDX-License-Identifier: MIT
// Off-screen bitmaps of the in-memory machine.
#include "platform/headless/state.h"

namespace vx::backend {

using namespace vx::headless;
using namespace vx::headless::detail;

struct BitmapTag {
    Image Pixels;
    Dc Context;
};

BitmapId CreateBitmap(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    auto* b = new BitmapTag{Image(width, height, 0), {}};
    b->Context.Target = &b->Pixels;
    Log("CreateBitmap", {width, height});
    return b;
}

void DestroyBitmap(BitmapId bitmap) {
    delete bitmap;
}

wapi::HDC BitmapDc(BitmapId bitmap) {
    return bitmap != nullptr ? reinterpret_cast<wapi::HDC>(&bitmap->Context) : nullptr;
}

void DrawBitmap(wapi::HDC dc, BitmapId bitmap, TPoint at, int width, int height,
                std::optional<TColor> transparent) {
    auto* d = reinterpret_cast<Dc*>(dc);
    Log("DrawBitmap", {at.X, at.Y, width, height, transparent ? int64_t(*transparent) : -1,
                       int64_t(reinterpret_cast<uintptr_t>(d != nullptr ? d->Window : nullptr))});
    if (d == nullptr || bitmap == nullptr) {
        return;
    }
    const Image& src = bitmap->Pixels;
    const bool keyed = transparent.has_value();
    const TColor c = transparent.value_or(0);
    const uint32_t key = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    for (int y = 0; y < height && y < src.Height; ++y) {
        for (int x = 0; x < width && x < src.Width; ++x) {
            const uint32_t p = src.At(x, y);
            const int32_t dx = at.X + x - d->Origin.X;
            const int32_t dy = at.Y + y - d->Origin.Y;
            if ((keyed && p == key) || dx < 0 || dy < 0 || dx >= d->Target->Width ||
                dy >= d->Target->Height) {
                continue;
            }
            d->Target->At(dx, dy) = p;
        }
    }
}

} // namespace vx::backend
