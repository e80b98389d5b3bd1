// SPDX-License-Identifier: MIT
// The test-facing side of the in-memory machine: screen set-up, clock, injected input.
#include "platform/headless/state.h"

#include <algorithm>

namespace vx::headless {

using namespace detail;
using backend::Event;
using backend::EventKind;
using backend::MouseButton;

namespace {

uint32_t ButtonBit(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return backend::ShiftLeft;
    case MouseButton::Right:
        return backend::ShiftRight;
    case MouseButton::Middle:
        return backend::ShiftMiddle;
    }
    return 0;
}

bool Usable(const Win& w) {
    if (!w.Info.Visible || !w.Info.Enabled) {
        return false;
    }
    const Win* parent = Find(w.Info.Params.Parent);
    return w.Info.Params.Parent == nullptr || (parent != nullptr && Usable(*parent));
}

// Windows owned by a stay-on-top window stay above it, so they share its band.
bool TopBand(const Win& w) {
    const Win* owner = Find(w.Info.Params.Owner);
    return w.Info.Params.StayOnTop || (owner != nullptr && TopBand(*owner));
}

// The deepest visible window under a screen point, or null. Windows that are disabled
// (for example behind a modal form) swallow the input, as on the desktop.
wapi::HWND WindowAt(TPoint screen) {
    Machine& m = M();
    const Win* top = nullptr;
    for (const auto& [id, w] : m.Windows) {
        if (w.Info.Params.Parent != nullptr || !w.Info.Visible || !w.Info.Bounds.Contains(screen)) {
            continue;
        }
        auto rank = [](const Win& x) { return std::pair(TopBand(x), x.ZOrder); };
        if (top == nullptr || rank(w) > rank(*top)) {
            top = &w;
        }
    }
    if (top == nullptr) {
        return nullptr;
    }
    const Win* hit = top;
    for (bool descended = true; descended;) {
        descended = false;
        const TPoint o = ScreenOrigin(*hit);
        const TPoint local{screen.X - o.X, screen.Y - o.Y};
        for (auto it = hit->Children.rbegin(); it != hit->Children.rend(); ++it) {
            const Win* c = Find(*it);
            if (c != nullptr && c->Info.Visible && c->Info.Bounds.Contains(local)) {
                hit = c;
                descended = true;
                break;
            }
        }
    }
    const TPoint o = ScreenOrigin(*hit);
    const TRect client = backend::GetClientRect(hit->Info.Handle);
    if (!client.Contains({screen.X - o.X, screen.Y - o.Y}) || !Usable(*hit)) {
        return nullptr;
    }
    return hit->Info.Handle;
}

void QueueMouse(EventKind kind, TPoint screen, MouseButton button, uint32_t shift) {
    Machine& m = M();
    m.Cursor = screen;
    const wapi::HWND target = m.Capture != nullptr ? m.Capture : WindowAt(screen);
    // As a window that tracks the pointer hears when it has gone elsewhere.
    const wapi::HWND under = WindowAt(screen);
    if (m.Hovered != nullptr && m.Hovered != under && m.Capture == nullptr) {
        m.Queue.push_back(Event{.Kind = EventKind::MouseLeave, .Window = m.Hovered});
    }
    m.Hovered = m.Capture != nullptr ? m.Hovered : under;
    if (target == nullptr) {
        return;
    }
    const TPoint o = ScreenOrigin(*Find(target));
    m.Queue.push_back(Event{.Kind = kind,
                            .Window = target,
                            .Pos = {screen.X - o.X, screen.Y - o.Y},
                            .Button = button,
                            .Shift = shift | m.Buttons | m.Modifiers});
}

// Keys go to the focused window, or to the top-most usable form when nothing has the focus.
wapi::HWND KeyTarget() {
    Machine& m = M();
    if (m.Focus != nullptr) {
        return m.Focus;
    }
    const Win* best = nullptr;
    for (const auto& [id, w] : m.Windows) {
        if (w.Info.Params.Parent == nullptr && Usable(w) &&
            (best == nullptr || w.ZOrder > best->ZOrder)) {
            best = &w;
        }
    }
    return best != nullptr ? best->Info.Handle : nullptr;
}

uint32_t ModifierBit(uint16_t key) {
    switch (key) {
    case 0x10:
        return backend::ShiftShift;
    case 0x11:
        return backend::ShiftCtrl;
    case 0x12:
        return backend::ShiftAlt;
    default:
        return 0;
    }
}

void QueueKey(EventKind kind, uint16_t key, char16_t ch, uint32_t shift) {
    const wapi::HWND target = KeyTarget();
    if (target != nullptr) {
        M().Queue.push_back(Event{.Kind = kind,
                                  .Window = target,
                                  .Shift = shift | M().Modifiers,
                                  .Key = key,
                                  .Char = ch});
    }
}

} // namespace

void Reset() {
    const Guard lock(S().Mutex);
    Machine& m = M();
    backend::EventSink* sink = m.Sink;
    m = Machine{};
    m.Sink = sink;
    S().WakeRequested = false; // a wake-up left by a worker of the last run
    m.DesktopDc.Target = &m.DesktopImage;
}

void SetMonitors(const std::vector<TRect>& monitors) {
    M().Monitors = monitors;
}

void SetMonitorMetric(std::optional<int> count) {
    M().MonitorMetric = count;
}

void SetDesktop(TPoint origin, Image image) {
    Machine& m = M();
    m.DesktopOrigin = origin;
    m.DesktopImage = std::move(image);
    m.DesktopDc.Target = &m.DesktopImage;
    m.DesktopDc.Origin = origin;
}

const Image& Desktop() {
    return M().DesktopImage;
}

uint64_t Now() {
    return M().Clock;
}

void Advance(uint64_t ms) {
    Machine& m = M();
    const uint64_t end = m.Clock + ms;
    for (;;) {
        uint64_t next = end;
        for (const Scheduled& s : m.Schedule) {
            next = std::min(next, s.When);
        }
        SetClock(std::max(m.Clock, next));
        RunDueActions();
        if (m.Clock >= end) {
            return;
        }
    }
}

void SetTickCount(uint32_t tick) {
    const Guard lock(S().Mutex);
    M().TickBase = tick;
    M().TickAt = M().Clock;
}

void At(uint64_t ms, std::function<void()> action) {
    Machine& m = M();
    m.Schedule.push_back({ms, m.NextSeq++, std::move(action)});
}

void After(uint64_t ms, std::function<void()> action) {
    At(M().Clock + ms, std::move(action));
}

void MouseDown(TPoint screen, MouseButton button, uint32_t shift) {
    QueueMouse(EventKind::MouseDown, screen, button, shift);
    M().Buttons |= ButtonBit(button);
}

void MouseUp(TPoint screen, MouseButton button, uint32_t shift) {
    M().Buttons &= ~ButtonBit(button);
    QueueMouse(EventKind::MouseUp, screen, button, shift);
}

void MouseMove(TPoint screen, uint32_t shift) {
    QueueMouse(EventKind::MouseMove, screen, MouseButton::Left, shift);
}

void Click(TPoint screen) {
    MouseDown(screen);
    MouseUp(screen);
}

void RightClick(TPoint screen) {
    MouseDown(screen, MouseButton::Right);
    MouseUp(screen, MouseButton::Right);
    const wapi::HWND target = WindowAt(screen);
    if (target != nullptr) {
        M().Queue.push_back(Event{.Kind = EventKind::ContextMenu, .Window = target, .Pos = screen});
    }
}

void KeyDown(uint16_t key, uint32_t shift) {
    QueueKey(EventKind::KeyDown, key, 0, shift);
    M().Modifiers |= ModifierBit(key);
}

void KeyUp(uint16_t key, uint32_t shift) {
    M().Modifiers &= ~ModifierBit(key);
    QueueKey(EventKind::KeyUp, key, 0, shift);
}

void Char(char16_t ch) {
    QueueKey(EventKind::Char, 0, ch, 0);
}

void PressKey(uint16_t key, char16_t ch) {
    KeyDown(key);
    if (ch != 0) {
        Char(ch);
    }
    KeyUp(key);
}

void RequestClose(wapi::HWND window) {
    M().Queue.push_back(Event{.Kind = EventKind::Close, .Window = window});
}

void TakeCapture() {
    Machine& m = M();
    if (m.Capture != nullptr) {
        m.Queue.push_back(Event{.Kind = EventKind::CaptureLost, .Window = m.Capture});
        m.Capture = nullptr;
    }
}

void Pump() {
    do {
        RunDueActions();
    } while (DeliverOne());
}

void ChooseMenu(std::function<int(const ShownMenu&)> chooser) {
    M().MenuChoosers.push_back(std::move(chooser));
}

void ChooseMenuCaption(std::u16string caption) {
    ChooseMenu([caption = std::move(caption)](const ShownMenu& menu) {
        for (const backend::MenuEntry& e : menu.Entries) {
            if (e.Caption == caption && e.Enabled) {
                return e.Id;
            }
        }
        return 0;
    });
}

const std::vector<ShownMenu>& ShownMenus() {
    return M().Menus;
}

std::vector<wapi::HWND> TopLevelWindows() {
    std::vector<wapi::HWND> out;
    for (const auto& [id, w] : M().Windows) {
        if (w.Info.Params.Parent == nullptr) {
            out.push_back(w.Info.Handle);
        }
    }
    return out;
}

std::optional<WindowInfo> Window(wapi::HWND window) {
    const Win* w = Find(window);
    return w != nullptr ? std::optional(w->Info) : std::nullopt;
}

const Image& Surface(wapi::HWND window) {
    static const Image none;
    const Win* w = Find(window);
    return w != nullptr ? w->ClientImage : none;
}

std::vector<std::u16string> MessageBoxes() {
    return M().Boxes;
}

const std::vector<ApiCall>& ApiLog() {
    return M().Log;
}

std::vector<ApiCall> ApiCalls(const std::string& name) {
    const Guard lock(S().Mutex);
    std::vector<ApiCall> out;
    for (const ApiCall& c : M().Log) {
        if (c.Name == name) {
            out.push_back(c);
        }
    }
    return out;
}

void ClearApiLog() {
    const Guard lock(S().Mutex);
    M().Log.clear();
}

void SetTextResource(const std::string& name, std::optional<std::string> text) {
    M().ResourceOverrides[name] = std::move(text);
}

} // namespace vx::headless
