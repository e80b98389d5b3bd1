// SPDX-License-Identifier: MIT
#include "controls/edit/BaseEdit.h"

#include "controls/edit/Tborderedit.h"

#include "gui/Classes.h"
#include "gui/FormReader.h"

#include <string_view>

namespace vx::edit {
namespace {

bool InRange(char16_t key, char16_t first, char16_t last) {
    return key >= first && key <= last;
}

bool Letter(char16_t key) {
    return InRange(key, u'A', u'Z') || InRange(key, u'a', u'z');
}

bool Digit(char16_t key) {
    return InRange(key, u'0', u'9');
}

bool OneOf(char16_t key, std::u16string_view set) {
    return set.find(key) != std::u16string_view::npos;
}

} // namespace

bool TBaseEdit::AcceptKey(TEditKeyFilter filter, char16_t key, bool ignoreEnter) {
    if (key == 0 || (key == 13 && ignoreEnter)) {
        return false;
    }
    if (key < 32) {
        return true; // Backspace, Tab, Enter, Escape and the Ctrl+letter codes
    }
    switch (filter) {
    case TEditKeyFilter::Alphanumeric:
        return Letter(key) || Digit(key) || OneOf(key, u"-_");
    case TEditKeyFilter::Number:
        return Digit(key) || key == u'.';
    case TEditKeyFilter::RealNumber:
        return Digit(key) || OneOf(key, u"-.");
    case TEditKeyFilter::PostCode:
    case TEditKeyFilter::Telephone:
        return Digit(key) || key == u'-';
    case TEditKeyFilter::Date:
        return Digit(key) || key == u'/';
    case TEditKeyFilter::Code:
        return Letter(key) || Digit(key) || OneOf(key, u"%*+-._");
    case TEditKeyFilter::Mail:
        return InRange(key, u'a', u'z') || Digit(key) || OneOf(key, u"!#$%&'*+-/=?^_`{|}~.@");
    case TEditKeyFilter::None:
        break;
    }
    return true;
}

TBaseEdit::TBaseEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    ShowStateColor();
}

TColor TBaseEdit::StateColor() const {
    if (ReadOnly()) {
        return FReadOnlyColor;
    }
    return Focused() ? FFocusColor : FNormalColor;
}

void TBaseEdit::SetFocusColor(TColor value) {
    FFocusColor = value;
    ShowStateColor();
}

void TBaseEdit::SetNormalColor(TColor value) {
    FNormalColor = value;
    ShowStateColor();
}

void TBaseEdit::SetReadOnlyColor(TColor value) {
    FReadOnlyColor = value;
    ShowStateColor();
}

void TBaseEdit::SetReadOnly(bool value) {
    TCustomEdit::SetReadOnly(value);
    ShowStateColor();
}

void TBaseEdit::KeyPress(char16_t& Key) {
    if (!AcceptKey(FKeyFilter, Key, FIgnoreEnter)) {
        Key = 0; // dropped without a sound
        return;
    }
    if (OnKeyPress) {
        OnKeyPress(this, Key);
    }
}

void TBaseEdit::DoEnter() {
    BeforeEnter();
    std::u16string text = Text();
    if (ReadOnly()) {
        SetColor(FReadOnlyColor);
    } else {
        SetColor(FFocusColor);
        text = EnterText(text, FDataType, FFormatStr);
    }
    SetText(text); // only a different text is assigned
    if (AutoSelect() && !Text().empty() && !ReadOnly() && Enabled()) {
        SelectAll();
    }
    TCustomEdit::DoEnter();
}

void TBaseEdit::DoExit() {
    std::u16string text = Text();
    SetSelStart(0);
    SetSelLength(0);
    if (ReadOnly()) {
        SetColor(FReadOnlyColor);
    } else {
        SetColor(FNormalColor);
        text = ExitText(text, FDataType, FFormatStr, FUseComma);
    }
    SetText(text);
    TCustomEdit::DoExit();
}

void TBaseEdit::Loaded() {
    TCustomEdit::Loaded();
    ShowStateColor();
}

void TBaseEdit::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "KeyFilter") {
        SetKeyFilter(
            TEditKeyFilter(reader.Enum(value, {"None", "Alphanumeric", "Number", "RealNumber",
                                               "PostCode", "Date", "Code", "Telephone", "Mail"})));
    } else if (name == "DataType") {
        SetDataType(TEditDataType(reader.Enum(value, {"String", "Integer", "Real"})));
    } else if (name == "FormatStr") {
        SetFormatStr(reader.String(value));
    } else if (name == "UseComma") {
        SetUseComma(reader.Boolean(value));
    } else if (name == "IgnoreEnter") {
        SetIgnoreEnter(reader.Boolean(value));
    } else if (name == "Round") {
        SetRound(TEditRound(reader.Enum(value, {"Revalue", "Omit", "Round"})));
    } else if (name == "FocusColor") {
        SetFocusColor(reader.Color(value));
    } else if (name == "NormalColor") {
        SetNormalColor(reader.Color(value));
    } else if (name == "ReadOnlyColor") {
        SetReadOnlyColor(reader.Color(value));
    } else if (name == "ReadOnly") {
        SetReadOnly(reader.Boolean(value));
    } else {
        TCustomEdit::ReadProperty(reader, name, value);
    }
}

void RegisterEditControls() {
    RegisterComponentClass<TBaseEdit>("TBaseEdit");
    RegisterComponentClass<TBorderEdit>("TBorderEdit");
}

} // namespace vx::edit
