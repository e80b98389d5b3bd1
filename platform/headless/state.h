// SPDX-License-Identifier: MIT
// The in-memory machine behind the headless backend.
#pragma once

#include "platform/headless/headless.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace vx::headless::detail {

// A device context: a surface plus where its coordinate origin lies on it.
struct Dc {
    Image* Target = nullptr;
    TPoint Origin{}; // surface pixel = logical coordinate - Origin
    int StretchMode = wapi::COLORONCOLOR;
    wapi::HWND Window = nullptr;
};

struct Win {
    WindowInfo Info;
    Image ClientImage;
    std::unique_ptr<Dc> ClientDc;
    std::vector<wapi::HWND> Children;
    bool Dirty = false;
    uint64_t ZOrder = 0; // larger is nearer the top among windows of the same band
    int32_t WindowLong = 0;
    // The single-line edit, when the window is one.
    std::u16string Text;
    int SelStart = 0;
    int SelLength = 0;
    bool ReadOnly = false;
    TColor Background = 0;
    TColor TextColor = 0;
};

struct TimerSlot {
    uint32_t Interval = 0;
    uint64_t Due = 0;
};

struct Scheduled {
    uint64_t When = 0;
    uint64_t Seq = 0;
    std::function<void()> Action;
};

struct Machine {
    backend::EventSink* Sink = nullptr;
    std::map<uintptr_t, Win> Windows;
    uintptr_t NextWindow = 0x1000;
    uint64_t NextZ = 1;
    wapi::HWND Focus = nullptr;
    wapi::HWND Capture = nullptr;
    wapi::HWND Hovered = nullptr; // the window the pointer last moved in
    TPoint Cursor{};
    uint32_t Buttons = 0;
    uint32_t Modifiers = 0;

    std::vector<TRect> Monitors{{0, 0, 1920, 1080}};
    std::optional<int> MonitorMetric;
    TPoint DesktopOrigin{};
    Image DesktopImage{1920, 1080, 0x808080};
    Dc DesktopDc{&DesktopImage, {}, wapi::COLORONCOLOR, nullptr};

    uint64_t Clock = 0;
    uint32_t TickBase = 0; // tick count at Clock == TickAt
    uint64_t TickAt = 0;
    std::map<backend::TimerId, TimerSlot> Timers;
    backend::TimerId NextTimer = 1;
    std::vector<Scheduled> Schedule;
    uint64_t NextSeq = 0;

    std::deque<backend::Event> Queue;
    bool QuitPosted = false;

    std::deque<std::function<int(const ShownMenu&)>> MenuChoosers;
    std::vector<ShownMenu> Menus;
    std::vector<std::u16string> Boxes;
    std::vector<ApiCall> Log;
    std::map<std::string, std::optional<std::string>> ResourceOverrides;
};

Machine& M();

// What worker threads may touch, kept apart from the machine so that Reset can replace the
// machine wholesale. The mutex guards the clock, the log, copies into surfaces, the sleepers
// and the wake flag; it is recursive because logged calls log while holding it. Only the main
// thread writes the clock, so the main thread may read it without the lock.
struct Sync {
    std::recursive_mutex Mutex;
    std::condition_variable_any Changed;
    bool WakeRequested = false;
    std::multiset<uint64_t> Sleepers; // wake times of worker threads asleep in Sleep
};
Sync& S();
using Guard = std::lock_guard<std::recursive_mutex>;
bool OnMainThread();
void SetClock(uint64_t ms); // main thread only; wakes the sleepers that are due
bool TakeWake();            // consumes a worker's wake request, if there is one
uint64_t NextSleeperWake(); // earliest wake time still ahead of the clock, or UINT64_MAX
void SleepWorker(uint32_t ms);
Win* Find(wapi::HWND window);
wapi::HWND Handle(uintptr_t id);
TPoint ScreenOrigin(const Win& w); // screen position of the client area's top-left pixel
void Log(std::string name, std::vector<int64_t> args, std::vector<std::u16string> texts = {});
bool RunDueActions(); // true if any ran
bool DeliverOne();    // one queued event, paint or due timer; false if there was none
// What the system's edit does with a key or character that its window procedure passed on.
void EditDefault(Win& edit, const backend::Event& event);
void NotifyChanged(Win& edit);

// Form descriptions compiled into test executables register here.
std::map<std::string, std::string>& Embedded();

} // namespace vx::headless::detail
