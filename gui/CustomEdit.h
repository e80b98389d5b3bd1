// SPDX-License-Identifier: MIT
// The system's single-line edit as a control.
#pragma once

#include "gui/Control.h"

namespace vx {

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TCustomEdit"; }

    // Raised whenever the text changes, by typing or by assignment.
    TNotifyEvent OnChange;

    [[nodiscard]] std::u16string Text() const;
    // Assigns only a different text, so an equal one raises no change notification.
    void SetText(const std::u16string& value);
    [[nodiscard]] int SelStart() const;
    void SetSelStart(int value);
    [[nodiscard]] int SelLength() const;
    void SetSelLength(int value);
    void SelectAll();
    [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    [[nodiscard]] bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    void SetColor(TColor value) override;

    // The text changed in the window.
    void HandleChanged();

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    void CreateParams(backend::WindowParams& params) override;
    void CreateHandle() override;
    void FontChanged() override;
    virtual void Change();

private:
    std::u16string FText; // while there is no window
    int FSelStart = 0;
    int FSelLength = 0;
    bool FReadOnly = false;
    bool FAutoSelect = true;
};

} // namespace vx
