// SPDX-License-Identifier: MIT
// The backend interface answered in memory.
#include "platform/headless/state.h"

#include <algorithm>
#include <stdexcept>

namespace vx::headless::detail {

Machine& M() {
    // Never destroyed: the application object may still destroy windows at exit.
    static auto& machine = *new Machine;
    return machine;
}

Win* Find(wapi::HWND window) {
    auto it = M().Windows.find(reinterpret_cast<uintptr_t>(window));
    return it == M().Windows.end() ? nullptr : &it->second;
}

wapi::HWND Handle(uintptr_t id) {
    return reinterpret_cast<wapi::HWND>(id);
}

TPoint ScreenOrigin(const Win& w) {
    const TPoint p{w.Info.Bounds.Left, w.Info.Bounds.Top};
    if (w.Info.Params.Parent == nullptr) {
        const TRect in = FrameInsets(w.Info.Params.Border);
        return {p.X + in.Left, p.Y + in.Top};
    }
    const Win* parent = Find(w.Info.Params.Parent);
    if (parent == nullptr) {
        return p;
    }
    const TPoint o = ScreenOrigin(*parent);
    return {o.X + p.X, o.Y + p.Y};
}

void Log(std::string name, std::vector<int64_t> args, std::vector<std::u16string> texts) {
    const Guard lock(S().Mutex);
    M().Log.push_back({std::move(name), std::move(args), std::move(texts)});
}

bool RunDueActions() {
    Machine& m = M();
    for (bool ran = false;; ran = true) {
        auto due = std::min_element(m.Schedule.begin(), m.Schedule.end(),
                                    [](const Scheduled& a, const Scheduled& b) {
                                        return a.When != b.When ? a.When < b.When : a.Seq < b.Seq;
                                    });
        if (due == m.Schedule.end() || due->When > m.Clock) {
            return ran;
        }
        auto action = std::move(due->Action);
        m.Schedule.erase(due);
        action();
    }
}

std::map<std::string, std::string>& Embedded() {
    static auto& resources = *new std::map<std::string, std::string>;
    return resources;
}

namespace {

TRect ClientRectOf(const Win& w) {
    if (w.Info.Params.Parent != nullptr) {
        return {0, 0, w.Info.Bounds.Width(), w.Info.Bounds.Height()};
    }
    const TRect in = FrameInsets(w.Info.Params.Border);
    return {0, 0, std::max(0, w.Info.Bounds.Width() - in.Left - in.Right),
            std::max(0, w.Info.Bounds.Height() - in.Top - in.Bottom)};
}

void ResizeSurface(Win& w) {
    const TRect c = ClientRectOf(w);
    if (w.ClientImage.Width != c.Width() || w.ClientImage.Height != c.Height()) {
        w.ClientImage =
            Image(c.Width(), c.Height(), backend::ResolveColor(w.Info.Params.Background));
    }
}

bool IsShowing(const Win& w) {
    if (!w.Info.Visible) {
        return false;
    }
    const Win* parent = Find(w.Info.Params.Parent);
    return w.Info.Params.Parent == nullptr || (parent != nullptr && IsShowing(*parent));
}

} // namespace

} // namespace vx::headless::detail

namespace vx::headless {

using namespace detail;

bool RegisterEmbeddedResource(const char* name, const char* text) {
    Embedded()[name] = text;
    return true;
}

TRect FrameInsets(backend::Frame frame) {
    switch (frame) {
    case backend::Frame::Sizeable:
        return {8, 31, 8, 8};
    case backend::Frame::Single:
    case backend::Frame::Dialog:
        return {3, 26, 3, 3};
    case backend::Frame::None:
        break;
    }
    return {};
}

} // namespace vx::headless

namespace vx::backend {

using namespace vx::headless;
using namespace vx::headless::detail;

wapi::HWND CreateWindow(const WindowParams& params) {
    Machine& m = M();
    const uintptr_t id = m.NextWindow++;
    Win& w = m.Windows[id];
    w.Info.Handle = Handle(id);
    w.Info.Params = params;
    w.Info.Bounds = params.Bounds;
    w.Info.Alpha = params.Alpha;
    w.ZOrder = m.NextZ++;
    ResizeSurface(w);
    w.ClientDc = std::make_unique<Dc>(Dc{&w.ClientImage, {}, wapi::COLORONCOLOR, w.Info.Handle});
    if (Win* parent = Find(params.Parent)) {
        parent->Children.push_back(w.Info.Handle);
    }
    return w.Info.Handle;
}

void DestroyWindow(wapi::HWND window) {
    Machine& m = M();
    Win* w = Find(window);
    if (w == nullptr) {
        return;
    }
    for (wapi::HWND child : std::vector<wapi::HWND>(w->Children)) {
        DestroyWindow(child);
    }
    if (Win* parent = Find(w->Info.Params.Parent)) {
        std::erase(parent->Children, window);
    }
    if (m.Focus == window) {
        m.Focus = nullptr;
    }
    if (m.Capture == window) {
        m.Capture = nullptr;
    }
    if (m.Hovered == window) {
        m.Hovered = nullptr;
    }
    std::erase_if(m.Queue, [window](const Event& e) { return e.Window == window; });
    m.Windows.erase(reinterpret_cast<uintptr_t>(window));
}

void ShowWindow(wapi::HWND window, bool visible) {
    Win* w = Find(window);
    if (w == nullptr || w->Info.Visible == visible) {
        return;
    }
    w->Info.Visible = visible;
    if (visible) {
        w->ZOrder = M().NextZ++;
        w->Dirty = true;
    } else if (M().Focus == window) {
        M().Focus = nullptr;
    }
}

void SetWindowBounds(wapi::HWND window, TRect bounds) {
    Win* w = Find(window);
    if (w == nullptr || w->Info.Bounds == bounds) {
        return;
    }
    const TRect before = w->Info.Bounds;
    w->Info.Bounds = bounds;
    ResizeSurface(*w);
    if (before.Width() != bounds.Width() || before.Height() != bounds.Height()) {
        w->Dirty = true;
        M().Queue.push_back(Event{.Kind = EventKind::Resized, .Window = window});
    }
}

TRect GetWindowBounds(wapi::HWND window) {
    const Win* w = Find(window);
    return w != nullptr ? w->Info.Bounds : TRect{};
}

TRect GetClientRect(wapi::HWND window) {
    const Win* w = Find(window);
    return w != nullptr ? ClientRectOf(*w) : TRect{};
}

TPoint ClientToScreen(wapi::HWND window, TPoint point) {
    const Win* w = Find(window);
    if (w == nullptr) {
        return point;
    }
    const TPoint o = ScreenOrigin(*w);
    return {o.X + point.X, o.Y + point.Y};
}

TRect WindowRectForClient(const WindowParams& params, TRect client) {
    if (params.Parent != nullptr) {
        return client;
    }
    const TRect in = FrameInsets(params.Border);
    return {client.Left - in.Left, client.Top - in.Top, client.Right + in.Right,
            client.Bottom + in.Bottom};
}

void SetCaption(wapi::HWND window, const std::u16string& caption) {
    if (Win* w = Find(window)) {
        w->Info.Params.Caption = caption;
    }
}

void SetAlpha(wapi::HWND window, int alpha) {
    if (Win* w = Find(window)) {
        w->Info.Alpha = alpha;
    }
}

void Invalidate(wapi::HWND window) {
    if (Win* w = Find(window)) {
        w->Dirty = true;
    }
}

void EnableWindow(wapi::HWND window, bool enabled) {
    if (Win* w = Find(window)) {
        w->Info.Enabled = enabled;
    }
}

bool IsWindowEnabled(wapi::HWND window) {
    const Win* w = Find(window);
    return w != nullptr && w->Info.Enabled;
}

void SetFocus(wapi::HWND window) {
    Machine& m = M();
    if (m.Focus == window || (window != nullptr && Find(window) == nullptr)) {
        return;
    }
    // As on the desktop, the windows hear of it before SetFocus returns.
    const wapi::HWND old = m.Focus;
    m.Focus = window;
    if (old != nullptr && m.Sink != nullptr && Find(old) != nullptr) {
        Event out{.Kind = EventKind::FocusOut, .Window = old};
        m.Sink->Dispatch(out);
    }
    if (window != nullptr && m.Sink != nullptr && m.Focus == window) {
        Event in{.Kind = EventKind::FocusIn, .Window = window};
        m.Sink->Dispatch(in);
    }
}

wapi::HWND GetFocus() {
    return M().Focus;
}

void SetCapture(wapi::HWND window) {
    Machine& m = M();
    if (m.Capture != nullptr && m.Capture != window) {
        m.Queue.push_back(Event{.Kind = EventKind::CaptureLost, .Window = m.Capture});
    }
    m.Capture = window;
}

void ReleaseCapture() {
    Machine& m = M();
    if (m.Capture != nullptr) {
        const wapi::HWND old = m.Capture;
        m.Capture = nullptr;
        m.Queue.push_back(Event{.Kind = EventKind::CaptureLost, .Window = old});
    }
}

wapi::HWND GetCapture() {
    return M().Capture;
}

TPoint GetCursorPos() {
    return M().Cursor;
}

uint32_t GetShiftState() {
    return M().Buttons | M().Modifiers;
}

void SetEventSink(EventSink* sink) {
    M().Sink = sink;
}

namespace {

bool DeliverQueued() {
    Machine& m = M();
    if (m.Queue.empty()) {
        return false;
    }
    Event e = m.Queue.front();
    m.Queue.pop_front();
    if (m.Sink != nullptr && (e.Window == nullptr || Find(e.Window) != nullptr)) {
        m.Sink->Dispatch(e);
    }
    Win* w = Find(e.Window);
    if (w != nullptr && w->Info.Params.Class == WindowClass::Edit && !e.Handled) {
        EditDefault(*w, e);
    }
    return true;
}

bool DeliverPaint() {
    Machine& m = M();
    for (auto& [id, w] : m.Windows) {
        if (w.Dirty && IsShowing(w)) {
            w.Dirty = false;
            Event e{.Kind = EventKind::Paint, .Window = w.Info.Handle, .Dc = nullptr};
            e.Dc = reinterpret_cast<wapi::HDC>(w.ClientDc.get());
            if (m.Sink != nullptr) {
                m.Sink->Dispatch(e);
            }
            return true;
        }
    }
    return false;
}

bool DeliverTimer() {
    Machine& m = M();
    for (auto& [id, slot] : m.Timers) {
        if (slot.Due <= m.Clock) {
            slot.Due = m.Clock + std::max<uint32_t>(slot.Interval, 1);
            Event e{.Kind = EventKind::Timer, .Timer = id};
            if (m.Sink != nullptr) {
                m.Sink->Dispatch(e);
            }
            return true;
        }
    }
    return false;
}

} // namespace

} // namespace vx::backend

bool vx::headless::detail::DeliverOne() {
    return vx::backend::DeliverQueued() || vx::backend::DeliverPaint() ||
           vx::backend::DeliverTimer();
}

namespace vx::backend {

Pumped ProcessMessage(bool wait) {
    Machine& m = M();
    for (;;) {
        // A scheduled action stands for input that arrived: the caller looks again.
        const bool acted = RunDueActions();
        if (m.QuitPosted && m.Queue.empty()) {
            m.QuitPosted = false;
            return Pumped::Quit;
        }
        // A worker waiting for the main thread is served before virtual time moves on.
        if (DeliverOne() || acted || TakeWake()) {
            return Pumped::Message;
        }
        if (!wait) {
            return Pumped::Nothing;
        }
        // Nothing to do now: let virtual time run to the next timer or scheduled action.
        uint64_t next = UINT64_MAX;
        for (const auto& [id, slot] : m.Timers) {
            next = std::min(next, slot.Due);
        }
        for (const Scheduled& s : m.Schedule) {
            next = std::min(next, s.When);
        }
        next = std::min(next, NextSleeperWake());
        if (next == UINT64_MAX) {
            throw std::logic_error("headless: the message loop waits for input that nothing "
                                   "will ever send");
        }
        SetClock(std::max(m.Clock, next));
    }
}

void PostQuit() {
    M().QuitPosted = true;
}

TimerId StartTimer(uint32_t intervalMs) {
    Machine& m = M();
    const TimerId id = m.NextTimer++;
    m.Timers[id] = TimerSlot{intervalMs, m.Clock + std::max<uint32_t>(intervalMs, 1)};
    return id;
}

void StopTimer(TimerId id) {
    M().Timers.erase(id);
}

int TrackPopupMenu(wapi::HWND owner, const std::vector<MenuEntry>& entries, TPoint screen) {
    Machine& m = M();
    m.Menus.push_back(ShownMenu{owner, entries, screen});
    if (m.MenuChoosers.empty()) {
        return 0;
    }
    auto chooser = std::move(m.MenuChoosers.front());
    m.MenuChoosers.pop_front();
    // While a menu tracks, the pointer belongs to it: what the chooser did with the mouse
    // never reaches the windows.
    const size_t before = m.Queue.size();
    const int chosen = chooser(m.Menus.back());
    for (size_t i = m.Queue.size(); i-- > before;) {
        const EventKind k = m.Queue[i].Kind;
        if (k == EventKind::MouseDown || k == EventKind::MouseUp || k == EventKind::MouseMove ||
            k == EventKind::DoubleClick) {
            m.Queue.erase(m.Queue.begin() + std::ptrdiff_t(i));
        }
    }
    return chosen;
}

void ShowMessageBox(wapi::HWND, const std::u16string& text, const std::u16string&) {
    M().Boxes.push_back(text);
}

std::optional<std::string> LoadTextResource(const std::string& name) {
    const Machine& m = M();
    if (auto it = m.ResourceOverrides.find(name); it != m.ResourceOverrides.end()) {
        return it->second;
    }
    const auto& embedded = Embedded();
    if (auto it = embedded.find(name); it != embedded.end()) {
        return it->second;
    }
    return std::nullopt;
}

} // namespace vx::backend
