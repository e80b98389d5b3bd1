// SPDX-License-Identifier: MIT
// The capture worker, turn by turn on the virtual clock: when it sleeps, when it copies, what
// it copies and what it hands over to the main thread.
#include "app/DrawCtrlTh.h"
#include "tests/support/MagnifierFixture.h"
#include "tests/support/WorkerDriver.h"

#include <gtest/gtest.h>

using namespace vxtest;
using vx::TPoint;
using vx::TRect;

namespace {

constexpr int64_t SRCCOPY = 0x00CC0020;

class DrawCtrlThTest : public MagnifierFixture {
protected:
    void SetUp() override {
        MagnifierFixture::SetUp();
        Start();
        hl::ClearApiLog();
    }
    void TearDown() override {
        Worker.reset(); // before the machine is reset under it
        MagnifierFixture::TearDown();
    }

    void Launch(uint32_t interval, bool enabled) {
        Worker = std::make_unique<DrawCtrlTh>(MainForm, wapi::GetDC(wapi::GetDesktopWindow()),
                                              interval, enabled);
        Worker->Start();
    }

    // Turns until one makes a capture (three hand-overs); at most `limit` turns.
    TurnLog UntilCapture(int limit = 10) {
        for (int i = 0; i < limit; ++i) {
            TurnLog t = Turn();
            if (t.Handovers == 3) {
                return t;
            }
        }
        ADD_FAILURE() << "no capture in " << limit << " turns";
        return {};
    }

    std::unique_ptr<DrawCtrlTh> Worker;
};

struct ExpectedTurn {
    int Handovers;
    std::vector<int64_t> Sleeps;
    bool Copies;
};

struct TurnCase {
    const char* Name;
    uint32_t StartTick;
    uint32_t Interval;
    bool Enabled;
    std::vector<ExpectedTurn> Turns;
};

void PrintTo(const TurnCase& c, std::ostream* os) {
    *os << c.Name;
}

class DrawCtrlThTurns : public DrawCtrlThTest, public ::testing::WithParamInterface<TurnCase> {};

TEST_P(DrawCtrlThTurns, SleepsAndCopiesTurnByTurn) {
    const TurnCase& c = GetParam();
    hl::SetTickCount(c.StartTick);
    MainForm->FRangeRect = {10, 20, 110, 70};
    Launch(c.Interval, c.Enabled);
    for (size_t i = 0; i < c.Turns.size(); ++i) {
        SCOPED_TRACE("turn " + std::to_string(i + 1));
        const ExpectedTurn& want = c.Turns[i];
        const TurnLog t = Turn();
        EXPECT_EQ(t.Handovers, want.Handovers);
        EXPECT_EQ(t.Sleeps, want.Sleeps);
        EXPECT_EQ(t.Calls("BitBlt").size(), want.Copies ? 1u : 0u);
    }
}

const uint32_t NearWrap = 0xFFFFFFFFu - 29; // 30 ms before the count wraps to 0

INSTANTIATE_TEST_SUITE_P(
    Table, DrawCtrlThTurns,
    ::testing::Values(TurnCase{"disabled_never_copies",
                               1000,
                               100,
                               false,
                               {{2, {50, 1}, false}, {2, {50, 1}, false}, {2, {50, 1}, false}}},
                      // The first turn is in the loop's starting tick and sleeps 50; the capture
                      // comes once a whole interval has gone by (51 + 49 + 1 = 101 ms), and the
                      // next one a whole interval after the end of the first.
                      TurnCase{"first_capture_after_interval",
                               1000,
                               100,
                               true,
                               {{2, {50, 1}, false},
                                {2, {49, 1}, false},
                                {3, {1}, true},
                                {2, {99, 1}, false},
                                {3, {1}, true}}},
                      // Elapsed time is taken modulo 2^32, so the loop carries on across the wrap.
                      TurnCase{"tick_count_wraps",
                               NearWrap,
                               100,
                               true,
                               {{2, {50, 1}, false},
                                {2, {49, 1}, false},
                                {3, {1}, true},
                                {2, {99, 1}, false},
                                {3, {1}, true}}},
                      TurnCase{
                          "interval_zero_copies_on_every_new_tick",
                          5,
                          0,
                          true,
                          {{2, {50, 1}, false}, {3, {1}, true}, {3, {1}, true}, {3, {1}, true}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DrawCtrlThTest, CopiesTheInsetRangeAtTheOverlayOrigin) {
    hl::SetMonitors({{-1920, 0, 0, 1080}, {0, 0, 1920, 1080}});
    hl::Image desktop(3840, 1080);
    for (int32_t y = 0; y < desktop.Height; ++y) {
        for (int32_t x = 0; x < desktop.Width; ++x) {
            desktop.At(x, y) = uint32_t(x * 7 + y * 131) & 0xFFFFFF;
        }
    }
    hl::SetDesktop({-1920, 0}, desktop);
    SelectRangeForm->SetBounds(-1920, 0, 3840, 1080);
    ASSERT_EQ(MainForm->GetOverlayOrigin(), (TPoint{-1920, 0}));
    MainForm->FRangeRect = {10, 20, 110, 70};
    Launch(100, true);

    const TurnLog t = UntilCapture();
    const auto blits = t.Calls("BitBlt");
    ASSERT_EQ(blits.size(), 1u);
    const auto& a = blits[0].Args;
    EXPECT_EQ((std::vector<int64_t>(a.begin() + 1, a.end())),
              (std::vector<int64_t>{0, 0, 96, 46, a[5], -1908, 22, SRCCOPY}));
    const wapi::HDC source = wapi::GetDC(wapi::GetDesktopWindow());
    EXPECT_EQ(a[5], int64_t(reinterpret_cast<uintptr_t>(source)));
    // The worker waits for its next hand-over: the bitmap may be looked at.
    vx::TBitmap& b = Worker->Bitmap();
    ASSERT_EQ(b.Width(), 96);
    ASSERT_EQ(b.Height(), 46);
    const wapi::HDC dc = b.Canvas().Handle();
    for (TPoint p : {TPoint{0, 0}, TPoint{95, 0}, TPoint{0, 45}, TPoint{95, 45}, TPoint{40, 17}}) {
        EXPECT_EQ(vx::backend::GetPixel(dc, p),
                  vx::backend::GetPixel(source, {-1908 + p.X, 22 + p.Y}))
            << p.X << "," << p.Y;
    }
}

TEST_F(DrawCtrlThTest, ATurnInTheTickOfTheLastCaptureSleeps50NotTheRemainder) {
    MainForm->FRangeRect = {10, 20, 110, 70};
    Launch(100, true);
    UntilCapture();
    // A coarse tick count: it has not moved since the capture ended (before the 1 ms sleep).
    hl::SetTickCount(wapi::GetTickCount() - 1);
    const TurnLog t = Turn();
    EXPECT_EQ(t.Handovers, 2);
    EXPECT_EQ(t.Sleeps, (std::vector<int64_t>{50, 1}));
    EXPECT_TRUE(t.Calls("BitBlt").empty());
    EXPECT_EQ(Turn().Sleeps, (std::vector<int64_t>{49, 1}));
}

TEST_F(DrawCtrlThTest, NotifiesOnTheMainThreadAfterEachCopy) {
    MainForm->FRangeRect = {10, 20, 110, 70};
    Launch(100, true);
    for (int i = 0; i < 3; ++i) {
        const TurnLog t = UntilCapture();
        ASSERT_EQ(t.HandoverAt.size(), 3u);
        size_t blit = 0;
        for (size_t k = t.Mark; k < t.Log.size(); ++k) {
            if (t.Log[k].Name == "BitBlt") {
                blit = k;
            }
        }
        // Range and origin are fetched before the copy, the notification comes after it.
        EXPECT_LE(t.HandoverAt[1], blit);
        EXPECT_GT(t.HandoverAt[2], blit);
    }
}

TEST_F(DrawCtrlThTest, ReallocatesOnlyWhenTheSizeChanges) {
    struct Step {
        TRect Range;
        std::vector<std::vector<int64_t>> Created; // CreateBitmap sizes, in order
        int Width, Height;
        bool Copies;
    };
    const std::vector<Step> steps{
        {{10, 20, 110, 70}, {{96, 46}}, 96, 46, true},
        {{50, 60, 150, 110}, {}, 96, 46, true},          // moved, same size
        {{10, 20, 120, 70}, {{106, 46}}, 106, 46, true}, // width alone: both set
        {{10, 20, 30, 50}, {{16, 46}, {16, 26}}, 16, 26, true},
        {{10, 20, 14, 50}, {}, 0, 26, false},          // 4 wide: no image, no copy
        {{10, 20, 12, 22}, {}, 0, 0, false},           // negative extents clamp to 0
        {{10, 20, 110, 70}, {{96, 46}}, 96, 46, true}, // no image at 96 x 0
    };
    Launch(100, true);
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        MainForm->FRangeRect = steps[i].Range;
        const TurnLog t = UntilCapture();
        std::vector<std::vector<int64_t>> created;
        for (const auto& c : t.Calls("CreateBitmap")) {
            created.push_back(c.Args);
        }
        EXPECT_EQ(created, steps[i].Created);
        EXPECT_EQ(Worker->Bitmap().Width(), steps[i].Width);
        EXPECT_EQ(Worker->Bitmap().Height(), steps[i].Height);
        EXPECT_EQ(t.Calls("BitBlt").size(), steps[i].Copies ? 1u : 0u);
    }
}

TEST_F(DrawCtrlThTest, DestroyingWhileAHandOverIsPendingServesItAndEnds) {
    MainForm->FRangeRect = {10, 20, 110, 70};
    Launch(100, true);
    ASSERT_TRUE(hl::AwaitWorker()); // blocked in its first hand-over, not yet served
    Worker.reset();
    EXPECT_TRUE(hl::ApiCalls("Sleep").size() >= 2u); // it finished its turn first
}

} // namespace
