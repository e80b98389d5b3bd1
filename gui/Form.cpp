// SPDX-License-Identifier: MIT
#include "gui/Form.h"

#include "gui/Application.h"
#include "gui/Classes.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/Text.h"

#include <algorithm>

namespace vx {

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    FVisible = false;
    FFont.SetName(u"Tahoma");
    FFont.SetHeight(-11);
    FParentFont = false;
}

TForm::~TForm() {
    // Children refer to the form while they go, so they go before any part of it.
    DestroyComponents();
}

void TForm::InitializeFromDescription() {
    const std::optional<std::string> text = backend::LoadTextResource(ClassName());
    if (!text) {
        throw EFormError(Utf8To16(std::string("Resource ") + ClassName() + " not found"));
    }
    const FormNode root = ParseFormDescription(*text);
    if (root.ClassName != ClassName()) {
        throw EFormError(Utf8To16("The description of " + std::string(ClassName()) +
                                  " is for class " + root.ClassName));
    }
    SetName(root.Name);
    SetLoading();
    TReader reader(*this);
    std::vector<std::pair<TComponent*, const FormNode*>> created{{this, &root}};
    CreateComponents(root, this, reader, created);
    for (const auto& [component, node] : created) {
        for (const FormProperty& p : node->Properties) {
            component->ReadProperty(reader, p.Name, p.Value);
        }
    }
    for (const auto& [name, bind] : FFields) {
        if (!bind(FindComponent(name))) {
            throw EFormError(Utf8To16("The description of " + std::string(ClassName()) +
                                      " has no suitable component " + name));
        }
    }
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        it->first->Loaded();
    }
    if (OnCreate) {
        OnCreate(this);
    }
}

void TForm::CreateComponents(const FormNode& node, TComponent* parent, TReader& reader,
                             std::vector<std::pair<TComponent*, const FormNode*>>& created) {
    for (const FormNode& child : node.Children) {
        FormValue where;
        where.Line = child.Line;
        if (FindComponent(child.Name) != nullptr) {
            reader.Fail(where, "a second component named " + child.Name);
        }
        TComponent* c = CreateComponent(child.ClassName, this);
        if (c == nullptr) {
            reader.Fail(where, "unknown class " + child.ClassName);
        }
        c->SetName(child.Name);
        c->SetLoading();
        if (auto* control = dynamic_cast<TControl*>(c)) {
            auto* container = dynamic_cast<TWinControl*>(parent);
            if (container == nullptr) {
                reader.Fail(where, child.Name + " cannot be placed on " + parent->Name());
            }
            control->SetParent(container);
        } else if (auto* item = dynamic_cast<TMenuItem*>(c)) {
            if (auto* menu = dynamic_cast<TPopupMenu*>(parent)) {
                menu->Add(item);
            } else if (auto* owner = dynamic_cast<TMenuItem*>(parent)) {
                owner->Add(item);
            } else {
                reader.Fail(where, child.Name + " is not inside a menu");
            }
        }
        created.emplace_back(c, &child);
        CreateComponents(child, c, reader, created);
    }
}

backend::WindowParams TForm::FrameParams() const {
    backend::WindowParams p;
    switch (FBorderStyle) {
    case bsNone:
        p.Border = backend::Frame::None;
        break;
    case bsSingle:
    case bsToolWindow:
        p.Border = backend::Frame::Single;
        break;
    case bsDialog:
        p.Border = backend::Frame::Dialog;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        p.Border = backend::Frame::Sizeable;
        break;
    }
    const bool framed = FBorderStyle != bsNone;
    p.SystemMenu = framed && (FBorderIcons & biSystemMenu) != 0;
    p.MinimizeBox = p.SystemMenu && FBorderStyle != bsDialog && (FBorderIcons & biMinimize) != 0;
    p.MaximizeBox = p.SystemMenu && FBorderStyle != bsDialog && (FBorderIcons & biMaximize) != 0;
    return p;
}

void TForm::CreateParams(backend::WindowParams& params) {
    const TForm* main = Application->MainForm();
    params = FrameParams();
    params.Owner = main != nullptr && main != this ? const_cast<TForm*>(main)->Handle() : nullptr;
    params.Bounds = BoundsRect();
    params.Caption = FCaption;
    params.StayOnTop = FFormStyle == fsStayOnTop;
    params.TaskBarButton = main == this && Application->MainFormOnTaskBar;
    params.Alpha = FAlphaBlend ? FAlphaBlendValue : 255;
    params.Background = FColor;
    params.IconResource = FIcon.empty() ? nullptr : FIcon.c_str();
}

void TForm::CreateHandle() {
    TWinControl::CreateHandle();
    HandleResized(); // the window system may have adjusted the frame
    Realign();
}

TRect TForm::ClientRect() const {
    if (FHandle != nullptr) {
        return backend::GetClientRect(FHandle);
    }
    const TRect frame = backend::WindowRectForClient(FrameParams(), {0, 0, 0, 0});
    return {0, 0, std::max(0, FWidth - frame.Width()), std::max(0, FHeight - frame.Height())};
}

TPoint TForm::ClientToScreen(TPoint point) const {
    if (FHandle != nullptr) {
        return backend::ClientToScreen(FHandle, point);
    }
    const TRect frame = backend::WindowRectForClient(FrameParams(), {0, 0, 0, 0});
    return {FLeft - frame.Left + point.X, FTop - frame.Top + point.Y};
}

void TForm::SetClientWidth(int value) {
    const TRect frame = backend::WindowRectForClient(FrameParams(), {0, 0, 0, 0});
    SetWidth(value + frame.Width());
}

void TForm::SetClientHeight(int value) {
    const TRect frame = backend::WindowRectForClient(FrameParams(), {0, 0, 0, 0});
    SetHeight(value + frame.Height());
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (FBorderStyle == value) {
        return;
    }
    const TRect client = ClientRect();
    FBorderStyle = value;
    SetClientWidth(client.Width());
    SetClientHeight(client.Height());
}

void TForm::SetAlphaBlend(bool value) {
    FAlphaBlend = value;
    if (FHandle != nullptr) {
        backend::SetAlpha(FHandle, FAlphaBlend ? FAlphaBlendValue : 255);
    }
}

void TForm::SetAlphaBlendValue(int value) {
    FAlphaBlendValue = std::clamp(value, 0, 255);
    SetAlphaBlend(FAlphaBlend);
}

void TForm::ApplyPosition() {
    if (FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) {
        const TForm* main = Application->MainForm();
        if (main != nullptr && main != this) {
            SetBounds(main->Left() + (main->Width() - FWidth) / 2,
                      main->Top() + (main->Height() - FHeight) / 2, FWidth, FHeight);
        }
    }
}

void TForm::SetVisible(bool value) {
    if (FVisible == value) {
        return;
    }
    FVisible = value;
    if (value) {
        ApplyPosition();
        DoShow();
        backend::ShowWindow(Handle(), true);
        // The first focusable control in tab order takes the focus, else the form itself.
        TWinControl* first = nullptr;
        for (TControl* c : FControls) {
            auto* w = dynamic_cast<TWinControl*>(c);
            if (w != nullptr && w->TabStop() && w->CanFocus() &&
                (first == nullptr || w->TabOrder() < first->TabOrder())) {
                first = w;
            }
        }
        backend::SetFocus(first != nullptr ? first->Handle() : Handle());
    } else {
        DoHide();
        if (FHandle != nullptr) {
            backend::ShowWindow(FHandle, false);
        }
    }
}

void TForm::TextChanged() {
    if (FHandle != nullptr) {
        backend::SetCaption(FHandle, FCaption);
    }
}

void TForm::DoShow() {
    if (OnShow) {
        OnShow(this);
    }
}

void TForm::DoHide() {
    if (OnHide) {
        OnHide(this);
    }
}

TModalResult TForm::ShowModal() {
    if (FVisible || FModal) {
        throw Exception(u"Cannot make a visible window modal");
    }
    // Every other form is disabled for the run, as a modal dialog requires.
    std::vector<TForm*> disabled;
    for (int i = 0; i < Application->ComponentCount(); ++i) {
        auto* form = dynamic_cast<TForm*>(Application->Components(i));
        if (form != nullptr && form != this && form->HandleAllocated() &&
            backend::IsWindowEnabled(form->HandleIfAllocated())) {
            backend::EnableWindow(form->HandleIfAllocated(), false);
            disabled.push_back(form);
        }
    }
    FModal = true;
    FModalResult = mrNone;
    struct Restore {
        TForm& Self;
        std::vector<TForm*>& Disabled;
        ~Restore() {
            Self.FModal = false;
            for (TForm* form : Disabled) {
                if (form->HandleAllocated()) {
                    backend::EnableWindow(form->HandleIfAllocated(), true);
                }
            }
            Self.SetVisible(false);
        }
    } restore{*this, disabled};
    SetVisible(true);
    while (FModalResult == mrNone && !Application->Terminated()) {
        Application->HandleMessage();
    }
    return FModalResult;
}

void TForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) {
        return;
    }
    if (Application->MainForm() == this) {
        Application->Terminate();
    } else {
        Hide();
    }
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) {
        OnCloseQuery(this, canClose);
    }
    return canClose;
}

TCanvas& TForm::Canvas() {
    return ControlCanvas();
}

void TForm::PreviewKeyDown(uint16_t& key, TShiftState shift) {
    KeyDown(key, shift);
}

void TForm::PreviewChar(char16_t& key) {
    KeyPress(key);
}

namespace {

// Focusable controls in tab order, parents before their children; equal orders keep their
// order of creation.
void CollectTabStops(const TWinControl& parent, std::vector<TWinControl*>& out) {
    std::vector<TWinControl*> children;
    for (int i = 0; i < parent.ControlCount(); ++i) {
        if (auto* w = dynamic_cast<TWinControl*>(parent.Controls(i))) {
            children.push_back(w);
        }
    }
    std::stable_sort(
        children.begin(), children.end(),
        [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* w : children) {
        if (w->TabStop() && w->CanFocus()) {
            out.push_back(w);
        }
        CollectTabStops(*w, out);
    }
}

} // namespace

void TForm::SelectNext(bool forward) {
    std::vector<TWinControl*> order;
    CollectTabStops(*this, order);
    if (order.empty()) {
        return;
    }
    const auto current = std::find(order.begin(), order.end(), FActiveControl);
    size_t next = 0;
    if (current != order.end()) {
        const size_t at = size_t(current - order.begin());
        next = forward ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
    } else if (!forward) {
        next = order.size() - 1;
    }
    order[next]->SetFocus();
}

void TForm::DialogKey(uint16_t& key, TShiftState shift) {
    constexpr uint16_t Tab = 0x09;
    constexpr uint16_t Return = 0x0D;
    constexpr uint16_t Escape = 0x1B;
    if (key != Tab && key != Return && key != Escape) {
        return;
    }
    if (Perform(CM_DIALOGKEY, key, intptr_t(shift)) != 0) {
        key = 0;
        return;
    }
    if (key == Tab && (shift & (ssAlt | ssCtrl)) == 0) {
        key = 0;
        SelectNext((shift & ssShift) == 0);
    }
}

bool TForm::DialogChar(char16_t ch) {
    return ch != 0 && Perform(CM_DIALOGCHAR, ch) != 0;
}

void TForm::FocusChanged(TWinControl* control) {
    TWinControl* old = FActiveControl;
    if (control == this) {
        control = nullptr; // the form itself is not one of its controls
    }
    if (old == control) {
        return; // the form got the focus back, as after another window had it
    }
    // The innermost control that contains both the old and the new focus, if any.
    auto contains = [](const TControl* outer, const TControl* inner) {
        for (const TControl* c = inner; c != nullptr; c = c->Parent()) {
            if (c == outer) {
                return true;
            }
        }
        return false;
    };
    TWinControl* common = old;
    while (common != nullptr && common != this && !contains(common, control)) {
        common = common->Parent();
    }
    if (common == this) {
        common = nullptr;
    }
    if (FActiveControl != nullptr) {
        FActiveControl->RemoveFreeNotification(this);
    }
    FActiveControl = control;
    if (control != nullptr) {
        control->FreeNotification(this);
    }
    for (TWinControl* c = old; c != nullptr && c != common && c != this; c = c->Parent()) {
        c->HandleFocusOut();
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(control)));
    std::vector<TWinControl*> entered;
    for (TWinControl* c = control; c != nullptr && c != common && c != this; c = c->Parent()) {
        entered.push_back(c);
    }
    for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
        (*it)->HandleFocusIn();
    }
}

void TForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FActiveControl) {
        FActiveControl = nullptr;
    }
}

void TForm::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "BorderStyle") {
        SetBorderStyle(
            TFormBorderStyle(reader.Enum(value, {"bsNone", "bsSingle", "bsSizeable", "bsDialog",
                                                 "bsToolWindow", "bsSizeToolWin"})));
    } else if (name == "BorderIcons") {
        SetBorderIcons(reader.Flags(value, {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}));
    } else if (name == "FormStyle") {
        SetFormStyle(
            TFormStyle(reader.Enum(value, {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"})));
    } else if (name == "Position") {
        SetPosition(
            TPosition(reader.Enum(value, {"poDesigned", "poDefault", "poDefaultPosOnly",
                                          "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
                                          "poMainFormCenter", "poOwnerFormCenter"})));
    } else if (name == "AlphaBlend") {
        SetAlphaBlend(reader.Boolean(value));
    } else if (name == "AlphaBlendValue") {
        SetAlphaBlendValue(reader.Integer(value));
    } else if (name == "KeyPreview") {
        SetKeyPreview(reader.Boolean(value));
    } else if (name == "Icon") {
        FIcon = reader.Ident(value);
    } else if (name == "ClientWidth") {
        SetClientWidth(reader.Integer(value));
    } else if (name == "ClientHeight") {
        SetClientHeight(reader.Integer(value));
    } else if (name == "PopupMode") {
        reader.Enum(value, {"pmNone", "pmAuto", "pmExplicit"});
    } else if (name == "PixelsPerInch" || name == "TextHeight") {
        reader.Integer(value); // designed at 96 dpi; nothing is scaled
    } else if (name == "OldCreateOrder" || name == "Scaled" || name == "HorzScrollBar.Visible" ||
               name == "VertScrollBar.Visible") {
        reader.Boolean(value);
    } else if (name == "OnCreate") {
        OnCreate = reader.Handler<TNotifyEvent>(value);
    } else if (name == "OnShow") {
        OnShow = reader.Handler<TNotifyEvent>(value);
    } else if (name == "OnHide") {
        OnHide = reader.Handler<TNotifyEvent>(value);
    } else if (name == "OnCloseQuery") {
        OnCloseQuery = reader.Handler<TCloseQueryEvent>(value);
    } else {
        TWinControl::ReadProperty(reader, name, value);
    }
}

} // namespace vx
