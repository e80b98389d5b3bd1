// SPDX-License-Identifier: MIT
// Starts the magnifier on the headless backend, and drives it as a user would.
#pragma once

#include "app/MainFrm.h"
#include "app/Orvalen.h"
#include "app/SelectRangeFrm.h"
#include "app/VersionFrm.h"
#include "gui/Application.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

namespace vxtest {

namespace hl = vx::headless;

constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_RETURN = 0x0D;

class MagnifierFixture : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Reset();
        vx::RecreateApplication();
    }

    void TearDown() override {
        vx::RecreateApplication();
        MainForm = nullptr;
        SelectRangeForm = nullptr;
        VersionForm = nullptr;
        hl::Reset();
    }

    // Start-up as far as the message loop: the three forms, the main one shown.
    static void Start() {
        vx::Application->Initialize();
        vx::Application->MainFormOnTaskBar = true;
        vx::Application->CreateForm(MainForm);
        vx::Application->CreateForm(SelectRangeForm);
        vx::Application->CreateForm(VersionForm);
        MainForm->SetVisible(true);
        hl::Pump();
    }

    static vx::TPoint OnOverlay(vx::TPoint client) {
        return SelectRangeForm->ClientToScreen(client);
    }

    // Runs range selection: the user presses at `from`, drags through `path` and releases at
    // the last point (overlay client coordinates).
    static void SelectByDrag(vx::TPoint from, std::vector<vx::TPoint> path) {
        hl::After(1, [from] { hl::MouseDown(OnOverlay(from)); });
        uint64_t t = 2;
        for (vx::TPoint p : path) {
            hl::After(t++, [p] { hl::MouseMove(OnOverlay(p), vx::backend::ShiftLeft); });
        }
        const vx::TPoint end = path.empty() ? from : path.back();
        hl::After(t, [end] { hl::MouseUp(OnOverlay(end)); });
        MainForm->SelectRangeMenuClick(nullptr);
    }

    static void CancelSelection() {
        hl::After(1, [] { hl::PressKey(VK_ESCAPE, 27); });
        MainForm->SelectRangeMenuClick(nullptr);
    }

    static size_t Copies() { return hl::ApiCalls("StretchBlt").size(); }

    // Lets virtual time run, delivering timer ticks on the way.
    static void Run(uint64_t ms) {
        const uint64_t end = hl::Now() + ms;
        while (hl::Now() < end) {
            hl::Advance(1);
            hl::Pump();
        }
    }
};

} // namespace vxtest
