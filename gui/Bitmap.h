// SPDX-License-Identifier: MIT
// Off-screen bitmaps, and the picture that holds one.
#pragma once

#include "gui/Graphics.h"

#include <memory>

namespace vx {

class TBitmap {
public:
    TBitmap() = default;
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    [[nodiscard]] int Width() const { return FWidth; }
    [[nodiscard]] int Height() const { return FHeight; }
    // Changing the size makes a new, black image; setting the same size keeps the image.
    void SetWidth(int value) { SetSize(value, FHeight); }
    void SetHeight(int value) { SetSize(FWidth, value); }
    void SetSize(int width, int height);
    [[nodiscard]] bool Empty() const { return FImage == nullptr; }
    // Draws on the bitmap; its handle is null while the bitmap is empty.
    TCanvas& Canvas() { return FCanvas; }
    [[nodiscard]] backend::BitmapId Handle() const { return FImage; }
    // Copies another bitmap's size and pixels.
    void Assign(const TBitmap& other);

private:
    int FWidth = 0;
    int FHeight = 0;
    backend::BitmapId FImage = nullptr;
    TCanvas FCanvas;
};

// Holds a bitmap, or nothing.
class TPicture {
public:
    std::function<void()> OnChange;

    [[nodiscard]] bool HasBitmap() const { return FBitmap != nullptr && !FBitmap->Empty(); }
    // The bitmap, made (empty) on first use.
    TBitmap& Bitmap();
    [[nodiscard]] const TBitmap* BitmapIfAny() const { return FBitmap.get(); }
    void Assign(const TPicture& other);
    void Clear();

private:
    std::unique_ptr<TBitmap> FBitmap;
};

} // namespace vx
