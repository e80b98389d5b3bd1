// SPDX-License-Identifier: MIT
#include "gui/CustomEdit.h"

#include "gui/FormReader.h"

#include <algorithm>

namespace vx {

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 121;
    FHeight = 21;
    FColor = clWindow;
    FTabStop = true;
}

std::u16string TCustomEdit::Text() const {
    return FHandle != nullptr ? backend::GetText(FHandle) : FText;
}

void TCustomEdit::SetText(const std::u16string& value) {
    if (Text() == value) {
        return;
    }
    if (FHandle != nullptr) {
        backend::SetText(FHandle, value); // the window reports the change back
    } else {
        FText = value;
        FSelStart = FSelLength = 0;
        Change();
    }
}

int TCustomEdit::SelStart() const {
    if (FHandle == nullptr) {
        return FSelStart;
    }
    int start = 0;
    int length = 0;
    backend::GetSelection(FHandle, start, length);
    return start;
}

int TCustomEdit::SelLength() const {
    if (FHandle == nullptr) {
        return FSelLength;
    }
    int start = 0;
    int length = 0;
    backend::GetSelection(FHandle, start, length);
    return length;
}

void TCustomEdit::SetSelStart(int value) {
    // As with the system's edit, moving the start drops the selection.
    if (FHandle != nullptr) {
        backend::SetSelection(FHandle, value, 0);
    } else {
        FSelStart = std::clamp(value, 0, int(FText.size()));
        FSelLength = 0;
    }
}

void TCustomEdit::SetSelLength(int value) {
    const int start = SelStart();
    if (FHandle != nullptr) {
        backend::SetSelection(FHandle, start, value);
    } else {
        FSelLength = std::clamp(value, 0, int(FText.size()) - start);
    }
}

void TCustomEdit::SelectAll() {
    SetSelStart(0);
    SetSelLength(int(Text().size()));
}

void TCustomEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (FHandle != nullptr) {
        backend::SetReadOnly(FHandle, value);
    }
}

void TCustomEdit::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        if (FHandle != nullptr) {
            backend::SetColors(FHandle, FColor, FFont.Color());
        }
    }
}

void TCustomEdit::FontChanged() {
    if (FHandle != nullptr) {
        backend::SetFont(FHandle, FFont.Desc());
        backend::SetColors(FHandle, FColor, FFont.Color());
    }
}

void TCustomEdit::CreateParams(backend::WindowParams& params) {
    TWinControl::CreateParams(params);
    params.Class = backend::WindowClass::Edit;
    params.Caption = FText;
}

void TCustomEdit::CreateHandle() {
    TWinControl::CreateHandle();
    backend::SetReadOnly(FHandle, FReadOnly);
    backend::SetFont(FHandle, FFont.Desc());
    backend::SetColors(FHandle, FColor, FFont.Color());
    backend::SetText(FHandle, FText);
    backend::SetSelection(FHandle, FSelStart, FSelLength);
}

void TCustomEdit::HandleChanged() {
    Change();
}

void TCustomEdit::Change() {
    if (OnChange && !Loading()) {
        OnChange(this);
    }
}

void TCustomEdit::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Text") {
        SetText(reader.String(value));
    } else if (name == "ReadOnly") {
        SetReadOnly(reader.Boolean(value));
    } else if (name == "AutoSelect") {
        SetAutoSelect(reader.Boolean(value));
    } else if (name == "OnChange") {
        OnChange = reader.Handler<TNotifyEvent>(value);
    } else {
        TWinControl::ReadProperty(reader, name, value);
    }
}

} // namespace vx
