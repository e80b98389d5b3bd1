// SPDX-License-Identifier: MIT
#include "gui/StdCtrls.h"

#include "gui/Form.h"
#include "gui/FormReader.h"
#include "gui/Text.h"

namespace vx {

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 65, FHeight = 17;
}

void TLabel::SetAlignment(TAlignment value) {
    if (FAlignment != value) {
        FAlignment = value;
        Invalidate();
    }
}

void TLabel::SetTransparent(bool value) {
    if (FTransparent != value) {
        FTransparent = value;
        Invalidate();
    }
}

void TLabel::SetWordWrap(bool value) {
    if (FWordWrap != value) {
        FWordWrap = value;
        Invalidate();
    }
}

void TLabel::SetAutoSize(bool value) {
    if (FAutoSize != value) {
        FAutoSize = value;
        AdjustBounds();
    }
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || FWordWrap || Loading()) {
        return;
    }
    const TPoint size = backend::MeasureText(nullptr, FCaption, FFont.Desc());
    SetBounds(FLeft, FTop, size.X, size.Y);
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::TextChanged() {
    TGraphicControl::TextChanged();
    AdjustBounds();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::Paint(TCanvas& canvas) {
    const TRect r = ClientRect();
    if (!FTransparent) {
        canvas.Brush.SetColor(FColor);
        canvas.Brush.SetStyle(bsSolid);
        canvas.FillRect(r);
    }
    uint32_t flags = FWordWrap ? backend::TextWordBreak : backend::TextSingleLine;
    if (FAlignment == taCenter) {
        flags |= backend::TextCenter;
    } else if (FAlignment == taRightJustify) {
        flags |= backend::TextRight;
    }
    canvas.Font.Assign(FFont);
    if (!FEnabled) {
        canvas.Font.SetColor(clGrayText);
    }
    canvas.TextRect(r, FCaption, flags);
}

void TLabel::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Alignment") {
        SetAlignment(
            TAlignment(reader.Enum(value, {"taLeftJustify", "taRightJustify", "taCenter"})));
    } else if (name == "Transparent") {
        SetTransparent(reader.Boolean(value));
    } else if (name == "WordWrap") {
        SetWordWrap(reader.Boolean(value));
    } else if (name == "AutoSize") {
        SetAutoSize(reader.Boolean(value));
    } else {
        TGraphicControl::ReadProperty(reader, name, value);
    }
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 75;
    FHeight = 25;
    FTabStop = true;
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    FActive = value;
    if (TForm* form = ParentForm(); form != nullptr && HandleAllocated()) {
        form->Perform(CM_FOCUSCHANGED, 0,
                      reinterpret_cast<intptr_t>(static_cast<TControl*>(form->ActiveControl())));
    }
}

void TButton::CreateWnd() {
    FActive = FDefault;
}

void TButton::CMFocusChanged(TMessage& message) {
    auto* focused = reinterpret_cast<TControl*>(message.LParam);
    if (dynamic_cast<TButton*>(focused) != nullptr) {
        FActive = focused == this;
    } else {
        FActive = FDefault;
    }
    Invalidate();
}

void TButton::CMDialogKey(TMessage& message) {
    const auto key = uint16_t(message.WParam);
    const auto shift = TShiftState(message.LParam);
    if (((key == 0x0D && FActive) || (key == 0x1B && FCancel)) &&
        (shift & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
        Click();
        message.Result = 1;
    }
}

void TButton::CMDialogChar(TMessage& message) {
    if (IsAccel(char16_t(message.WParam), FCaption) && CanFocus()) {
        Click();
        message.Result = 1;
    }
}

void TButton::Click() {
    if (TForm* form = ParentForm(); form != nullptr && FModalResult != mrNone) {
        form->SetModalResult(FModalResult);
    }
    TWinControl::Click();
}

void TButton::PaintWindow(TCanvas& canvas) {
    const TRect r = ClientRect();
    canvas.Brush.SetColor(clBtnFace);
    canvas.FillRect(r);
    // A raised frame, sunk while pressed; the button that Enter would click gets a dark ring.
    const bool ring = FActive || Focused();
    TRect face = r;
    if (ring) {
        canvas.Pen.SetColor(clBlack);
        canvas.Pen.SetWidth(1);
        canvas.Brush.SetStyle(bsClear);
        canvas.Rectangle(r);
        canvas.Brush.SetStyle(bsSolid);
        face = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    const TColor light = FPressed ? clBtnShadow : clBtnHighlight;
    const TColor dark = FPressed ? clBtnHighlight : clBtnShadow;
    canvas.Brush.SetColor(light);
    canvas.FillRect({face.Left, face.Top, face.Right, face.Top + 1});
    canvas.FillRect({face.Left, face.Top, face.Left + 1, face.Bottom});
    canvas.Brush.SetColor(dark);
    canvas.FillRect({face.Left, face.Bottom - 1, face.Right, face.Bottom});
    canvas.FillRect({face.Right - 1, face.Top, face.Right, face.Bottom});
    canvas.Font.Assign(FFont);
    if (!FEnabled) {
        canvas.Font.SetColor(clGrayText);
    }
    const int shift = FPressed ? 1 : 0;
    canvas.TextRect({face.Left + shift, face.Top + shift, face.Right + shift, face.Bottom + shift},
                    FCaption, backend::TextCenter | backend::TextVCenter | backend::TextSingleLine);
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus()) {
            SetFocus();
        }
        FPressed = true;
        Invalidate();
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    TWinControl::MouseUp(Button, Shift, X, Y);
}

void TButton::KeyDown(uint16_t& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    if (Key == 0x20 && !FPressed) { // space presses, its release clicks
        FPressed = true;
        Invalidate();
    }
}

void TButton::KeyUp(uint16_t& Key, TShiftState Shift) {
    TWinControl::KeyUp(Key, Shift);
    if (Key == 0x20 && FPressed) {
        FPressed = false;
        Invalidate();
        Click();
    }
}

void TButton::DoEnter() {
    Invalidate();
    TWinControl::DoEnter();
}

void TButton::DoExit() {
    FPressed = false;
    Invalidate();
    TWinControl::DoExit();
}

void TButton::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Default") {
        SetDefault(reader.Boolean(value));
    } else if (name == "Cancel") {
        SetCancel(reader.Boolean(value));
    } else if (name == "ModalResult") {
        SetModalResult(reader.Integer(value));
    } else {
        TWinControl::ReadProperty(reader, name, value);
    }
}

} // namespace vx
