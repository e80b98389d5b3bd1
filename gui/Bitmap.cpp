// SPDX-License-Identifier: MIT
#include "gui/Bitmap.h"

namespace vx {

TBitmap::~TBitmap() {
    backend::DestroyBitmap(FImage);
}

void TBitmap::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight) {
        return;
    }
    backend::DestroyBitmap(FImage);
    FWidth = width;
    FHeight = height;
    FImage = backend::CreateBitmap(width, height); // none for a size of zero or less
    FCanvas.SetHandle(backend::BitmapDc(FImage));
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this) {
        return;
    }
    SetSize(other.FWidth, other.FHeight);
    if (FImage != nullptr && other.FImage != nullptr) {
        backend::DrawBitmap(backend::BitmapDc(FImage), other.FImage, {0, 0}, FWidth, FHeight,
                            std::nullopt);
    }
}

TBitmap& TPicture::Bitmap() {
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
    }
    return *FBitmap;
}

void TPicture::Assign(const TPicture& other) {
    if (&other == this) {
        return;
    }
    if (other.FBitmap) {
        Bitmap().Assign(*other.FBitmap);
    } else {
        FBitmap.reset();
    }
    if (OnChange) {
        OnChange();
    }
}

void TPicture::Clear() {
    FBitmap.reset();
    if (OnChange) {
        OnChange();
    }
}

} // namespace vx
