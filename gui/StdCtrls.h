// SPDX-License-Identifier: MIT
#pragma once

#include "gui/Control.h"

namespace vx {

// Static text drawn on its parent.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TLabel"; }

    [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    [[nodiscard]] bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    [[nodiscard]] bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Default true: a single-line label takes the size of its text in its font.
    [[nodiscard]] bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    void Loaded() override;

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    void Paint(TCanvas& canvas) override;
    void TextChanged() override;
    void FontChanged() override;

private:
    TAlignment FAlignment = taLeftJustify;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FAutoSize = true;
    void AdjustBounds();
};

// A push button. As the default button it answers Enter, as the cancel button Escape;
// a non-zero ModalResult ends the modal run of its form with that value.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TButton"; }

    [[nodiscard]] bool Default() const { return FDefault; }
    void SetDefault(bool value);
    // Whether Enter clicks this button now: it is focused, or it is the default button and
    // no other push button has the focus.
    [[nodiscard]] bool Active() const { return FActive; }
    [[nodiscard]] bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    [[nodiscard]] TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    void Click() override;

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    void PaintWindow(TCanvas& canvas) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void CreateWnd() override;
    void CMDialogKey(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMFocusChanged(TMessage& message) override;

private:
    bool FDefault = false;
    bool FActive = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
    bool FPressed = false;
};

} // namespace vx
