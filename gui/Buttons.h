// SPDX-License-Identifier: MIT
// Stock buttons with a glyph: TSpeedButton, a graphic control that can stay down and work in
// groups, and TBitBtn, a push button that draws a bitmap beside its caption.
#pragma once

#include "gui/Bitmap.h"
#include "gui/StdCtrls.h"

#include <memory>

namespace vx {

// Where the glyph sits relative to the caption.
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TButtonLayout;

// The painting state of a speed button.
enum class TButtonState { bsUp, bsDown, bsExclusive };
using enum TButtonState;

// A button drawn on its parent. With a GroupIndex above 0 it stays down after a click and
// releases the other buttons of its group on the same parent; without AllowAllUp the last
// down button of a group cannot be released by clicking it.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;
    [[nodiscard]] const char* ClassName() const override { return "TSpeedButton"; }

    // The glyph, drawn at its own size leaving out the colour of its bottom-left pixel.
    [[nodiscard]] TBitmap& Glyph() { return *FGlyph; }
    // Copies the bitmap's content into the glyph and repaints.
    void SetGlyph(const TBitmap& value);
    [[nodiscard]] bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    [[nodiscard]] int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    // Shared by the whole group.
    [[nodiscard]] bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    [[nodiscard]] bool Down() const { return FDown; }
    // Only a grouped button can be down; setting it releases the rest of the group.
    void SetDown(bool value);
    [[nodiscard]] TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    [[nodiscard]] int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    [[nodiscard]] TButtonState State() const { return FState; }

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;
    void Loaded() override;

protected:
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;

    TButtonState FState = bsUp; // sunk while pressed (bsDown) or down (bsExclusive)

private:
    std::unique_ptr<TBitmap> FGlyph;
    bool FFlat = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FDown = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
    bool FDragging = false; // a left press on the button is in progress
    bool FMouseInControl = false;
    bool FDownStored = false; // Down as a form description gave it, applied once loaded

    // The other speed buttons of this one's group on the same parent.
    template <class F> void ForEachInGroup(F action);
    // Stores Down and the matching state, leaving the group alone.
    void SetDownQuietly(bool value);
};

// A push button with a glyph beside its caption.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;
    [[nodiscard]] const char* ClassName() const override { return "TBitBtn"; }

    [[nodiscard]] TBitmap& Glyph() { return *FGlyph; }
    // Copies the bitmap's content into the glyph and repaints.
    void SetGlyph(const TBitmap& value);
    [[nodiscard]] TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    [[nodiscard]] int Spacing() const { return FSpacing; }
    void SetSpacing(int value);

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    void PaintWindow(TCanvas& canvas) override;

private:
    std::unique_ptr<TBitmap> FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
};

} // namespace vx
