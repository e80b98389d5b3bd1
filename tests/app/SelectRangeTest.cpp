// SPDX-License-Identifier: MIT
// The overlay: the rubber band follows the drag, and every way of ending the run.
#include "tests/support/MagnifierFixture.h"

#include <gtest/gtest.h>

using namespace vxtest;
using vx::TPoint;
using vx::TRect;

namespace {

class SelectRangeTest : public MagnifierFixture {
protected:
    void SetUp() override {
        MagnifierFixture::SetUp();
        Start();
    }

    // Runs the overlay modally with `steps` played one millisecond apart; returns its result.
    static vx::TModalResult RunOverlay(std::vector<std::function<void()>> steps) {
        uint64_t t = 1;
        for (auto& step : steps) {
            hl::After(t++, std::move(step));
        }
        SelectRangeForm->SetBounds(0, 0, 1920, 1080);
        return SelectRangeForm->ShowModal();
    }

    static TRect Band() { return SelectRangeForm->RangeShape->BoundsRect(); }
};

TEST_F(SelectRangeTest, BandFollowsTheDragNormalisedAroundThePress) {
    struct Step {
        TPoint Pointer;
        TRect Expected;
    };
    const TPoint press{100, 100};
    const Step steps[] = {
        {{80, 80}, {80, 80, 100, 100}},     {{95, 95}, {95, 95, 100, 100}},
        {{120, 130}, {100, 100, 120, 130}}, {{150, 100}, {100, 100, 150, 100}},
        {{100, 40}, {100, 40, 100, 100}},   {{60, 130}, {60, 100, 100, 130}},
        {{110, 110}, {100, 100, 110, 110}}, // over the band itself: still the panel's report
    };
    std::vector<TRect> seen, bands;
    std::vector<bool> shown;
    std::vector<std::function<void()>> script;
    script.push_back([press] { hl::MouseDown(press); });
    script.push_back([&] {
        seen.push_back(SelectRangeForm->FSelectedRect);
        bands.push_back(Band());
        shown.push_back(SelectRangeForm->RangeShape->Visible());
    });
    for (const Step& s : steps) {
        script.push_back([p = s.Pointer] { hl::MouseMove(p, vx::backend::ShiftLeft); });
        script.push_back([&] {
            seen.push_back(SelectRangeForm->FSelectedRect);
            bands.push_back(Band());
            shown.push_back(SelectRangeForm->RangeShape->Visible());
        });
    }
    script.push_back([] { hl::MouseUp({110, 110}); });
    EXPECT_EQ(RunOverlay(std::move(script)), vx::mrOk);

    ASSERT_EQ(seen.size(), std::size(steps) + 1);
    EXPECT_EQ(seen[0], (TRect{100, 100, 100, 100})) << "the first report comes with the press";
    for (size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(seen[i + 1], steps[i].Expected) << i;
    }
    EXPECT_EQ(bands, seen) << "the band has the selection's bounds";
    EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](bool b) { return b; }));
    EXPECT_EQ(SelectRangeForm->FSelectedRect, (TRect{100, 100, 110, 110}));
}

struct Ending {
    const char* Name;
    std::vector<std::function<void()>> Script;
    vx::TModalResult Result;
    TRect Selected;
};

void PrintTo(const Ending& c, std::ostream* os) {
    *os << c.Name;
}

class SelectRangeEnding : public SelectRangeTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(SelectRangeEnding, GivesItsResultAndRectangle) {
    EXPECT_EQ(RunOverlay(GetParam().Script), GetParam().Result);
    EXPECT_EQ(SelectRangeForm->FSelectedRect, GetParam().Selected);
    EXPECT_FALSE(SelectRangeForm->Visible());
    EXPECT_EQ(vx::backend::GetCapture(), nullptr) << "the drag let go of the mouse";
}

const auto Escape = [] { hl::PressKey(VK_ESCAPE, 27); };
const auto Press = [] { hl::MouseDown({100, 100}); };
const auto MoveTo = [](TPoint p) { return [p] { hl::MouseMove(p, vx::backend::ShiftLeft); }; };

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectRangeEnding,
    ::testing::Values(Ending{"ReleaseWithoutMoving",
                             {Press,
                              [] {
                                  hl::MouseUp({100, 100});
                              }},
                             vx::mrOk,
                             {100, 100, 100, 100}},
                      Ending{"EscapeBeforeAnyPress", {Escape}, vx::mrCancel, {0, 0, 0, 0}},
                      Ending{"EscapeDuringTheDrag",
                             {Press, MoveTo({140, 150}), Escape},
                             vx::mrOk,
                             {100, 100, 140, 150}},
                      Ending{"CaptureTakenAway",
                             {Press, MoveTo({40, 30}), [] { hl::TakeCapture(); }},
                             vx::mrOk,
                             {40, 30, 100, 100}},
                      Ending{"RightAndMiddlePressesDoNothing",
                             {[] {
                                  hl::MouseDown({100, 100}, vx::backend::MouseButton::Right);
                              },
                              [] {
                                  hl::MouseUp({100, 100}, vx::backend::MouseButton::Right);
                              },
                              [] {
                                  hl::MouseDown({50, 50}, vx::backend::MouseButton::Middle);
                              },
                              [] {
                                  hl::MouseUp({50, 50}, vx::backend::MouseButton::Middle);
                              },
                              Escape},
                             vx::mrCancel,
                             {0, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<Ending>& info) { return info.param.Name; });

TEST_F(SelectRangeTest, ReleaseOverAnotherWindowStillAccepts) {
    // The magnifier window lies above the overlay's area here, and is disabled by the run.
    const TPoint onMagnifier = MainForm->ClientToScreen({10, 10});
    const auto result = RunOverlay({Press, MoveTo({300, 300}), [onMagnifier] {
                                        hl::MouseMove(onMagnifier, vx::backend::ShiftLeft);
                                        hl::MouseUp(onMagnifier);
                                    }});
    EXPECT_EQ(result, vx::mrOk);
}

TEST_F(SelectRangeTest, ASecondShowingStartsEmpty) {
    ASSERT_EQ(RunOverlay({Press, MoveTo({200, 220}), [] { hl::MouseUp({200, 220}); }}), vx::mrOk);
    ASSERT_TRUE(SelectRangeForm->RangeShape->Visible());
    TRect atShow{1, 1, 1, 1};
    bool bandAtShow = true;
    EXPECT_EQ(RunOverlay({[&] {
                              atShow = SelectRangeForm->FSelectedRect;
                              bandAtShow = SelectRangeForm->RangeShape->Visible();
                          },
                          Escape}),
              vx::mrCancel);
    EXPECT_EQ(atShow, (TRect{0, 0, 0, 0}));
    EXPECT_FALSE(bandAtShow);
}

TEST_F(SelectRangeTest, OverlayIsTranslucentFramelessAndTheBandIsHollow) {
    uint32_t inside = 0, edge = 0, edgeInner = 0, pastEdge = 0, outside = 0;
    std::optional<hl::WindowInfo> info;
    RunOverlay({Press, MoveTo({200, 160}),
                [&] {
                    hl::Pump();
                    info = hl::Window(SelectRangeForm->Handle());
                    const hl::Image& s = hl::Surface(SelectRangeForm->SelectRangePanel->Handle());
                    inside = s.At(150, 130);
                    edge = s.At(100, 130);
                    edgeInner = s.At(102, 130);
                    pastEdge = s.At(103, 130);
                    outside = s.At(300, 300);
                },
                Escape});
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Alpha, 128);
    EXPECT_EQ(info->Params.Border, vx::backend::Frame::None);
    EXPECT_EQ(info->Bounds, (TRect{0, 0, 1920, 1080}));
    EXPECT_EQ(outside, 0x80FFFFu) << "light cyan";
    EXPECT_EQ(inside, 0x80FFFFu) << "the hollow band lets the overlay show through";
    EXPECT_EQ(edge, 0x0080FFu) << "blue pen";
    EXPECT_EQ(edgeInner, 0x0080FFu) << "3 pixels wide";
    EXPECT_EQ(pastEdge, 0x80FFFFu);
}

class VersionDialogTest : public MagnifierFixture {
protected:
    void SetUp() override {
        MagnifierFixture::SetUp();
        Start();
    }
    static vx::TModalResult RunDialog(std::vector<std::function<void()>> steps) {
        uint64_t t = 1;
        for (auto& step : steps) {
            hl::After(t++, std::move(step));
        }
        return VersionForm->ShowModal();
    }
    static TPoint On(vx::TControl* c) {
        return c->ClientToScreen({c->Width() / 2, c->Height() / 2});
    }
};

TEST_F(VersionDialogTest, EachLinkOpensItsOwnCaptionAndKeepsTheDialogOpen) {
    bool openAfterClicks = false;
    const auto result = RunDialog({[] { hl::Click(On(VersionForm->Label11)); },
                                   [] { hl::Click(On(VersionForm->URLLabel)); },
                                   [&] { openAfterClicks = VersionForm->Visible(); }, Escape});
    EXPECT_TRUE(openAfterClicks);
    EXPECT_EQ(result, vx::mrCancel);
    const auto calls = hl::ApiCalls("ShellExecuteW");
    ASSERT_EQ(calls.size(), 2u);
    const std::u16string captions[] = {VersionForm->Label11->Caption(),
                                       VersionForm->URLLabel->Caption()};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(calls[i].Texts, (std::vector<std::u16string>{u"open", captions[i], u"", u""}));
        EXPECT_EQ(calls[i].Args[0], int64_t(reinterpret_cast<uintptr_t>(VersionForm->Handle())));
        EXPECT_EQ(calls[i].Args[1], 5) << "SW_SHOW";
    }
    EXPECT_TRUE(captions[0].starts_with(u"https://"));
    EXPECT_TRUE(captions[1].starts_with(u"https://"));
    EXPECT_NE(captions[0], captions[1]);
}

TEST_F(VersionDialogTest, AnEmptyCaptionOpensAnEmptyString) {
    // An empty label has no width left to click; its handler is what must cope.
    VersionForm->URLLabel->SetCaption(u"");
    RunDialog({[] { VersionForm->URLLabelClick(VersionForm->URLLabel); }, Escape});
    const auto calls = hl::ApiCalls("ShellExecuteW");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Texts[1], u"");
}

TEST_F(VersionDialogTest, ClosesOnlyOnEscapeEnterOkOrTheCloseBox) {
    struct Case {
        const char* Name;
        std::function<void()> Close;
        vx::TModalResult Result;
    } cases[] = {
        {"OkButton", [] { hl::Click(On(VersionForm->OKButton)); }, vx::mrOk},
        {"Enter", [] { hl::PressKey(VK_RETURN, 13); }, vx::mrOk},
        {"Escape", Escape, vx::mrCancel},
        {"CloseBox", [] { hl::RequestClose(VersionForm->Handle()); }, vx::mrCancel},
    };
    for (const Case& c : cases) {
        bool stillOpen = false;
        const auto result = RunDialog({[] { hl::PressKey(0x41, u'a'); },
                                       [] { hl::Char(u'あ'); }, // from an input method
                                       [&] { stillOpen = VersionForm->Visible(); }, c.Close});
        EXPECT_TRUE(stillOpen) << c.Name;
        EXPECT_EQ(result, c.Result) << c.Name;
    }
}

TEST_F(VersionDialogTest, IsCentredOnTheMagnifierWithItsDesignedContent) {
    std::optional<hl::WindowInfo> info;
    TRect client;
    RunDialog({[&] {
                   info = hl::Window(VersionForm->Handle());
                   client = vx::backend::GetClientRect(VersionForm->Handle());
               },
               Escape});
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Params.Caption, u"バージョン情報");
    EXPECT_EQ(info->Params.Border, vx::backend::Frame::Dialog);
    EXPECT_EQ(client, (TRect{0, 0, 338, 187}));
    const TRect main = MainForm->BoundsRect();
    EXPECT_EQ(info->Bounds.Left + info->Bounds.Width() / 2, main.Left + main.Width() / 2);
    EXPECT_EQ(info->Bounds.Top + info->Bounds.Height() / 2, main.Top + main.Height() / 2);
    EXPECT_EQ(VersionForm->Label3->Caption(), u"Vexelo 0.15");
    EXPECT_EQ(VersionForm->Image2->Icon(), "MAINICON");
    EXPECT_TRUE(VersionForm->OKButton->Default());
}

} // namespace
