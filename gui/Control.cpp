// SPDX-License-Identifier: MIT
#include "gui/Control.h"

#include "gui/DragDrop.h"
#include "gui/Form.h"
#include "gui/FormReader.h"
#include "gui/Menus.h"

#include <algorithm>
#include <unordered_map>

namespace vx {
namespace {

std::unordered_map<wapi::HWND, TWinControl*>& Windows() {
    // Never destroyed: windows may be destroyed while the process shuts down.
    static auto& windows = *new std::unordered_map<wapi::HWND, TWinControl*>;
    return windows;
}

} // namespace

TWinControl* FindControl(wapi::HWND window) {
    auto it = Windows().find(window);
    return it == Windows().end() ? nullptr : it->second;
}

// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    FFont.OnChange = [this] {
        FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    SetPopupMenu(nullptr);
    if (FParent != nullptr) {
        FParent->RemoveControl(this);
    }
}

void TControl::SetParent(TWinControl* parent) {
    if (FParent == parent) {
        return;
    }
    if (FParent != nullptr) {
        FParent->RemoveControl(this);
    }
    if (parent != nullptr) {
        parent->InsertControl(this);
        if (FParentFont) {
            ParentFontChanged();
        }
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) {
        return;
    }
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    Invalidate();
}

TPoint TControl::ClientToScreen(TPoint point) const {
    if (FParent == nullptr) {
        return {point.X + FLeft, point.Y + FTop};
    }
    return FParent->ClientToScreen({point.X + FLeft, point.Y + FTop});
}

TPoint TControl::ScreenToClient(TPoint point) const {
    const TPoint origin = ClientToScreen({0, 0});
    return {point.X - origin.X, point.Y - origin.Y};
}

void TControl::SetAlign(TAlign value) {
    if (FAlign != value) {
        FAlign = value;
        if (FParent != nullptr) {
            FParent->Realign();
        }
    }
}

void TControl::SetVisible(bool value) {
    if (FVisible != value) {
        FVisible = value;
        if (FParent != nullptr) {
            FParent->Invalidate();
        }
    }
}

bool TControl::Showing() const {
    return FVisible && (FParent == nullptr || FParent->Showing());
}

void TControl::SetEnabled(bool value) {
    if (FEnabled != value) {
        FEnabled = value;
        Perform(CM_ENABLEDCHANGED);
    }
}

intptr_t TControl::Perform(uint32_t msg, intptr_t wParam, intptr_t lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGKEY:
        CMDialogKey(message);
        break;
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        break;
    case CM_FOCUSCHANGED:
        CMFocusChanged(message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(message);
        break;
    case CM_MOUSEENTER:
        CMMouseEnter(message);
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave(message);
        break;
    default:
        break;
    }
}

void TControl::CMDialogKey(TMessage&) {}
void TControl::CMDialogChar(TMessage&) {}
void TControl::CMFocusChanged(TMessage&) {}
void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}
void TControl::CMMouseEnter(TMessage&) {}
void TControl::CMMouseLeave(TMessage&) {}

void TControl::SetCaption(const std::u16string& value) {
    if (FCaption != value) {
        FCaption = value;
        TextChanged();
    }
}

void TControl::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        Invalidate();
    }
}

void TControl::SetParentFont(bool value) {
    if (FParentFont != value) {
        FParentFont = value;
        if (value) {
            ParentFontChanged();
        }
    }
}

void TControl::ParentFontChanged() {
    if (FParentFont && FParent != nullptr) {
        FFont.Assign(FParent->Font());
        FParentFont = true; // assigning the parent's font is not a change of our own
    }
}

void TControl::SetPopupMenu(TPopupMenu* value) {
    if (FPopupMenu == value) {
        return;
    }
    if (FPopupMenu != nullptr) {
        FPopupMenu->RemoveFreeNotification(this);
    }
    FPopupMenu = value;
    if (FPopupMenu != nullptr) {
        FPopupMenu->FreeNotification(this);
    }
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) {
        FPopupMenu = nullptr;
    }
}

void TControl::Invalidate() {
    if (FParent != nullptr) {
        FParent->Invalidate();
    }
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->FParent != nullptr) {
        c = c->FParent;
    }
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        FMouseDownLeft = true;
    }
    MouseDown(button, shift, x, y);
}

void TControl::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool click = button == mbLeft && FMouseDownLeft && ClientRect().Contains({x, y});
    if (button == mbLeft) {
        FMouseDownLeft = false;
    }
    MouseUp(button, shift, x, y);
    if (click) {
        Click();
    }
}

void TControl::HandleMouseMove(TShiftState shift, int x, int y) {
    MouseMove(shift, x, y);
}

void TControl::HandleDoubleClick(TShiftState shift, int x, int y) {
    // The release that follows is not a click of its own: the double click was.
    FMouseDownLeft = false;
    DblClick();
    MouseDown(mbLeft, shift | ssDouble, x, y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) {
        OnMouseDown(this, Button, Shift, X, Y);
    }
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) {
        OnMouseUp(this, Button, Shift, X, Y);
    }
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) {
        OnMouseMove(this, Shift, X, Y);
    }
}

void TControl::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TControl::DblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TControl::BeginDrag(bool Immediate, int Threshold) {
    DragObject::Begin(this, Immediate, Threshold);
}

bool TControl::Dragging() const {
    return DragObject::Source() == this;
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (OnDragOver) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop) {
        OnDragDrop(this, Source, X, Y);
    }
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (OnEndDrag) {
        OnEndDrag(this, Target, X, Y);
    }
}

void TControl::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Left") {
        SetLeft(reader.Integer(value));
    } else if (name == "Top") {
        SetTop(reader.Integer(value));
    } else if (name == "Width") {
        SetWidth(reader.Integer(value));
    } else if (name == "Height") {
        SetHeight(reader.Integer(value));
    } else if (name == "Visible") {
        SetVisible(reader.Boolean(value));
    } else if (name == "Enabled") {
        SetEnabled(reader.Boolean(value));
    } else if (name == "Caption") {
        SetCaption(reader.String(value));
    } else if (name == "Color") {
        SetColor(reader.Color(value));
    } else if (name.starts_with("Font.")) {
        FFont.ReadProperty(reader, name.substr(5), value);
    } else if (name == "ParentFont") {
        SetParentFont(reader.Boolean(value));
    } else if (name == "Align") {
        SetAlign(TAlign(
            reader.Enum(value, {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"})));
    } else if (name == "PopupMenu") {
        auto* menu = dynamic_cast<TPopupMenu*>(reader.Reference(value));
        if (menu == nullptr) {
            reader.Fail(value, value.Ident + " is not a popup menu");
        }
        SetPopupMenu(menu);
    } else if (name == "Hint") {
        FHint = reader.String(value);
    } else if (name == "ShowHint") {
        FShowHint = reader.Boolean(value);
        FParentShowHint = false;
    } else if (name == "ParentShowHint") {
        FParentShowHint = reader.Boolean(value);
    } else if (name == "OnClick") {
        OnClick = reader.Handler<TNotifyEvent>(value);
    } else if (name == "OnDblClick") {
        OnDblClick = reader.Handler<TNotifyEvent>(value);
    } else if (name == "OnMouseDown") {
        OnMouseDown = reader.Handler<TMouseEvent>(value);
    } else if (name == "OnMouseUp") {
        OnMouseUp = reader.Handler<TMouseEvent>(value);
    } else if (name == "OnMouseMove") {
        OnMouseMove = reader.Handler<TMouseMoveEvent>(value);
    } else if (name == "OnDragOver") {
        OnDragOver = reader.Handler<TDragOverEvent>(value);
    } else if (name == "OnDragDrop") {
        OnDragDrop = reader.Handler<TDragDropEvent>(value);
    } else if (name == "OnEndDrag") {
        OnEndDrag = reader.Handler<TEndDragEvent>(value);
    } else {
        TComponent::ReadProperty(reader, name, value);
    }
}

// TGraphicControl

void TGraphicControl::Invalidate() {
    if (FParent != nullptr && FVisible) {
        FParent->Invalidate();
    }
}

void TGraphicControl::PaintOn(TCanvas& canvas) {
    Paint(canvas);
}

// TWinControl

// Takes its window's device context on first use and keeps it: the windows' class gives each
// window a context of its own, so keeping it is allowed.
class TWinControl::WindowCanvas : public TCanvas {
public:
    explicit WindowCanvas(TWinControl& control) : FControl(control) {}
    ~WindowCanvas() override { Release(); }
    wapi::HDC Handle() override {
        if (FHandle == nullptr) {
            FHandle = wapi::GetDC(FControl.Handle());
            FOwned = true;
        }
        return FHandle;
    }
    void Release() {
        if (FOwned && FHandle != nullptr && FControl.HandleIfAllocated() != nullptr) {
            wapi::ReleaseDC(FControl.HandleIfAllocated(), FHandle);
        }
        FHandle = nullptr;
        FOwned = false;
    }

private:
    TWinControl& FControl;
    bool FOwned = false;
};

TCanvas& TWinControl::ControlCanvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<WindowCanvas>(*this);
    }
    return *FCanvas;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    FControlStyle |= csAcceptsControls;
    FBrush.SetColor(FColor);
    FBrush.OnChange = [this] { BrushChanged(); };
}

void TWinControl::SetColor(TColor value) {
    TControl::SetColor(value);
    FBrush.SetColor(value);
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* child : std::vector<TControl*>(FControls)) {
        child->WndProc(message);
        if (message.Result != 0) {
            return;
        }
    }
}

void TWinControl::CMDialogKey(TMessage& message) {
    Broadcast(message);
}
void TWinControl::CMDialogChar(TMessage& message) {
    Broadcast(message);
}
void TWinControl::CMFocusChanged(TMessage& message) {
    Broadcast(message);
}

TWinControl::~TWinControl() {
    for (TControl* child : FControls) {
        child->FParent = nullptr;
    }
    FControls.clear();
    FCanvas.reset();
    DestroyHandle();
}

wapi::HWND TWinControl::Handle() {
    if (FHandle == nullptr) {
        CreateHandle();
    }
    return FHandle;
}

void TWinControl::CreateParams(backend::WindowParams& params) {
    params.Parent = FParent != nullptr ? FParent->Handle() : nullptr;
    params.Bounds = BoundsRect();
    params.Caption = FCaption;
    params.Border = backend::Frame::None;
    params.Background = FColor;
}

void TWinControl::CreateHandle() {
    backend::WindowParams params;
    CreateParams(params);
    if (FHandle != nullptr) { // creating the parent created us as well
        return;
    }
    FHandle = backend::CreateWindow(params);
    Windows()[FHandle] = this;
    if (!FEnabled) {
        backend::EnableWindow(FHandle, false);
    }
    for (TControl* child : FControls) {
        if (auto* win = dynamic_cast<TWinControl*>(child)) {
            win->Handle();
        }
    }
    if (FParent != nullptr && FVisible) {
        backend::ShowWindow(FHandle, true);
    }
    CreateWnd();
}

void TWinControl::DestroyHandle() {
    if (FHandle == nullptr) {
        return;
    }
    for (TControl* child : FControls) {
        if (auto* win = dynamic_cast<TWinControl*>(child)) {
            win->DestroyHandle();
        }
    }
    Windows().erase(FHandle);
    backend::DestroyWindow(FHandle);
    FHandle = nullptr;
}

void TWinControl::InsertControl(TControl* control) {
    control->FParent = this;
    FControls.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control); win != nullptr && FHandle != nullptr) {
        win->Handle();
    }
    if (control->FAlign != alNone) {
        Realign();
    }
    Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        win->DestroyHandle();
    }
    std::erase(FControls, control);
    control->FParent = nullptr;
    Invalidate();
}

TControl* TWinControl::ControlAtPos(TPoint point, bool allowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(point)) {
            return c;
        }
    }
    return nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != FWidth || height != FHeight;
    if (left == FLeft && top == FTop && !resized) {
        return;
    }
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FHandle != nullptr) {
        backend::SetWindowBounds(FHandle, BoundsRect());
    }
    if (resized) {
        Realign();
    }
}

void TWinControl::SetVisible(bool value) {
    if (FVisible == value) {
        return;
    }
    FVisible = value;
    if (FHandle != nullptr) {
        backend::ShowWindow(FHandle, value);
    }
}

void TWinControl::SetEnabled(bool value) {
    if (FEnabled != value) {
        FEnabled = value;
        if (FHandle != nullptr) {
            backend::EnableWindow(FHandle, value);
        }
        Perform(CM_ENABLEDCHANGED);
    }
}

TRect TWinControl::ClientRect() const {
    if (FHandle != nullptr) {
        return backend::GetClientRect(FHandle);
    }
    return {0, 0, FWidth, FHeight};
}

TPoint TWinControl::ClientToScreen(TPoint point) const {
    if (FHandle != nullptr) {
        return backend::ClientToScreen(FHandle, point);
    }
    return TControl::ClientToScreen(point);
}

void TWinControl::Invalidate() {
    if (FHandle != nullptr) {
        backend::Invalidate(FHandle);
    }
}

bool TWinControl::Focused() const {
    return FHandle != nullptr && backend::GetFocus() == FHandle;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c != nullptr; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) {
            return false;
        }
    }
    return true;
}

void TWinControl::SetFocus() {
    backend::SetFocus(Handle());
}

void TWinControl::HandlePaint(wapi::HDC dc) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    PaintWindow(canvas);
}

void TWinControl::PaintWindow(TCanvas& canvas) {
    canvas.Brush.SetColor(FColor);
    canvas.FillRect(ClientRect());
    for (TControl* c : FControls) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (g != nullptr && g->Visible()) {
            canvas.SetOrigin({g->Left(), g->Top()});
            canvas.Font.Assign(g->Font());
            g->PaintOn(canvas);
            canvas.SetOrigin({});
        }
    }
}

void TWinControl::HandleResized() {
    if (FHandle != nullptr) {
        const TRect r = backend::GetWindowBounds(FHandle);
        const bool resized = r.Width() != FWidth || r.Height() != FHeight;
        FLeft = r.Left;
        FTop = r.Top;
        FWidth = r.Width();
        FHeight = r.Height();
        if (resized) {
            Realign();
        }
    }
}

void TWinControl::Realign() {
    const TRect client = ClientRect();
    for (TControl* c : FControls) {
        if (c->FAlign == alClient) {
            c->SetBounds(client.Left, client.Top, client.Width(), client.Height());
        }
    }
    for (TControl* c : FControls) {
        if (auto* win = dynamic_cast<TWinControl*>(c)) {
            win->ParentBoundsChanged();
        }
    }
}

void TWinControl::ParentBoundsChanged() {}

void TWinControl::ParentFontChanged() {
    TControl::ParentFontChanged();
    for (TControl* c : FControls) {
        if (c->ParentFont()) {
            c->ParentFontChanged();
        }
    }
}

void TWinControl::FontChanged() {
    Invalidate();
    for (TControl* c : FControls) {
        if (c->ParentFont()) {
            c->ParentFontChanged();
        }
    }
}

void TWinControl::HandleKeyDown(uint16_t& key, TShiftState shift) {
    KeyDown(key, shift);
}
void TWinControl::HandleKeyUp(uint16_t& key, TShiftState shift) {
    KeyUp(key, shift);
}
void TWinControl::HandleChar(char16_t& key) {
    KeyPress(key);
}
void TWinControl::HandleFocusIn() {
    DoEnter();
}
void TWinControl::HandleFocusOut() {
    DoExit();
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (OnKeyDown) {
        OnKeyDown(this, Key, Shift);
    }
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
    if (OnKeyUp) {
        OnKeyUp(this, Key, Shift);
    }
}

void TWinControl::KeyPress(char16_t& Key) {
    if (OnKeyPress) {
        OnKeyPress(this, Key);
    }
}

void TWinControl::DoEnter() {
    if (OnEnter) {
        OnEnter(this);
    }
}

void TWinControl::DoExit() {
    if (OnExit) {
        OnExit(this);
    }
}

void TWinControl::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "TabOrder") {
        SetTabOrder(reader.Integer(value));
    } else if (name == "TabStop") {
        SetTabStop(reader.Boolean(value));
    } else if (name == "OnKeyDown") {
        OnKeyDown = reader.Handler<TKeyEvent>(value);
    } else if (name == "OnKeyUp") {
        OnKeyUp = reader.Handler<TKeyEvent>(value);
    } else if (name == "OnKeyPress") {
        OnKeyPress = reader.Handler<TKeyPressEvent>(value);
    } else if (name == "OnEnter") {
        OnEnter = reader.Handler<TNotifyEvent>(value);
    } else if (name == "OnExit") {
        OnExit = reader.Handler<TNotifyEvent>(value);
    } else {
        TControl::ReadProperty(reader, name, value);
    }
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

} // namespace vx
