// SPDX-License-Identifier: MIT
#include "gui/Buttons.h"

#include "gui/FormReader.h"

#include <algorithm>

namespace vx {
namespace {

TButtonLayout ReadLayout(TReader& reader, const FormValue& value) {
    return TButtonLayout(
        reader.Enum(value, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}));
}

// Centres the glyph and the caption in `r` as one block, the glyph on the layout's side.
void DrawGlyphAndCaption(TCanvas& c, TRect r, const TBitmap& glyph, const std::u16string& caption,
                         TButtonLayout layout, int spacing) {
    const TPoint text = caption.empty() ? TPoint{} : c.TextExtent(caption);
    const int gw = glyph.Width();
    const int gh = glyph.Height();
    const int gap = !glyph.Empty() && !caption.empty() ? spacing : 0;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    const int w = across ? gw + gap + text.X : std::max(gw, text.X);
    const int h = across ? std::max(gh, text.Y) : gh + gap + text.Y;
    const int x = r.Left + (r.Width() - w) / 2;
    const int y = r.Top + (r.Height() - h) / 2;
    TPoint g{};
    TPoint t{};
    switch (layout) {
    case blGlyphLeft:
        g = {x, y + (h - gh) / 2};
        t = {x + gw + gap, y + (h - text.Y) / 2};
        break;
    case blGlyphRight:
        t = {x, y + (h - text.Y) / 2};
        g = {x + text.X + gap, y + (h - gh) / 2};
        break;
    case blGlyphTop:
        g = {x + (w - gw) / 2, y};
        t = {x + (w - text.X) / 2, y + gh + gap};
        break;
    case blGlyphBottom:
        t = {x + (w - text.X) / 2, y};
        g = {x + (w - gw) / 2, y + text.Y + gap};
        break;
    }
    if (!glyph.Empty()) {
        c.DrawTransparent(g.X, g.Y, glyph);
    }
    if (!caption.empty()) {
        c.TextRect({t.X, t.Y, t.X + text.X, t.Y + text.Y}, caption, backend::TextSingleLine);
    }
}

} // namespace

// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FWidth = 23;
    FHeight = 22;
}

TSpeedButton::~TSpeedButton() = default;

template <class F> void TSpeedButton::ForEachInGroup(F action) {
    if (FParent == nullptr || FGroupIndex == 0) {
        return;
    }
    for (int i = 0; i < FParent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
        if (other != nullptr && other != this && other->FGroupIndex == FGroupIndex) {
            action(*other);
        }
    }
}

void TSpeedButton::SetGlyph(const TBitmap& value) {
    if (&value != FGlyph.get()) {
        FGlyph->Assign(value);
    }
    Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
    if (FFlat != value) {
        FFlat = value;
        Invalidate();
    }
}

void TSpeedButton::SetGroupIndex(int value) {
    if (FGroupIndex == value) {
        return;
    }
    FGroupIndex = value;
    if (FDown) {
        // Joining a group while down releases the group's current choice.
        ForEachInGroup([](TSpeedButton& other) { other.SetDownQuietly(false); });
    }
    if (FGroupIndex == 0) {
        SetDownQuietly(false);
    }
}

void TSpeedButton::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value) {
        return;
    }
    FAllowAllUp = value;
    ForEachInGroup([value](TSpeedButton& other) { other.FAllowAllUp = value; });
}

void TSpeedButton::SetDown(bool value) {
    if (FGroupIndex == 0) {
        value = false;
    }
    if (FDown == value || (FDown && !FAllowAllUp)) {
        return; // without AllowAllUp a group keeps one button down
    }
    SetDownQuietly(value);
    if (value) {
        ForEachInGroup([](TSpeedButton& other) { other.SetDownQuietly(false); });
    }
}

void TSpeedButton::SetDownQuietly(bool value) {
    if (FDown != value) {
        FDown = value;
        FState = value ? bsExclusive : bsUp;
        Invalidate();
    }
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    if (FLayout != value) {
        FLayout = value;
        Invalidate();
    }
}

void TSpeedButton::SetSpacing(int value) {
    if (FSpacing != value) {
        FSpacing = value;
        Invalidate();
    }
}

void TSpeedButton::Paint(TCanvas& canvas) {
    const TRect client = ClientRect();
    canvas.Brush.SetColor(FColor);
    canvas.Brush.SetStyle(bsSolid);
    canvas.FillRect(client);
    TRect r = client;
    const bool sunk = FState != bsUp;
    if (sunk) {
        canvas.Frame3D(r, clBtnShadow, clBtnHighlight, 1);
        r = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    } else if (!FFlat || (FMouseInControl && FEnabled)) {
        canvas.Frame3D(r, clBtnHighlight, clBtnShadow, 1);
    }
    canvas.Font.Assign(FFont);
    if (!FEnabled) {
        canvas.Font.SetColor(clGrayText);
    }
    DrawGlyphAndCaption(canvas, r, *FGlyph, FCaption, FLayout, FSpacing);
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    // The release below clicks by itself, after updating Down, so the generic click that
    // follows a release is switched off for this press.
    FMouseDownLeft = false;
    if (Button == mbLeft && FEnabled) {
        if (!FDown) {
            FState = bsDown;
            Invalidate();
        }
        FDragging = true;
    }
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) {
        return;
    }
    // Pressed looks sunk only while the pointer is over the button.
    TButtonState state = FDown ? bsExclusive : bsUp;
    if (ClientRect().Contains({X, Y}) && !FDown) {
        state = bsDown;
    }
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FDragging) {
        return;
    }
    FDragging = false;
    const bool inside = ClientRect().Contains({X, Y});
    if (inside && FGroupIndex != 0) {
        SetDown(!FDown);
    }
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
    if (inside) {
        Click();
    }
}

void TSpeedButton::CMMouseEnter(TMessage& message) {
    TGraphicControl::CMMouseEnter(message);
    FMouseInControl = true;
    if (FFlat) {
        Invalidate();
    }
}

void TSpeedButton::CMMouseLeave(TMessage& message) {
    TGraphicControl::CMMouseLeave(message);
    FMouseInControl = false;
    if (FFlat) {
        Invalidate();
    }
}

void TSpeedButton::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Flat") {
        SetFlat(reader.Boolean(value));
    } else if (name == "GroupIndex") {
        SetGroupIndex(reader.Integer(value));
    } else if (name == "AllowAllUp") {
        SetAllowAllUp(reader.Boolean(value));
    } else if (name == "Down") {
        FDownStored = reader.Boolean(value); // applied once GroupIndex is known
    } else if (name == "Layout") {
        SetLayout(ReadLayout(reader, value));
    } else if (name == "Spacing") {
        SetSpacing(reader.Integer(value));
    } else {
        TGraphicControl::ReadProperty(reader, name, value);
    }
}

void TSpeedButton::Loaded() {
    TGraphicControl::Loaded();
    if (FDownStored) {
        SetDown(true);
    }
}

// TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetGlyph(const TBitmap& value) {
    if (&value != FGlyph.get()) {
        FGlyph->Assign(value);
    }
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    if (FLayout != value) {
        FLayout = value;
        Invalidate();
    }
}

void TBitBtn::SetSpacing(int value) {
    if (FSpacing != value) {
        FSpacing = value;
        Invalidate();
    }
}

void TBitBtn::PaintWindow(TCanvas& canvas) {
    TButton::PaintWindow(canvas);
    if (FGlyph->Empty()) {
        return; // the push button's centred caption is all there is
    }
    // Inside the ring and the frame, the caption makes room for the glyph.
    const TRect client = ClientRect();
    const TRect inner{client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 2};
    canvas.Brush.SetColor(clBtnFace);
    canvas.Brush.SetStyle(bsSolid);
    canvas.FillRect(inner);
    canvas.Font.Assign(FFont);
    if (!FEnabled) {
        canvas.Font.SetColor(clGrayText);
    }
    DrawGlyphAndCaption(canvas, inner, *FGlyph, FCaption, FLayout, FSpacing);
}

void TBitBtn::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Layout") {
        SetLayout(ReadLayout(reader, value));
    } else if (name == "Spacing") {
        SetSpacing(reader.Integer(value));
    } else {
        TButton::ReadProperty(reader, name, value);
    }
}

} // namespace vx
