// SPDX-License-Identifier: MIT
#pragma once

#include "gui/Component.h"
#include "platform/backend.h"

namespace vx {

// Calls OnTimer every Interval milliseconds while enabled. Switching it off and on again,
// or changing the interval, starts a whole new interval.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner) : TComponent(AOwner) {}
    ~TTimer() override;
    [[nodiscard]] const char* ClassName() const override { return "TTimer"; }

    [[nodiscard]] bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    [[nodiscard]] uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t value);
    [[nodiscard]] const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent value);
    // True while the operating system's timer runs.
    [[nodiscard]] bool Running() const { return FId != 0; }

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

    // Delivers a tick of the operating system's timer to its TTimer.
    static void Fire(backend::TimerId id);

protected:
    virtual void Timer();

private:
    bool FEnabled = true;
    uint32_t FInterval = 1000;
    TNotifyEvent FOnTimer;
    backend::TimerId FId = 0;
    void Update();
};

} // namespace vx
