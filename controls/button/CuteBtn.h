// SPDX-License-Identifier: MIT
// A push button drawn on a panel: its state shows only through the panel's two bevels. On top
// of a push button it offers a drop-down menu (at once, or after the press is held), a
// speed-button mode in which left presses toggle Down, suppression of clicks that pile up
// while a slow OnClick runs, default and cancel behaviour for Enter and Escape, and
// pointer enter and leave events with optional hover colours.
#pragma once

#include "gui/Bitmap.h"
#include "gui/ExtCtrls.h"
#include "gui/Menus.h"
#include "gui/Timer.h"

namespace vx::button {

class TCuteButton;

// The drop-down delay timer; it knows the button that made it.
class TCuteButtonTimer : public TTimer {
public:
    explicit TCuteButtonTimer(TComponent* AOwner) : TTimer(AOwner) {}
    [[nodiscard]] const char* ClassName() const override { return "TCuteButtonTimer"; }
    TCuteButton* FCuteButton = nullptr;
};

class TCuteButton : public TCustomPanel {
public:
    explicit TCuteButton(TComponent* AOwner);
    ~TCuteButton() override;
    [[nodiscard]] const char* ClassName() const override { return "TCuteButton"; }

    TMouseMoveEvent OnMouseEnter;
    TMouseMoveEvent OnMouseLeave;

    void Click() override;
    // Shows DropDownMenu below the button and returns when it has closed.
    virtual void DropDown();

    // Properties; see the setters for what a change does.
    [[nodiscard]] TColor BevelHighlightColor() const { return FBevelHighlightColor; }
    void SetBevelHighlightColor(TColor value);
    [[nodiscard]] TColor BevelShadowColor() const { return FBevelShadowColor; }
    void SetBevelShadowColor(TColor value);
    [[nodiscard]] TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor value);
    [[nodiscard]] bool UseDisabledColor() const { return FUseDisabledColor; }
    void SetUseDisabledColor(bool value);
    [[nodiscard]] int DropDownDelay() const { return FDropDownDelay; }
    void SetDropDownDelay(int value) { FDropDownDelay = value; }
    [[nodiscard]] TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    // Not owned; cleared when the menu is destroyed.
    void SetDropDownMenu(TPopupMenu* value);
    [[nodiscard]] bool EgnoreContClick() const { return FEgnoreContClick; }
    void SetEgnoreContClick(bool value) { FEgnoreContClick = value; }
    [[nodiscard]] bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    [[nodiscard]] TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    [[nodiscard]] int MarginX() const { return FMarginX; }
    void SetMarginX(int value);
    [[nodiscard]] int MarginY() const { return FMarginY; }
    void SetMarginY(int value);
    [[nodiscard]] bool ShowFocusRect() const { return FShowFocusRect; }
    void SetShowFocusRect(bool value);
    [[nodiscard]] bool TabFocusUp() const { return FTabFocusUp; }
    void SetTabFocusUp(bool value) { FTabFocusUp = value; }
    [[nodiscard]] TPicture& Picture() { return *FPicture; }
    // Copies another picture's content, unless it is this button's own; repaints.
    void SetPicture(const TPicture& value);
    [[nodiscard]] int GrpLeftSpace() const { return FGrpLeftSpace; }
    void SetGrpLeftSpace(int value);
    [[nodiscard]] int GrpRightSpace() const { return FGrpRightSpace; }
    void SetGrpRightSpace(int value);
    [[nodiscard]] bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    [[nodiscard]] bool Default() const { return FDefault; }
    void SetDefault(bool value);
    [[nodiscard]] bool Active() const { return FActive; }
    [[nodiscard]] bool UseMouseColor() const { return FUseMouseColor; }
    void SetUseMouseColor(bool value) { FUseMouseColor = value; }
    [[nodiscard]] TColor MouseEnterColor() const { return FMouseEnterColor; }
    void SetMouseEnterColor(TColor value) { FMouseEnterColor = value; }
    [[nodiscard]] TColor MouseLeaveColor() const { return FMouseLeaveColor; }
    void SetMouseLeaveColor(TColor value) { FMouseLeaveColor = value; }
    [[nodiscard]] bool IsSpeedButton() const { return FIsSpeedButton; }
    void SetIsSpeedButton(bool value) { FIsSpeedButton = value; }
    [[nodiscard]] bool Down() const { return FDown; }
    // Acts only in speed-button mode.
    void SetDown(bool value);
    // Panel state the button drives; exposed so that tests and subclasses can read it.
    using TCustomPanel::Alignment;
    using TCustomPanel::SetAlignment;
    [[nodiscard]] bool DroppedDown() const { return FDroppedDown; }
    [[nodiscard]] bool SpaceDown() const { return FSpaceDown; }
    [[nodiscard]] bool DropDownPending() const { return FTimer != nullptr; }

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;
    void Loaded() override;

protected:
    void CreateWnd() override;
    void Paint() override;
    virtual void DoDropDown();
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    virtual void MouseEnter(TShiftState Shift, int X, int Y);
    virtual void MouseLeave(TShiftState Shift, int X, int Y);
    void CMDialogKey(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMFocusChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TColor FBevelShadowColor = clBtnShadow;
    TColor FBevelHighlightColor = clBtnHighlight;
    TColor FDisabledColor = clGray;
    int FDropDownDelay = 0;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FDroppedDown = false;
    bool FEgnoreContClick = false;
    bool FFlat = false;
    bool FSpaceDown = false;
    bool FTabFocusUp = true;
    TTextLayout FLayout = tlCenter;
    bool FShowFocusRect = false;
    bool FUseDisabledColor = false;
    bool FDropByKey = false;
    int FMarginX = -1;
    int FMarginY = -1;
    TCuteButtonTimer* FTimer = nullptr;
    std::unique_ptr<TPicture> FPicture;
    int FGrpLeftSpace = 4;
    int FGrpRightSpace = 4;
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    bool FUseMouseColor = false;
    TColor FMouseEnterColor = clBtnFace;
    TColor FMouseLeaveColor = clBtnFace;
    bool FIsSpeedButton = false;
    bool FDown = false;
    TBevelCut FBevelInnerTmp = bvNone;
    TBevelCut FBevelOuterTmp = bvNone;
    bool FPressSaved = false; // the saved bevels belong to a press not yet restored
    bool FDownStored = false; // Down as a form description gave it

    void FTimerTimer(TObject* Sender);
    void RestoreOuterBevel();
    void DropTimer();
    // Shared by Enter and accelerators: press, then drop down or click, then restore.
    void PressAndClick();
};

} // namespace vx::button
