// SPDX-License-Identifier: MIT
// A single-line edit for typed data. It drops typed characters that its key filter refuses,
// and rewrites its text on every focus change: the plain value while focused, the display
// form (thousands separators or a format) after the focus has left. Its background shows
// whether it is being edited, idle or read-only.
#pragma once

#include "controls/edit/EditValue.h"
#include "gui/CustomEdit.h"

#include <cstdint>

namespace vx::edit {

enum class TEditKeyFilter : std::int32_t {
    None,
    Alphanumeric,
    Number,
    RealNumber,
    PostCode,
    Date,
    Code,
    Telephone,
    Mail,
};

class TBaseEdit : public TCustomEdit {
public:
    explicit TBaseEdit(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TBaseEdit"; }

    // Whether a typed character passes `filter`: control characters (1 to 31) pass every filter
    // unless the key is Enter and `ignoreEnter` is set; 0 never passes; a filter outside the
    // enumeration accepts everything.
    static bool AcceptKey(TEditKeyFilter filter, char16_t key, bool ignoreEnter);

    // Default None: every character is accepted.
    [[nodiscard]] TEditKeyFilter KeyFilter() const { return FKeyFilter; }
    void SetKeyFilter(TEditKeyFilter value) { FKeyFilter = value; }
    // Default String: the text is never rewritten.
    [[nodiscard]] TEditDataType DataType() const { return FDataType; }
    void SetDataType(TEditDataType value) { FDataType = value; }
    // A printf-style format for the value, empty for none (the default).
    [[nodiscard]] const std::u16string& FormatStr() const { return FFormatStr; }
    void SetFormatStr(std::u16string value) { FFormatStr = std::move(value); }
    // Default false. Thousands separators after the focus has left; the format is then unused.
    [[nodiscard]] bool UseComma() const { return FUseComma; }
    void SetUseComma(bool value) { FUseComma = value; }
    // Default false. When set, Enter never reaches the edit.
    [[nodiscard]] bool IgnoreEnter() const { return FIgnoreEnter; }
    void SetIgnoreEnter(bool value) { FIgnoreEnter = value; }
    // Kept for callers that set it; the focus handling always shows reals cut at two decimals.
    [[nodiscard]] TEditRound Round() const { return FRound; }
    void SetRound(TEditRound value) { FRound = value; }

    // Backgrounds by state. A change shows at once when it is the colour of the current state.
    // Defaults: a light yellow while focused, the window colour while idle, the button face
    // colour while read-only.
    [[nodiscard]] TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value);
    [[nodiscard]] TColor NormalColor() const { return FNormalColor; }
    void SetNormalColor(TColor value);
    [[nodiscard]] TColor ReadOnlyColor() const { return FReadOnlyColor; }
    void SetReadOnlyColor(TColor value);
    void SetReadOnly(bool value);

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;
    void Loaded() override;

protected:
    // Called first when the edit receives the focus; does nothing here.
    virtual void BeforeEnter() {}
    void KeyPress(char16_t& Key) override;
    void DoEnter() override;
    void DoExit() override;

private:
    TEditKeyFilter FKeyFilter = TEditKeyFilter::None;
    TEditDataType FDataType = TEditDataType::String;
    std::u16string FFormatStr;
    bool FUseComma = false;
    bool FIgnoreEnter = false;
    TEditRound FRound = TEditRound::Omit;
    TColor FFocusColor = 0xE1FFFF;
    TColor FNormalColor = clWindow;
    TColor FReadOnlyColor = clBtnFace;

    [[nodiscard]] TColor StateColor() const;
    void ShowStateColor() { SetColor(StateColor()); }
};

// Makes the library's edit controls known to form descriptions.
void RegisterEditControls();

} // namespace vx::edit
