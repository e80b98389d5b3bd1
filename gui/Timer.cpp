// SPDX-License-Identifier: MIT
#include "gui/Timer.h"

#include "gui/FormReader.h"

#include <unordered_map>

namespace vx {
namespace {

std::unordered_map<backend::TimerId, TTimer*>& Live() {
    static auto& timers =
        *new std::unordered_map<backend::TimerId, TTimer*>; // outlives every timer
    return timers;
}

} // namespace

TTimer::~TTimer() {
    FEnabled = false;
    Update();
}

void TTimer::Update() {
    if (FId != 0) {
        backend::StopTimer(FId);
        Live().erase(FId);
        FId = 0;
    }
    if (FEnabled && FInterval > 0 && FOnTimer) {
        FId = backend::StartTimer(FInterval);
        Live()[FId] = this;
    }
}

void TTimer::SetEnabled(bool value) {
    if (FEnabled != value) {
        FEnabled = value;
        Update();
    }
}

void TTimer::SetInterval(uint32_t value) {
    if (FInterval != value) {
        FInterval = value;
        Update();
    }
}

void TTimer::SetOnTimer(TNotifyEvent value) {
    FOnTimer = std::move(value);
    Update();
}

void TTimer::Timer() {
    // A copy runs, so a handler may destroy its own timer.
    if (TNotifyEvent handler = FOnTimer) {
        handler(this);
    }
}

void TTimer::Fire(backend::TimerId id) {
    auto it = Live().find(id);
    if (it != Live().end()) {
        it->second->Timer();
    }
}

void TTimer::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Enabled") {
        SetEnabled(reader.Boolean(value));
    } else if (name == "Interval") {
        const int32_t interval = reader.Integer(value);
        if (interval < 0) {
            reader.Fail(value, "a timer interval cannot be negative");
        }
        SetInterval(uint32_t(interval));
    } else if (name == "OnTimer") {
        SetOnTimer(reader.Handler<TNotifyEvent>(value));
    } else {
        TComponent::ReadProperty(reader, name, value);
    }
}

} // namespace vx
