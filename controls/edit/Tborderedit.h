// SPDX-License-Identifier: MIT
// A control that holds a string and edits it through an inner single-line edit shown only
// while the control has the focus. While idle it shows a display string: the stored text, or
// what an OnDispStr handler makes of it.
#pragma once

#include "gui/CustomControl.h"
#include "gui/CustomEdit.h"

#include <cstdint>

namespace vx::edit {

class TBorderEdit : public TCustomControl {
public:
    using TDispStrEvent = std::function<void(TObject* Sender, std::u16string& DispStr)>;

    explicit TBorderEdit(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TBorderEdit"; }

    // Asked for the string to show while the control is idle; it may replace it.
    TDispStrEvent OnDispStr;

    // The value; copied into the inner edit on entry and back on exit. Default empty.
    [[nodiscard]] const std::u16string& EditText() const { return FEditText; }
    void SetEditText(const std::u16string& value);
    // Alignment of the text, in the inner edit and in the idle display. Default left.
    [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Horizontal inset of the inner edit. Default 2.
    [[nodiscard]] uint8_t EditMargin() const { return FEditMargin; }
    void SetEditMargin(uint8_t value);
    // The inner edit, hidden except while the control is being edited.
    [[nodiscard]] TCustomEdit& Edit() { return *FEdit; }
    // The string shown while idle.
    [[nodiscard]] std::u16string DispStr();

    void Click() override;
    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    void DoExit() override;
    void DoEnter() override;
    void Paint() override;

private:
    TCustomEdit* FEdit; // a child, owned through the component list
    std::u16string FEditText;
    TAlignment FAlignment = taLeftJustify;
    uint8_t FEditMargin = 2;
    bool FSavedTabStop = true;
};

// Sets the alignment bits of an edit window's style: ES_LEFT, ES_CENTER or ES_RIGHT.
void SetEditAlignment(wapi::HWND editHandle, TAlignment alignment);

} // namespace vx::edit
