// SPDX-License-Identifier: MIT
#include "gui/DragDrop.h"

#include "gui/Application.h"
#include "gui/Form.h"

#include <cstdlib>

namespace vx {
namespace {

// Follows the source and the current target, and forgets either if it is destroyed.
class DragState : public TComponent {
public:
    DragState() : TComponent(nullptr) {}
    TControl* Source = nullptr;
    TControl* Target = nullptr;
    bool Started = false; // false while waiting for the pointer to pass the threshold
    bool Accepted = false;
    TPoint Start{};
    int Threshold = 5;

    void Watch(TControl*& slot, TControl* control) {
        if (slot != nullptr && slot != Source && slot != Target) {
            slot->RemoveFreeNotification(this);
        }
        slot = control;
        if (control != nullptr) {
            control->FreeNotification(this);
        }
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        if (Operation == opRemove) {
            if (AComponent == Source) {
                Source = nullptr;
            }
            if (AComponent == Target) {
                Target = nullptr;
            }
        }
    }
};

DragState& S() {
    static auto& state = *new DragState; // outlives every control
    return state;
}

TControl* Descend(TControl* control, TPoint screen) {
    auto* container = dynamic_cast<TWinControl*>(control);
    while (container != nullptr) {
        TControl* child = container->ControlAtPos(container->ScreenToClient(screen), false);
        if (child == nullptr) {
            break;
        }
        control = child;
        container = dynamic_cast<TWinControl*>(child);
    }
    return control;
}

wapi::HWND CaptureWindow(TControl* control) {
    for (TControl* c = control; c != nullptr; c = c->Parent()) {
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            return w->Handle();
        }
    }
    return nullptr;
}

void Report(TControl* target, TPoint screen, TDragState state) {
    DragState& s = S();
    if (target == nullptr || s.Source == nullptr) {
        return;
    }
    const TPoint p = target->ScreenToClient(screen);
    bool accept = false;
    target->DragOver(s.Source, p.X, p.Y, state, accept);
    s.Accepted = accept;
}

void MoveTo(TPoint screen) {
    DragState& s = S();
    TControl* target = FindDragTarget(screen);
    if (target != s.Target) {
        Report(s.Target, screen, dsDragLeave);
        s.Watch(s.Target, target);
        s.Accepted = false;
        Report(s.Target, screen, dsDragEnter);
    } else {
        Report(s.Target, screen, dsDragMove);
    }
}

void Finish(TPoint screen, bool drop) {
    DragState& s = S();
    TControl* source = s.Source;
    TControl* target = s.Target;
    const bool wasStarted = s.Started;
    const bool accepted = drop && s.Accepted && target != nullptr;
    s.Watch(s.Source, nullptr);
    s.Watch(s.Target, nullptr);
    s.Started = false;
    if (backend::GetCapture() != nullptr) {
        backend::ReleaseCapture();
    }
    if (source == nullptr || !wasStarted) {
        return;
    }
    if (target != nullptr) {
        const TPoint p = target->ScreenToClient(screen);
        bool ignored = false;
        target->DragOver(source, p.X, p.Y, dsDragLeave, ignored);
        if (accepted) {
            target->DragDrop(source, p.X, p.Y);
        }
    }
    TPoint at{};
    if (accepted) {
        at = target->ScreenToClient(screen);
    }
    source->DoEndDrag(accepted ? target : nullptr, at.X, at.Y);
}

} // namespace

TControl* FindDragTarget(TPoint screen) {
    TForm* best = nullptr;
    for (int i = 0; i < Application->ComponentCount(); ++i) {
        auto* form = dynamic_cast<TForm*>(Application->Components(i));
        if (form == nullptr || !form->Visible() || !form->BoundsRect().Contains(screen)) {
            continue;
        }
        // A modal form is above the others; otherwise the one shown last wins.
        if (best == nullptr || form->Modal() || (!best->Modal() && i > 0)) {
            best = form;
        }
    }
    return best != nullptr ? Descend(best, screen) : nullptr;
}

void DragObject::Begin(TControl* source, bool immediate, int threshold) {
    DragState& s = S();
    if (s.Source != nullptr || source == nullptr) {
        return;
    }
    s.Watch(s.Source, source);
    s.Start = backend::GetCursorPos();
    s.Threshold = threshold < 0 ? 5 : threshold;
    s.Started = immediate;
    s.Accepted = false;
    backend::SetCapture(CaptureWindow(source));
    if (immediate) {
        MoveTo(s.Start);
    }
}

bool DragObject::Active() {
    return S().Source != nullptr;
}

TControl* DragObject::Source() {
    return S().Source;
}

void DragObject::MouseEvent(backend::EventKind kind, TPoint screen, backend::MouseButton button,
                            uint32_t) {
    DragState& s = S();
    switch (kind) {
    case backend::EventKind::MouseMove:
        if (!s.Started && (std::abs(screen.X - s.Start.X) >= s.Threshold ||
                           std::abs(screen.Y - s.Start.Y) >= s.Threshold)) {
            s.Started = true;
        }
        if (s.Started) {
            MoveTo(screen);
        }
        break;
    case backend::EventKind::MouseUp:
        if (button == backend::MouseButton::Left) {
            if (s.Started) {
                MoveTo(screen);
            }
            Finish(screen, true);
        }
        break;
    default:
        break;
    }
}

void DragObject::Cancel() {
    Finish(backend::GetCursorPos(), false);
}

} // namespace vx
