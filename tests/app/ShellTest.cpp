// SPDX-License-Identifier: MIT
// Start-up, the message loop and shutdown, run as the process entry runs them.
#include "tests/support/MagnifierFixture.h"

#include <gtest/gtest.h>

using namespace vxtest;

namespace {

class ShellTest : public MagnifierFixture {};

TEST_F(ShellTest, StartsWithOnlyTheMagnifierShownAndExitsWithZeroWhenClosed) {
    struct Seen {
        std::vector<wapi::HWND> Visible;
        vx::TRect Bounds, Client;
        std::optional<hl::WindowInfo> Info;
        bool LabelVisible = false;
        vx::TForm* First = nullptr;
    } seen;
    hl::At(10, [&seen] {
        for (wapi::HWND w : hl::TopLevelWindows()) {
            if (hl::Window(w)->Visible) {
                seen.Visible.push_back(w);
            }
        }
        seen.Info = hl::Window(MainForm->Handle());
        seen.Client = vx::backend::GetClientRect(MainForm->Handle());
        seen.LabelVisible = MainForm->MessageLabel->Visible();
        seen.First = vx::Application->MainForm();
        hl::RequestClose(MainForm->Handle());
    });
    EXPECT_EQ(RunOrvalen(), 0);

    ASSERT_EQ(seen.Visible.size(), 1u);
    EXPECT_EQ(seen.Visible[0], MainForm->HandleIfAllocated());
    EXPECT_EQ(seen.First, MainForm);
    ASSERT_TRUE(seen.Info);
    const vx::TRect frame = hl::FrameInsets(vx::backend::Frame::Sizeable);
    EXPECT_EQ(seen.Info->Bounds.Left, 750);
    EXPECT_EQ(seen.Info->Bounds.Top, 550);
    EXPECT_EQ(seen.Client, (vx::TRect{0, 0, 400, 200}));
    EXPECT_EQ(seen.Info->Bounds.Width(), 400 + frame.Left + frame.Right);
    EXPECT_EQ(seen.Info->Params.Caption, u"Vexelo");
    EXPECT_TRUE(seen.Info->Params.StayOnTop);
    EXPECT_TRUE(seen.Info->Params.TaskBarButton);
    EXPECT_TRUE(seen.Info->Params.SystemMenu);
    EXPECT_FALSE(seen.Info->Params.MinimizeBox);
    EXPECT_FALSE(seen.Info->Params.MaximizeBox);
    EXPECT_EQ(seen.Info->Params.Border, vx::backend::Frame::Sizeable);
    EXPECT_STREQ(seen.Info->Params.IconResource, "MAINICON");
    EXPECT_TRUE(seen.LabelVisible);
    EXPECT_TRUE(hl::MessageBoxes().empty());
    EXPECT_EQ(hl::ApiCalls("Sleep").size(), 1u) << "closing waits once";
    // The desktop's device context is taken once, at creation, before any other form exists.
    const auto& log = hl::ApiLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].Name, "GetDesktopWindow");
    EXPECT_EQ(log[1].Name, "GetDC");
    EXPECT_EQ(log[1].Args[0], 0x10);
}

TEST_F(ShellTest, RightClickMenuOffersTheTwoCommandsAndRunsSelection) {
    hl::At(10, [] {
        hl::ChooseMenuCaption(u"範囲指定");
        hl::RightClick(MainForm->ClientToScreen({200, 100}));
    });
    hl::At(20, [] { hl::PressKey(VK_ESCAPE, 27); }); // cancels the overlay
    hl::At(500, [] { hl::RequestClose(MainForm->Handle()); });
    EXPECT_EQ(RunOrvalen(), 0);

    ASSERT_EQ(hl::ShownMenus().size(), 1u);
    const auto& menu = hl::ShownMenus()[0];
    ASSERT_EQ(menu.Entries.size(), 3u);
    EXPECT_EQ(menu.Entries[0].Caption, u"範囲指定");
    EXPECT_EQ(menu.Entries[1].Caption, u"-");
    EXPECT_EQ(menu.Entries[2].Caption, u"バージョン情報");
    EXPECT_EQ(menu.At, MainForm->ClientToScreen({200, 100}));
    // The cancelled selection started magnifying the default range until the close.
    EXPECT_GE(hl::ApiCalls("StretchBlt").size(), 4u);
}

// Closing stops the copies: nothing is drawn once the close has begun.
TEST_F(ShellTest, NoCopyAfterCloseBegins) {
    size_t atClose = 0;
    hl::At(10, [] { hl::PressKey(VK_ESCAPE, 27); });
    hl::At(5, [] { MainForm->SelectRangeMenuClick(nullptr); });
    hl::At(1050, [&atClose] {
        atClose = hl::ApiCalls("StretchBlt").size();
        hl::RequestClose(MainForm->Handle());
    });
    const uint64_t before = hl::Now();
    EXPECT_EQ(RunOrvalen(), 0);
    EXPECT_GE(atClose, 9u);
    EXPECT_EQ(hl::ApiCalls("StretchBlt").size(), atClose);
    EXPECT_GE(hl::Now() - before, 1150u);
}

struct BrokenForm {
    const char* Name;
    const char* Resource;
    std::optional<std::string> Text;
    const char16_t* Message; // part of what the message box says
};

void PrintTo(const BrokenForm& c, std::ostream* os) {
    *os << c.Name;
}

class ShellBrokenForm : public MagnifierFixture,
                        public ::testing::WithParamInterface<BrokenForm> {};

// A form that cannot be created is reported in a message box, and the process still ends
// with 0 without entering the message loop.
TEST_P(ShellBrokenForm, IsShownAndTheProcessReturnsZero) {
    hl::SetTextResource(GetParam().Resource, GetParam().Text);
    EXPECT_EQ(RunOrvalen(), 0);
    const auto boxes = hl::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(GetParam().Message), std::u16string::npos);
    for (wapi::HWND w : hl::TopLevelWindows()) {
        EXPECT_FALSE(hl::Window(w)->Visible) << "nothing was shown";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellBrokenForm,
    ::testing::Values(BrokenForm{"MissingDescription", "TVersionForm", std::nullopt,
                                 u"TVersionForm"},
                      BrokenForm{"UnreadableDescription", "TSelectRangeForm",
                                 "object X: TSelectRangeForm\n  Left = \n", u"line 2"},
                      BrokenForm{"MissingComponent", "TMainForm",
                                 "object MainForm: TMainForm\nend\n", u"DrawTimer"},
                      BrokenForm{"UnknownHandler", "TMainForm",
                                 "object MainForm: TMainForm\n  OnCreate = NoSuchHandler\nend\n",
                                 u"NoSuchHandler"}),
    [](const ::testing::TestParamInfo<BrokenForm>& info) { return info.param.Name; });

} // namespace
