// SPDX-License-Identifier: MIT
// The one way in for events from the window system: routes each to its control.
#pragma once

#include "platform/events.h"

namespace vx {

class EventRouter : public backend::EventSink {
public:
    // Exceptions raised by handlers end here and are shown by the application.
    void Dispatch(backend::Event& event) final;
};

} // namespace vx
