// SPDX-License-Identifier: MIT
#include "gui/Dispatch.h"

#include "gui/Application.h"
#include "gui/CustomEdit.h"
#include "gui/DragDrop.h"
#include "gui/Form.h"
#include "gui/Menus.h"
#include "gui/Timer.h"

#include <utility>

namespace vx {
namespace {

using backend::Event;
using backend::EventKind;

TMouseButton ToButton(backend::MouseButton b) {
    switch (b) {
    case backend::MouseButton::Right:
        return mbRight;
    case backend::MouseButton::Middle:
        return mbMiddle;
    case backend::MouseButton::Left:
        break;
    }
    return mbLeft;
}

// Remembers the control that took a button press, so the release and the moves in between
// go to it even when the pointer leaves it; forgets it if the control goes away.
class PressTracker : public TComponent {
public:
    PressTracker() : TComponent(nullptr) {}
    [[nodiscard]] TControl* Control() const { return FControl; }
    void Set(TControl* control) {
        if (FControl != nullptr) {
            FControl->RemoveFreeNotification(this);
        }
        FControl = control;
        if (FControl != nullptr) {
            FControl->FreeNotification(this);
        }
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        if (Operation == opRemove && AComponent == FControl) {
            FControl = nullptr;
        }
    }

private:
    TControl* FControl = nullptr;
};

PressTracker& Pressed() {
    static auto& tracker = *new PressTracker; // outlives every control
    return tracker;
}

// The control under the pointer, told when the pointer leaves it.
PressTracker& Hover() {
    static auto& tracker = *new PressTracker;
    return tracker;
}

void HoverOver(TControl* control) {
    TControl* old = Hover().Control();
    if (old == control) {
        return;
    }
    Hover().Set(control);
    if (old != nullptr) {
        old->Perform(CM_MOUSELEAVE);
    }
    if (control != nullptr) {
        control->Perform(CM_MOUSEENTER);
    }
}

// The control under a client point of a window: an enabled graphic child, or the window.
TControl* HitControl(TWinControl& window, TPoint pos) {
    TControl* child = window.ControlAtPos(pos, false);
    if (child != nullptr && dynamic_cast<TWinControl*>(child) == nullptr) {
        return child;
    }
    return &window;
}

TPoint Local(const TWinControl& window, const TControl& target, TPoint pos) {
    if (&target == &window) {
        return pos;
    }
    return target.ScreenToClient(window.ClientToScreen(pos));
}

void RouteMouse(TWinControl& window, const Event& e) {
    const TPoint screen = window.ClientToScreen(e.Pos);
    if (DragObject::Active()) {
        DragObject::MouseEvent(e.Kind, screen, e.Button, e.Shift);
        return;
    }
    const TShiftState shift = e.Shift;
    switch (e.Kind) {
    case EventKind::MouseDown: {
        TControl* target = HitControl(window, e.Pos);
        Pressed().Set(target);
        backend::SetCapture(window.Handle());
        const TPoint p = Local(window, *target, e.Pos);
        target->HandleMouseDown(ToButton(e.Button), shift, p.X, p.Y);
        break;
    }
    case EventKind::MouseUp: {
        TControl* target = Pressed().Control();
        if (target == nullptr) {
            target = HitControl(window, e.Pos);
        }
        if ((shift & (ssLeft | ssRight | ssMiddle)) == 0) {
            Pressed().Set(nullptr);
            if (backend::GetCapture() == window.HandleIfAllocated()) {
                backend::ReleaseCapture();
            }
        }
        const TPoint p = target->ScreenToClient(screen);
        target->HandleMouseUp(ToButton(e.Button), shift, p.X, p.Y);
        break;
    }
    case EventKind::MouseMove: {
        TControl* target = Pressed().Control();
        if (target == nullptr) {
            target = HitControl(window, e.Pos);
        }
        if (window.ClientRect().Contains(e.Pos)) {
            HoverOver(HitControl(window, e.Pos));
        } else if (Hover().Control() != nullptr) {
            HoverOver(nullptr);
        }
        const TPoint p = target->ScreenToClient(screen);
        target->HandleMouseMove(shift, p.X, p.Y);
        break;
    }
    case EventKind::DoubleClick: {
        TControl* target = HitControl(window, e.Pos);
        if ((target->ControlStyle() & csDoubleClicks) == 0) {
            // Without double clicks, the second click is just another press.
            Event press = e;
            press.Kind = EventKind::MouseDown;
            RouteMouse(window, press);
            return;
        }
        const TPoint p = Local(window, *target, e.Pos);
        target->HandleDoubleClick(shift, p.X, p.Y);
        break;
    }
    default:
        break;
    }
}

void RouteContextMenu(TWinControl& window, const Event& e) {
    const TPoint local = window.ScreenToClient(e.Pos);
    for (TControl* c = HitControl(window, local); c != nullptr; c = c->Parent()) {
        TPopupMenu* menu = c->PopupMenu();
        if (menu != nullptr && menu->AutoPopup()) {
            menu->SetPopupComponent(c);
            menu->Popup(e.Pos.X, e.Pos.Y);
            return;
        }
    }
}

// A key that moved the focus or pressed a button also arrives as a character, which the
// window that now has the focus must not see.
char16_t& SwallowChar() {
    static char16_t ch = 0;
    return ch;
}

char16_t CharOfDialogKey(uint16_t key) {
    switch (key) {
    case 0x09:
        return u'\t';
    case 0x0D:
        return u'\r';
    case 0x1B:
        return 27;
    default:
        return 0;
    }
}

bool WantsChars(const TWinControl& window) {
    return dynamic_cast<const TCustomEdit*>(&window) != nullptr;
}

void RouteKey(TWinControl& window, Event& e) {
    if (e.Kind == EventKind::KeyDown && DragObject::Active()) {
        if (e.Key == 0x1B) {
            DragObject::Cancel();
            SwallowChar() = 27;
        }
        e.Handled = true;
        return;
    }
    TForm* form = window.ParentForm();
    const bool preview = form != nullptr && form != &window && form->KeyPreview();
    switch (e.Kind) {
    case EventKind::KeyDown: {
        // Tab, Enter and Escape are offered to the form's controls before the focused one.
        uint16_t key = e.Key;
        if (form != nullptr) {
            form->DialogKey(key, e.Shift);
        }
        if (key != 0 && preview) {
            form->PreviewKeyDown(key, e.Shift);
        }
        if (key != 0) {
            window.HandleKeyDown(key, e.Shift);
        }
        e.Handled = key == 0;
        SwallowChar() = e.Handled ? CharOfDialogKey(e.Key) : 0;
        break;
    }
    case EventKind::KeyUp: {
        uint16_t key = e.Key;
        window.HandleKeyUp(key, e.Shift);
        e.Handled = key == 0;
        break;
    }
    case EventKind::Char: {
        char16_t ch = e.Char;
        if (ch != 0 && ch == std::exchange(SwallowChar(), 0)) {
            e.Char = 0;
            e.Handled = true;
            break;
        }
        if (preview) {
            form->PreviewChar(ch);
        }
        if (ch != 0) {
            window.HandleChar(ch);
        }
        // An accelerator may be typed anywhere, with Alt where the control takes text.
        if (ch != 0 && form != nullptr && ((e.Shift & ssAlt) != 0 || !WantsChars(window)) &&
            form->DialogChar(ch)) {
            ch = 0;
        }
        e.Char = ch;
        e.Handled = ch == 0;
        break;
    }
    default:
        break;
    }
}

void Route(Event& e) {
    if (e.Kind == EventKind::Timer) {
        TTimer::Fire(e.Timer);
        return;
    }
    if (e.Kind == EventKind::MouseLeave) {
        if (TControl* hovered = Hover().Control(); hovered != nullptr) {
            TWinControl* w = FindControl(e.Window);
            if (w == nullptr || hovered == w || hovered->Parent() == w) {
                HoverOver(nullptr);
            }
        }
        return;
    }
    if (e.Kind == EventKind::CaptureLost) {
        Pressed().Set(nullptr);
        if (DragObject::Active()) {
            DragObject::Cancel();
        }
        return;
    }
    TWinControl* window = FindControl(e.Window);
    if (window == nullptr) {
        return;
    }
    switch (e.Kind) {
    case EventKind::Paint:
        window->HandlePaint(e.Dc);
        break;
    case EventKind::Resized:
    case EventKind::Moved:
        window->HandleResized();
        break;
    case EventKind::Close:
        if (auto* form = dynamic_cast<TForm*>(window)) {
            form->Close();
        }
        break;
    case EventKind::MouseDown:
    case EventKind::MouseUp:
    case EventKind::MouseMove:
    case EventKind::DoubleClick:
        RouteMouse(*window, e);
        break;
    case EventKind::ContextMenu:
        RouteContextMenu(*window, e);
        break;
    case EventKind::KeyDown:
    case EventKind::KeyUp:
    case EventKind::Char:
        RouteKey(*window, e);
        break;
    case EventKind::Changed:
        if (auto* edit = dynamic_cast<TCustomEdit*>(window)) {
            edit->HandleChanged();
        }
        break;
    case EventKind::FocusIn:
        // Enter and exit follow the form's focused control, so moving the focus into a child
        // does not count as leaving its parent.
        if (TForm* form = window->ParentForm()) {
            form->FocusChanged(window);
        }
        break;
    case EventKind::FocusOut:
        window->Invalidate();
        break;
    default:
        break;
    }
}

} // namespace

bool TControl::MouseCapture() const {
    return Pressed().Control() == this && backend::GetCapture() != nullptr;
}

void TControl::SetMouseCapture(bool value) {
    if (value) {
        Pressed().Set(this);
        for (TControl* c = this; c != nullptr; c = c->Parent()) {
            if (auto* w = dynamic_cast<TWinControl*>(c)) {
                backend::SetCapture(w->Handle());
                break;
            }
        }
    } else if (Pressed().Control() == this) {
        Pressed().Set(nullptr);
        if (backend::GetCapture() != nullptr) {
            backend::ReleaseCapture();
        }
    }
}

void EventRouter::Dispatch(Event& event) {
    try {
        Route(event);
    } catch (...) {
        Application->HandleException();
    }
}

} // namespace vx
