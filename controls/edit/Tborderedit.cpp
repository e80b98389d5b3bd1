// SPDX-License-Identifier: MIT
#include "controls/edit/Tborderedit.h"

#include "gui/FormReader.h"
#include "platform/api.h"

namespace vx::edit {

void SetEditAlignment(wapi::HWND editHandle, TAlignment alignment) {
    constexpr wapi::LONG ES_LEFT = 0;
    constexpr wapi::LONG ES_CENTER = 1;
    constexpr wapi::LONG ES_RIGHT = 2;
    wapi::LONG style = wapi::GetWindowLongW(editHandle, wapi::GWL_STYLE) & ~wapi::LONG(3);
    if (alignment == taCenter) {
        style |= ES_CENTER;
    } else if (alignment == taRightJustify) {
        style |= ES_RIGHT;
    } else {
        style |= ES_LEFT;
    }
    wapi::SetWindowLongW(editHandle, wapi::GWL_STYLE, style);
}

TBorderEdit::TBorderEdit(TComponent* AOwner)
    : TCustomControl(AOwner), FEdit(new TCustomEdit(this)) {
    FWidth = 121;
    FHeight = 24;
    FColor = clWindow;
    FTabStop = true;
    FEdit->SetVisible(false);
    FEdit->SetParent(this);
}

void TBorderEdit::SetEditText(const std::u16string& value) {
    if (FEditText != value) {
        FEditText = value;
        Invalidate();
    }
}

void TBorderEdit::SetAlignment(TAlignment value) {
    if (FAlignment != value) {
        FAlignment = value;
        Invalidate();
    }
}

void TBorderEdit::SetEditMargin(uint8_t value) {
    if (FEditMargin != value) {
        FEditMargin = value;
        Invalidate();
    }
}

void TBorderEdit::Click() {
    TCustomControl::Click();
    if (CanFocus()) {
        SetFocus();
    }
}

void TBorderEdit::DoEnter() {
    // The text handed to the inner edit is not an edit of the user's: no change notification.
    TNotifyEvent onChange = std::move(FEdit->OnChange);
    FEdit->OnChange = nullptr;
    struct Restore {
        TCustomEdit& Edit;
        TNotifyEvent& Handler;
        ~Restore() { Edit.OnChange = std::move(Handler); }
    } restore{*FEdit, onChange};

    FEdit->Font().Assign(FFont);
    Canvas().Font.Assign(FFont);
    TCustomControl::DoEnter();
    SetEditAlignment(FEdit->Handle(), FAlignment);
    FEdit->SetColor(FColor);
    FEdit->SetText(FEditText);
    const int h = Canvas().TextExtent(u"\u525B").Y + 2;
    const int top = (FHeight - h) / 2;
    FEdit->SetBounds(FEditMargin + 1, top < 0 ? 0 : top, FWidth - 2 * FEditMargin - 1, h);
    // The whole window, frame included, in the control's colour.
    const wapi::HDC dc = wapi::GetWindowDC(Handle());
    {
        TCanvas whole;
        whole.SetHandle(dc);
        whole.Brush.SetColor(FColor);
        whole.Brush.SetStyle(bsSolid);
        whole.FillRect({0, 0, FWidth, FHeight});
    }
    wapi::ReleaseDC(Handle(), dc);
    FEdit->SetVisible(true);
    FEdit->SetFocus();
    FSavedTabStop = TabStop();
    SetTabStop(false);
}

void TBorderEdit::DoExit() {
    FEdit->SetVisible(false);
    FEditText = FEdit->Text();
    SetTabStop(FSavedTabStop);
    TCustomControl::DoExit();
    Invalidate();
}

std::u16string TBorderEdit::DispStr() {
    std::u16string shown = FEditText;
    if (OnDispStr) {
        OnDispStr(this, shown);
    }
    return shown;
}

void TBorderEdit::Paint() {
    TCanvas& c = Canvas();
    TRect r = ClientRect();
    c.Brush.SetColor(FColor);
    c.Brush.SetStyle(bsSolid);
    c.FillRect(r);
    c.Frame3D(r, clBtnShadow, clBtnHighlight, 1); // a sunken edge, as edits have
    if (FEdit->Visible()) {
        return; // the inner edit shows the text
    }
    uint32_t flags = backend::TextSingleLine | backend::TextVCenter | backend::TextNoPrefix;
    if (FAlignment == taCenter) {
        flags |= backend::TextCenter;
    } else if (FAlignment == taRightJustify) {
        flags |= backend::TextRight;
    }
    c.Font.Assign(FFont);
    if (!FEnabled) {
        c.Font.SetColor(clGrayText);
    }
    c.TextRect({FEditMargin + 1, r.Top, FWidth - FEditMargin - 1, r.Bottom}, DispStr(), flags);
}

void TBorderEdit::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "EditText") {
        SetEditText(reader.String(value));
    } else if (name == "Alignment") {
        SetAlignment(
            TAlignment(reader.Enum(value, {"taLeftJustify", "taRightJustify", "taCenter"})));
    } else if (name == "EditMargin") {
        const int margin = reader.Integer(value);
        if (margin < 0 || margin > 255) {
            reader.Fail(value, "EditMargin lies between 0 and 255");
        }
        SetEditMargin(uint8_t(margin));
    } else {
        TCustomControl::ReadProperty(reader, name, value);
    }
}

} // namespace vx::edit
