// SPDX-License-Identifier: MIT
// The capture worker on a real thread, with the main thread running the application's own
// message handling: built under ThreadSanitizer as well, to catch unguarded sharing.
#include "app/DrawCtrlTh.h"
#include "tests/support/MagnifierFixture.h"

#include <gtest/gtest.h>

using namespace vxtest;

namespace {

class DrawCtrlThReal : public MagnifierFixture, public ::testing::WithParamInterface<bool> {};

// The main thread lets time run and handles messages until the worker has made `captures`
// copies; then the worker is destroyed, asleep (true) or waiting for a hand-over (false).
TEST_P(DrawCtrlThReal, StartsCopiesAndIsDestroyedWithoutDeadlock) {
    const bool asleep = GetParam();
    Start();
    MainForm->FRangeRect = {10, 20, 110, 70};
    auto worker =
        std::make_unique<DrawCtrlTh>(MainForm, wapi::GetDC(wapi::GetDesktopWindow()), 20, true);
    worker->Start();
    for (int i = 0; i < 100000 && hl::ApiCalls("BitBlt").size() < 3; ++i) {
        vx::Application->ProcessMessages();
        hl::Advance(1);
    }
    ASSERT_GE(hl::ApiCalls("BitBlt").size(), 3u);
    // Park the worker where the case wants it; AwaitWorker tells which it reached.
    while (hl::AwaitWorker() == asleep) {
        vx::CheckSynchronize();
        if (!asleep) {
            hl::Advance(1);
        }
    }
    worker.reset();
    EXPECT_EQ(hl::ApiCalls("BitBlt").back().Args[3], 96);
}

INSTANTIATE_TEST_SUITE_P(Park, DrawCtrlThReal, ::testing::Values(true, false),
                         [](const auto& info) {
                             return std::string(info.param ? "asleep" : "in_hand_over");
                         });

} // namespace
