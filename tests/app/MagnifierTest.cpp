// SPDX-License-Identifier: MIT
// The magnifier window: what it copies, when, and how selection and the about dialog pause it.
#include "platform/headless/stretch.h"
#include "tests/support/MagnifierFixture.h"

#include <gtest/gtest.h>

using namespace vxtest;
using vx::TPoint;
using vx::TRect;

namespace {

struct CopyArgs {
    int64_t DestX, DestY, DestWidth, DestHeight, SourceX, SourceY, SourceWidth, SourceHeight;
};

CopyArgs LastCopy() {
    const auto calls = hl::ApiCalls("StretchBlt");
    EXPECT_FALSE(calls.empty());
    if (calls.empty()) {
        return {};
    }
    const auto& a = calls.back().Args;
    EXPECT_EQ(a[10], 0x00CC0020) << "SRCCOPY";
    return {a[1], a[2], a[3], a[4], a[6], a[7], a[8], a[9]};
}

class MagnifierTest : public MagnifierFixture {};

TEST_F(MagnifierTest, NothingIsCopiedBeforeTheFirstSelection) {
    Start();
    Run(1000);
    EXPECT_EQ(Copies(), 0u);
    EXPECT_TRUE(MainForm->MessageLabel->Visible());
    EXPECT_FALSE(MainForm->DrawTimer->Running());
    EXPECT_EQ(MainForm->FRangeRect, (TRect{0, 0, 100, 100}));
}

struct RangeCase {
    const char* Name;
    std::vector<TRect> Monitors;
    TRect Overlay;                                 // screen rectangle the overlay must cover
    std::optional<std::pair<TPoint, TPoint>> Drag; // none: the selection is cancelled
    TRect Range;                                   // FRangeRect afterwards
    CopyArgs Copy;                                 // onto the 400 x 200 client area
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.Name;
}

class MagnifierRange : public MagnifierFixture, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(MagnifierRange, OverlayCoversTheMonitorsAndTheCopyTakesTheInsetRange) {
    const RangeCase& c = GetParam();
    hl::SetMonitors(c.Monitors);
    Start();
    if (c.Drag) {
        SelectByDrag(c.Drag->first, {c.Drag->second});
    } else {
        CancelSelection();
    }
    const vx::TRect overlay = SelectRangeForm->BoundsRect();
    EXPECT_EQ(overlay, c.Overlay);
    EXPECT_EQ(SelectRangeForm->ClientToScreen({0, 0}), (TPoint{c.Overlay.Left, c.Overlay.Top}));
    EXPECT_FALSE(SelectRangeForm->Visible());
    EXPECT_FALSE(MainForm->MessageLabel->Visible());
    EXPECT_EQ(MainForm->FRangeRect, c.Range);
    EXPECT_TRUE(MainForm->DrawTimer->Running()) << "enabled after every selection";

    Run(100);
    ASSERT_EQ(Copies(), 1u);
    const CopyArgs a = LastCopy();
    EXPECT_EQ((std::array{a.DestX, a.DestY, a.DestWidth, a.DestHeight}),
              (std::array<int64_t, 4>{0, 0, 400, 200}));
    EXPECT_EQ(
        (std::array{a.SourceX, a.SourceY, a.SourceWidth, a.SourceHeight}),
        (std::array{c.Copy.SourceX, c.Copy.SourceY, c.Copy.SourceWidth, c.Copy.SourceHeight}));
}

INSTANTIATE_TEST_SUITE_P(Cases, MagnifierRange,
                         ::testing::Values(RangeCase{"CancelledFirstSelectionShowsTheDefaultRange",
                                                     {{0, 0, 1920, 1080}},
                                                     {0, 0, 1920, 1080},
                                                     std::nullopt,
                                                     {0, 0, 100, 100},
                                                     {0, 0, 400, 200, 2, 2, 96, 96}},
                                           RangeCase{"MonitorLeftOfPrimary",
                                                     {{-1280, 0, 0, 1024}, {0, 0, 1920, 1080}},
                                                     {-1280, 0, 1920, 1080},
                                                     std::pair{TPoint{10, 20}, TPoint{110, 70}},
                                                     {10, 20, 110, 70},
                                                     {0, 0, 400, 200, -1268, 22, 96, 46}},
                                           RangeCase{"MonitorAbovePrimaryDraggedUpwards",
                                                     {{0, 0, 1920, 1080}, {200, -768, 1224, 0}},
                                                     {0, -768, 1920, 1080},
                                                     std::pair{TPoint{300, 900}, TPoint{100, 700}},
                                                     {100, 700, 300, 900},
                                                     {0, 0, 400, 200, 102, -66, 196, 196}},
                                           RangeCase{"CancelledWithMonitorsLeftAndAbove",
                                                     {{0, 0, 800, 600}, {-1024, -200, 0, 568}},
                                                     {-1024, -200, 800, 600},
                                                     std::nullopt,
                                                     {0, 0, 100, 100},
                                                     {0, 0, 400, 200, -1022, -198, 96, 96}},
                                           RangeCase{"TinyRangeGivesNegativeExtents",
                                                     {{0, 0, 1920, 1080}},
                                                     {0, 0, 1920, 1080},
                                                     std::pair{TPoint{50, 50}, TPoint{53, 51}},
                                                     {50, 50, 53, 51},
                                                     {0, 0, 400, 200, 52, 52, -1, -3}}),
                         [](const ::testing::TestParamInfo<RangeCase>& info) {
                             return info.param.Name;
                         });

// The copy lands in the window's pixels: an exact 4x enlargement of a known pattern, and
// a halving that must average.
TEST_F(MagnifierTest, CopyFillsTheClientAreaWithTheStretchedRange) {
    hl::Image desktop(1920, 1080);
    for (int y = 0; y < desktop.Height; ++y) {
        for (int x = 0; x < desktop.Width; ++x) {
            desktop.At(x, y) = uint32_t((x * 37) & 0xFF) << 16 | uint32_t((y * 11) & 0xFF) << 8 |
                               uint32_t((x ^ y) & 0xFF);
        }
    }
    hl::SetDesktop({0, 0}, desktop);
    Start();
    SelectByDrag({300, 200}, {{404, 254}}); // source (302, 202) 100 x 50
    Run(100);
    const hl::Image& window = hl::Surface(MainForm->Handle());
    ASSERT_EQ(window.Width, 400);
    ASSERT_EQ(window.Height, 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 400; ++x) {
            ASSERT_EQ(window.At(x, y), desktop.At(302 + x / 4, 202 + y / 4)) << x << "," << y;
        }
    }

    hl::Image board(1920, 1080);
    for (int y = 0; y < board.Height; ++y) {
        for (int x = 0; x < board.Width; ++x) {
            board.At(x, y) = (x + y) % 2 == 0 ? 0xFFFFFF : 0x000000;
        }
    }
    hl::SetDesktop({0, 0}, board);
    SelectByDrag({0, 0}, {{804, 404}}); // 800 x 400 onto 400 x 200
    Run(100);
    for (uint32_t p : hl::Surface(MainForm->Handle()).Pixels) {
        ASSERT_EQ(p, 0x808080u);
    }
}

TEST_F(MagnifierTest, ResizingMakesTheNextCopyFillTheNewClientArea) {
    Start();
    CancelSelection();
    Run(100);
    MainForm->SetBounds(MainForm->Left(), MainForm->Top(), MainForm->Width() + 100,
                        MainForm->Height() + 50);
    hl::Pump();
    Run(100);
    const CopyArgs a = LastCopy();
    EXPECT_EQ(a.DestWidth, 500);
    EXPECT_EQ(a.DestHeight, 250);
}

TEST_F(MagnifierTest, TimerIsReArmedOnlyAfterEachCopy) {
    Start();
    CancelSelection();
    const uint64_t started = hl::Now();
    Run(99);
    EXPECT_EQ(Copies(), 0u);
    Run(1);
    EXPECT_EQ(Copies(), 1u) << "first copy 100 ms after the selection";
    Run(99);
    EXPECT_EQ(Copies(), 1u);
    Run(1);
    EXPECT_EQ(Copies(), 2u);
    Run(800);
    EXPECT_EQ(Copies(), 10u);
    EXPECT_EQ(hl::Now() - started, 1000u);
}

TEST_F(MagnifierTest, CloseQueryStopsCopyingAfterA100msWait) {
    Start();
    CancelSelection();
    Run(150);
    const size_t before = Copies();
    const uint64_t t = hl::Now();
    bool canClose = true;
    MainForm->FormCloseQuery(nullptr, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(hl::Now() - t, 100u) << "the main thread waits 100 ms";
    EXPECT_FALSE(MainForm->DrawTimer->Running());
    Run(1000);
    EXPECT_EQ(Copies(), before);

    // A tick that still arrives finds copying forbidden and leaves the timer off.
    MainForm->DrawTimer->SetEnabled(true);
    Run(100);
    EXPECT_EQ(Copies(), before);
    EXPECT_FALSE(MainForm->DrawTimer->Enabled());
}

TEST_F(MagnifierTest, DoubleClickDoesNothing) {
    Start();
    const TPoint inside = MainForm->ClientToScreen({200, 100});
    hl::Click(inside);
    hl::Click(inside);
    hl::Pump();
    Run(500);
    EXPECT_EQ(Copies(), 0u);
    EXPECT_TRUE(MainForm->Visible());
}

struct AboutCase {
    const char* Name;
    bool Magnifying;
    uint16_t Key;
    char16_t Char;
};

void PrintTo(const AboutCase& c, std::ostream* os) {
    *os << c.Name;
}

class MagnifierAbout : public MagnifierFixture, public ::testing::WithParamInterface<AboutCase> {};

// The dialog hides and pauses the magnifier, whatever closes it, and gives back the timer's
// earlier state.
TEST_P(MagnifierAbout, HidesAndPausesThenResumes) {
    const AboutCase& c = GetParam();
    Start();
    if (c.Magnifying) {
        CancelSelection();
        Run(250);
    }
    const size_t before = Copies();
    bool hiddenDuring = false;
    bool timerDuring = true;
    bool dialogShown = false;
    hl::After(1, [&] {
        hiddenDuring = !MainForm->Visible() && !hl::Window(MainForm->Handle())->Visible;
        timerDuring = MainForm->DrawTimer->Running();
        dialogShown = hl::Window(VersionForm->Handle())->Visible;
    });
    hl::After(500, [&] { hl::PressKey(c.Key, c.Char); });
    MainForm->VersionMenuClick(nullptr);
    EXPECT_TRUE(hiddenDuring);
    EXPECT_FALSE(timerDuring);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(Copies(), before) << "no copy while the dialog is up";
    EXPECT_FALSE(VersionForm->Visible());
    EXPECT_TRUE(MainForm->Visible());
    EXPECT_EQ(MainForm->DrawTimer->Running(), c.Magnifying);
    Run(100);
    EXPECT_EQ(Copies(), before + (c.Magnifying ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(Cases, MagnifierAbout,
                         ::testing::Values(AboutCase{"IdleEscape", false, VK_ESCAPE, 27},
                                           AboutCase{"MagnifyingEscape", true, VK_ESCAPE, 27},
                                           AboutCase{"MagnifyingEnter", true, VK_RETURN, 13}),
                         [](const ::testing::TestParamInfo<AboutCase>& info) {
                             return info.param.Name;
                         });

} // namespace
