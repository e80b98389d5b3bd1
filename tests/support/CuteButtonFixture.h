// SPDX-License-Identifier: MIT
// A shown form holding a cute button and a panel that can take the focus from it, on the
// headless backend; helpers to press, type, let virtual time run and read back what the
// button painted on its own window.
#pragma once

#include "controls/button/CuteBtn.h"
#include "gui/Application.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

namespace vx {
// Bevels by name in test messages.
inline void PrintTo(TBevelCut cut, std::ostream* os) {
    static const char* const names[] = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    *os << names[int(cut)];
}
} // namespace vx

namespace vxtest {

namespace hl = vx::headless;

// Public, so that tables of cases can drive it from their own functions.
class CuteButtonFixture : public ::testing::Test {
public:
    // A screen point that no window covers: where a release lands that no control may see.
    static constexpr vx::TPoint Nowhere{1800, 1000};

    void SetUp() override {
        hl::Reset();
        vx::RecreateApplication();
        form = new vx::TForm(vx::Application);
        form->SetBounds(100, 100, 400, 300);
        // Created first, so that showing the form focuses it and the button starts at rest.
        other = new vx::TPanel(form);
        other->SetParent(form);
        other->SetBounds(200, 150, 100, 50);
        other->SetTabStop(true);
        button = new vx::button::TCuteButton(form);
        button->SetParent(form);
        button->SetLeft(20);
        button->SetTop(20);
        form->SetVisible(true);
        other->SetFocus();
        hl::Pump();
    }

    void TearDown() override {
        vx::RecreateApplication();
        hl::Reset();
    }

    // A client point of the button, on the screen.
    [[nodiscard]] vx::TPoint At(int x, int y) const { return button->ClientToScreen({x, y}); }

    void Press(int x = 10, int y = 10,
               vx::backend::MouseButton which = vx::backend::MouseButton::Left) const {
        hl::MouseDown(At(x, y), which);
        hl::Pump();
    }
    void Release(int x = 10, int y = 10,
                 vx::backend::MouseButton which = vx::backend::MouseButton::Left) const {
        hl::MouseUp(At(x, y), which);
        hl::Pump();
    }
    static void Focus(vx::TWinControl* control) {
        control->SetFocus();
        hl::Pump();
    }
    static void KeyDown(uint16_t key, uint32_t shift = 0) {
        hl::KeyDown(key, shift);
        hl::Pump();
    }
    static void KeyUp(uint16_t key, uint32_t shift = 0) {
        hl::KeyUp(key, shift);
        hl::Pump();
    }
    static void Key(uint16_t key, uint32_t shift = 0) {
        KeyDown(key, shift);
        KeyUp(key, shift);
    }

    // Lets virtual time run, delivering timer ticks on the way.
    static void Run(uint64_t ms) {
        const uint64_t end = hl::Now() + ms;
        while (hl::Now() < end) {
            hl::Advance(1);
            hl::Pump();
        }
    }

    // The painting primitives logged on the button's own window, in order.
    [[nodiscard]] std::vector<hl::ApiCall> ButtonCalls() const {
        const auto window = int64_t(reinterpret_cast<uintptr_t>(button->HandleIfAllocated()));
        std::vector<hl::ApiCall> out;
        for (const hl::ApiCall& c : hl::ApiLog()) {
            const bool drawing = c.Name == "FillRect" || c.Name == "Frame3D" ||
                                 c.Name == "DrawText" || c.Name == "DrawBitmap" ||
                                 c.Name == "FocusRect";
            if (drawing && !c.Args.empty() && c.Args.back() == window) {
                out.push_back(c);
            }
        }
        return out;
    }

    // How many times the button repainted itself because of `change`: every repaint starts by
    // filling the whole client area.
    [[nodiscard]] int RepaintsAfter(const std::function<void()>& change) const {
        hl::Pump();
        hl::ClearApiLog();
        change();
        hl::Pump();
        const vx::TRect client = button->ClientRect();
        int repaints = 0;
        for (const hl::ApiCall& c : ButtonCalls()) {
            if (c.Name == "FillRect" && c.Args[0] == client.Left && c.Args[1] == client.Top &&
                c.Args[2] == client.Right && c.Args[3] == client.Bottom) {
                ++repaints;
            }
        }
        return repaints;
    }

    vx::TForm* form = nullptr;
    vx::TPanel* other = nullptr;
    vx::button::TCuteButton* button = nullptr;
};

} // namespace vxtest
