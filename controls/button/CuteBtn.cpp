// SPDX-License-Identifier: MIT
#include "controls/button/CuteBtn.h"

#include "gui/Application.h"
#include "gui/FormReader.h"
#include "gui/StdCtrls.h"
#include "gui/Text.h"

namespace vx::button {
namespace {

constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_ESCAPE = 0x1B;

uint32_t TextFlags(TAlignment alignment, TTextLayout layout) {
    uint32_t flags = backend::TextSingleLine;
    if (alignment == taRightJustify) {
        flags |= backend::TextRight;
    } else if (alignment == taCenter) {
        flags |= backend::TextCenter;
    }
    if (layout == tlCenter) {
        flags |= backend::TextVCenter;
    } else if (layout == tlBottom) {
        flags |= backend::TextBottom;
    }
    return flags;
}

} // namespace

TCuteButton::TCuteButton(TComponent* AOwner)
    : TCustomPanel(AOwner), FPicture(std::make_unique<TPicture>()) {
    // No child controls, and a quick second click is a second press, not a double click.
    FControlStyle &= ~(csAcceptsControls | csDoubleClicks);
    SetBevelOuter(bvNone);
    SetBevelInner(bvRaised);
    SetBounds(FLeft, FTop, 75, 25);
    FTabStop = true;
    FCaption.clear();
}

TCuteButton::~TCuteButton() {
    SetDropDownMenu(nullptr);
}

// Properties

void TCuteButton::SetBevelHighlightColor(TColor value) {
    if (FBevelHighlightColor != value) {
        FBevelHighlightColor = value;
        Invalidate();
    }
}

void TCuteButton::SetBevelShadowColor(TColor value) {
    if (FBevelShadowColor != value) {
        FBevelShadowColor = value;
        Invalidate();
    }
}

void TCuteButton::SetDisabledColor(TColor value) {
    if (FDisabledColor != value) {
        FDisabledColor = value;
        if (!Enabled()) {
            Invalidate();
        }
    }
}

void TCuteButton::SetUseDisabledColor(bool value) {
    if (FUseDisabledColor != value) {
        FUseDisabledColor = value;
        if (!Enabled()) {
            Invalidate();
        }
    }
}

void TCuteButton::SetDropDownMenu(TPopupMenu* value) {
    if (FDropDownMenu == value) {
        return;
    }
    // A plain reference, kept valid: the menu tells us when it goes.
    if (FDropDownMenu != nullptr) {
        FDropDownMenu->RemoveFreeNotification(this);
    }
    FDropDownMenu = value;
    if (FDropDownMenu != nullptr) {
        FDropDownMenu->FreeNotification(this);
    }
    Invalidate();
}

void TCuteButton::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu) {
        FDropDownMenu = nullptr;
    }
    if (Operation == opRemove && AComponent == FTimer) {
        FTimer = nullptr;
    }
}

void TCuteButton::SetFlat(bool value) {
    if (FFlat != value) {
        FFlat = value;
        SetBevelInner(value ? bvNone : bvRaised);
    }
}

void TCuteButton::SetLayout(TTextLayout value) {
    if (FLayout != value) {
        FLayout = value;
        Invalidate();
    }
}

void TCuteButton::SetMarginX(int value) {
    value = std::max(value, -1);
    if (FMarginX != value) {
        FMarginX = value;
        Invalidate();
    }
}

void TCuteButton::SetMarginY(int value) {
    value = std::max(value, -1);
    if (FMarginY != value) {
        FMarginY = value;
        Invalidate();
    }
}

void TCuteButton::SetShowFocusRect(bool value) {
    if (FShowFocusRect != value) {
        FShowFocusRect = value;
        Invalidate();
    }
}

void TCuteButton::SetPicture(const TPicture& value) {
    if (&value != FPicture.get()) {
        FPicture->Assign(value);
        Invalidate();
    }
}

void TCuteButton::SetGrpLeftSpace(int value) {
    FGrpLeftSpace = value;
    Invalidate();
}

void TCuteButton::SetGrpRightSpace(int value) {
    FGrpRightSpace = value;
    Invalidate();
}

void TCuteButton::SetDefault(bool value) {
    FDefault = value;
    TForm* form = ParentForm();
    if (HandleAllocated() && form != nullptr) {
        form->Perform(CM_FOCUSCHANGED, 0,
                      reinterpret_cast<intptr_t>(static_cast<TControl*>(form->ActiveControl())));
    }
}

void TCuteButton::SetDown(bool value) {
    if (!FIsSpeedButton) {
        return;
    }
    SetBevelOuter(value ? bvLowered : bvRaised);
    SetBevelInner(bvLowered);
    FDown = value;
}

void TCuteButton::CreateWnd() {
    TCustomPanel::CreateWnd();
    FActive = FDefault;
}

// Clicks

void TCuteButton::Click() {
    if (FDroppedDown) {
        FDroppedDown = false; // the release that opened the menu: no click
        return;
    }
    if (!FEgnoreContClick) {
        TCustomPanel::Click();
        return;
    }
    // Clicks that queue up while the handler runs are dispatched with no handler attached.
    TNotifyEvent handler = std::move(OnClick);
    OnClick = nullptr;
    TCustomPanel::Click();
    if (handler) {
        handler(this);
        Application->ProcessMessages();
    }
    OnClick = std::move(handler);
}

void TCuteButton::RestoreOuterBevel() {
    SetBevelOuter(FTabFocusUp ? bvRaised : bvNone);
}

void TCuteButton::PressAndClick() {
    SetBevelOuter(bvLowered);
    if (FDropDownMenu != nullptr && FDropDownDelay == 0) {
        DropDown();
    } else {
        Click();
    }
    RestoreOuterBevel();
}

// Mouse

void TCuteButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus()) {
        SetFocus();
    }
    if (Button == mbLeft) {
        if (!FIsSpeedButton || !FDown) {
            FBevelInnerTmp = BevelInner();
            FBevelOuterTmp = BevelOuter();
            FPressSaved = true;
            if (FIsSpeedButton) {
                SetBevelInner(bvLowered);
            }
            SetBevelOuter(bvLowered);
            SetDown(true);
        } else {
            SetDown(false);
            MouseUp(Button, Shift, X, Y);
        }
    }
    TCustomPanel::MouseDown(Button, Shift, X, Y);
    if (FDropDownMenu != nullptr && Button == mbLeft) {
        FDropByKey = false;
        DoDropDown();
    }
}

void TCuteButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // A push button shows its press until the release; a speed button comes back up only
    // when the press has just released it.
    const bool restore = !FIsSpeedButton || !FDown;
    if (Button == mbLeft && restore && FPressSaved) {
        const TForm* form = ParentForm();
        const bool active = FTabFocusUp && form != nullptr && form->ActiveControl() == this;
        if (ClientRect().Contains({X, Y}) || active) {
            SetBevelInner(FBevelInnerTmp);
            SetBevelOuter(FBevelOuterTmp);
            FPressSaved = false;
        }
    }
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    DropTimer();
    SetMouseCapture(false);
}

void TCuteButton::CMMouseEnter(TMessage& message) {
    TCustomPanel::CMMouseEnter(message);
    const TPoint p = ScreenToClient(backend::GetCursorPos());
    MouseEnter(backend::GetShiftState() & (ssShift | ssAlt | ssCtrl | ssLeft | ssRight | ssMiddle),
               p.X, p.Y);
}

void TCuteButton::CMMouseLeave(TMessage& message) {
    TCustomPanel::CMMouseLeave(message);
    const TPoint p = ScreenToClient(backend::GetCursorPos());
    MouseLeave(backend::GetShiftState() & (ssShift | ssAlt | ssCtrl | ssLeft | ssRight | ssMiddle),
               p.X, p.Y);
}

void TCuteButton::MouseEnter(TShiftState Shift, int X, int Y) {
    if (auto* form = dynamic_cast<TForm*>(Owner());
        form != nullptr && form->ActiveControl() != nullptr && form->ActiveControl()->Dragging()) {
        return;
    }
    if (OnMouseEnter) {
        OnMouseEnter(this, Shift, X, Y);
    }
    if (FUseMouseColor) {
        SetColor(FMouseEnterColor);
    }
}

void TCuteButton::MouseLeave(TShiftState Shift, int X, int Y) {
    if (OnMouseLeave) {
        OnMouseLeave(this, Shift, X, Y);
    }
    if (!Focused() || !FTabFocusUp) {
        SetBevelOuter(bvNone);
    }
    if (FUseMouseColor) {
        SetColor(FMouseLeaveColor);
    }
}

// Keyboard

void TCuteButton::KeyDown(uint16_t& Key, TShiftState Shift) {
    TCustomPanel::KeyDown(Key, Shift);
    if (!Enabled()) {
        return;
    }
    if (Key == VK_SPACE) {
        FSpaceDown = true;
        SetBevelOuter(bvLowered);
        if (FDropDownMenu != nullptr) {
            FDropByKey = true;
            DoDropDown();
        }
    } else if (Key == VK_RETURN) {
        PressAndClick();
    } else if (FSpaceDown) {
        FSpaceDown = false; // the space press is cancelled without a click
        RestoreOuterBevel();
    }
}

void TCuteButton::KeyUp(uint16_t& Key, TShiftState Shift) {
    TCustomPanel::KeyUp(Key, Shift);
    DropTimer();
    if (FSpaceDown && Key == VK_SPACE) {
        FSpaceDown = false;
        Click();
        RestoreOuterBevel();
    }
}

void TCuteButton::CMDialogChar(TMessage& message) {
    if (IsAccel(char16_t(message.WParam), FCaption) && Enabled() && FParent != nullptr &&
        FParent->Showing()) {
        PressAndClick();
        message.Result = 1;
        return;
    }
    TCustomPanel::CMDialogChar(message);
}

void TCuteButton::CMDialogKey(TMessage& message) {
    const auto key = uint16_t(message.WParam);
    const auto shift = TShiftState(message.LParam);
    if (((key == VK_RETURN && FActive) || (key == VK_ESCAPE && FCancel)) &&
        (shift & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
        Click(); // never a drop-down
        message.Result = 1;
        return;
    }
    TCustomPanel::CMDialogKey(message);
}

void TCuteButton::CMFocusChanged(TMessage& message) {
    auto* focused = reinterpret_cast<TControl*>(message.LParam);
    // A focused platform push button takes Enter; a cute button is never one.
    FActive = dynamic_cast<TButton*>(focused) != nullptr ? false : FDefault;
    TCustomPanel::CMFocusChanged(message);
}

void TCuteButton::CMEnabledChanged(TMessage& message) {
    TCustomPanel::CMEnabledChanged(message);
    Invalidate();
}

// Focus

void TCuteButton::DoEnter() {
    if (FTabFocusUp) {
        SetBevelOuter(bvRaised);
    }
    TCustomPanel::DoEnter();
}

void TCuteButton::DoExit() {
    TCustomPanel::DoExit();
    SetBevelOuter(bvNone);
}

// Drop-down

void TCuteButton::DropTimer() {
    if (FTimer != nullptr) {
        TCuteButtonTimer* timer = FTimer;
        FTimer = nullptr;
        delete timer;
    }
}

void TCuteButton::DoDropDown() {
    if (FDropDownDelay <= 0) {
        DropDown();
        return;
    }
    if (FTimer != nullptr) {
        return; // one delay at a time; a repeated key does not restart it
    }
    FTimer = new TCuteButtonTimer(this);
    FTimer->FCuteButton = this;
    FTimer->SetInterval(uint32_t(FDropDownDelay));
    FTimer->SetOnTimer([this](TObject* sender) { FTimerTimer(sender); });
    FTimer->SetEnabled(true);
}

void TCuteButton::FTimerTimer(TObject* Sender) {
    auto* timer = dynamic_cast<TCuteButtonTimer*>(Sender);
    if (timer == nullptr) {
        throw Exception(u"Invalid class typecast");
    }
    TCuteButton* button = timer->FCuteButton;
    button->FTimer = nullptr; // it fires once
    delete timer;
    if (button->FDropByKey) {
        button->DropDown();
    } else if (button->MouseCapture()) {
        button->DropDown();
        button->SetMouseCapture(false);
    }
}

void TCuteButton::DropDown() {
    if (FDropDownMenu == nullptr) {
        return;
    }
    const TPoint p = ClientToScreen({0, Height()});
    FDroppedDown = true;
    // A release of the press that opened the menu, already queued, is swallowed now.
    Application->ProcessMessages();
    if (FDropDownMenu != nullptr) {
        FDropDownMenu->SetPopupComponent(this);
        FDropDownMenu->Popup(p.X, p.Y);
    }
    if (FDropByKey) {
        uint16_t key = VK_SPACE;
        KeyUp(key, 0);
    } else {
        MouseUp(mbLeft, 0, 0, 0);
    }
    FDroppedDown = false;
}

// Painting

void TCuteButton::Paint() {
    TCanvas& c = Canvas();
    const TRect client = ClientRect();
    TRect r = client;
    const TColor face = FUseDisabledColor && !Enabled() ? FDisabledColor : Color();
    c.Brush.SetColor(face);
    c.Brush.SetStyle(bsSolid);
    c.FillRect(r);
    const int w = BevelWidth();
    for (TBevelCut cut : {BevelOuter(), BevelInner()}) {
        if (cut == bvRaised) {
            c.Frame3D(r, FBevelHighlightColor, FBevelShadowColor, w);
        } else if (cut == bvLowered) {
            c.Frame3D(r, FBevelShadowColor, FBevelHighlightColor, w);
        }
    }
    const int d = FFlat ? w : 2 * w;
    TRect t{client.Left + d, client.Top + d, client.Right - d, client.Bottom - d};
    if (FMarginX != -1) {
        if (Alignment() == taLeftJustify) {
            t.Left += FMarginX;
        } else if (Alignment() == taRightJustify) {
            t.Right -= FMarginX;
        }
    }
    if (FMarginY != -1) {
        if (FLayout == tlTop) {
            t.Top += FMarginY;
        } else if (FLayout == tlBottom) {
            t.Bottom -= FMarginY;
        }
    }
    if (BevelOuter() == bvLowered) { // pressed
        t.Left += 2;
        t.Top += 2;
    }
    const uint32_t flags = TextFlags(Alignment(), FLayout);
    c.Font.Assign(Font());
    if (!Enabled()) { // embossed
        c.Font.SetColor(clBtnHighlight);
        c.TextRect({t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1}, FCaption, flags);
        c.Font.SetColor(clBtnShadow);
    }
    if (FPicture->HasBitmap()) {
        const TBitmap& picture = *FPicture->BitmapIfAny();
        const int pw = picture.Width();
        const int ph = picture.Height();
        const int tw = c.TextExtent(FCaption).X;
        const int py = (t.Top + t.Bottom) / 2 - ph / 2; // centred whatever the layout
        int px = 0;
        switch (Alignment()) {
        case taLeftJustify:
            px = t.Left + FGrpLeftSpace;
            c.DrawTransparent(px, py, picture);
            t.Left = px + pw + FGrpRightSpace;
            break;
        case taCenter:
            t.Left += pw / 2;
            t.Right += pw / 2;
            px = t.Left + (t.Right - t.Left - tw) / 2 - pw + FGrpLeftSpace;
            c.DrawTransparent(px, py, picture);
            t.Left += FGrpRightSpace;
            t.Right += FGrpRightSpace;
            break;
        case taRightJustify:
            px = t.Right - tw - pw + FGrpLeftSpace;
            c.DrawTransparent(px, py, picture);
            t.Left += FGrpRightSpace;
            t.Right += FGrpRightSpace;
            break;
        }
    }
    c.TextRect(t, FCaption, flags);
    if (FShowFocusRect && Focused()) {
        c.DrawFocusRect({t.Left + 2, t.Top + 2, t.Right - 2, t.Bottom - 2});
    }
}

// Form descriptions

void TCuteButton::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "BevelHighlightColor") {
        SetBevelHighlightColor(reader.Color(value));
    } else if (name == "BevelShadowColor") {
        SetBevelShadowColor(reader.Color(value));
    } else if (name == "DisabledColor") {
        SetDisabledColor(reader.Color(value));
    } else if (name == "UseDisabledColor") {
        SetUseDisabledColor(reader.Boolean(value));
    } else if (name == "DropDownDelay") {
        SetDropDownDelay(reader.Integer(value));
    } else if (name == "DropDownMenu") {
        auto* menu = dynamic_cast<TPopupMenu*>(reader.Reference(value));
        if (menu == nullptr) {
            reader.Fail(value, value.Ident + " is not a popup menu");
        }
        SetDropDownMenu(menu);
    } else if (name == "EgnoreContClick") {
        SetEgnoreContClick(reader.Boolean(value));
    } else if (name == "Flat") {
        SetFlat(reader.Boolean(value));
    } else if (name == "Layout") {
        SetLayout(TTextLayout(reader.Enum(value, {"tlTop", "tlCenter", "tlBottom"})));
    } else if (name == "MarginX") {
        SetMarginX(reader.Integer(value));
    } else if (name == "MarginY") {
        SetMarginY(reader.Integer(value));
    } else if (name == "ShowFocusRect") {
        SetShowFocusRect(reader.Boolean(value));
    } else if (name == "TabFocusUp") {
        SetTabFocusUp(reader.Boolean(value));
    } else if (name == "GrpLeftSpace") {
        SetGrpLeftSpace(reader.Integer(value));
    } else if (name == "GrpRightSpace") {
        SetGrpRightSpace(reader.Integer(value));
    } else if (name == "Cancel") {
        SetCancel(reader.Boolean(value));
    } else if (name == "Default") {
        SetDefault(reader.Boolean(value));
    } else if (name == "UseMouseColor") {
        SetUseMouseColor(reader.Boolean(value));
    } else if (name == "MouseEnterColor") {
        SetMouseEnterColor(reader.Color(value));
    } else if (name == "MouseLeaveColor") {
        SetMouseLeaveColor(reader.Color(value));
    } else if (name == "IsSpeedButton") {
        SetIsSpeedButton(reader.Boolean(value));
    } else if (name == "Down") {
        FDownStored = reader.Boolean(value); // applied once IsSpeedButton is known
    } else if (name == "OnMouseEnter") {
        OnMouseEnter = reader.Handler<TMouseMoveEvent>(value);
    } else if (name == "OnMouseLeave") {
        OnMouseLeave = reader.Handler<TMouseMoveEvent>(value);
    } else {
        TCustomPanel::ReadProperty(reader, name, value);
    }
}

void TCuteButton::Loaded() {
    TCustomPanel::Loaded();
    if (FDownStored) {
        SetDown(true);
    }
}

} // namespace vx::button
