// SPDX-License-Identifier: MIT
// The cute button's state machine driven through real input: setters and repaints, Down and
// speed-button presses, bevels under focus, keys and the pointer, the drop-down and its delay,
// clicks that pile up during a slow handler, hover colours, and the dialog keys.
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "tests/support/CuteButtonFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace vx;
using namespace vx::button;
using namespace vxtest;
using vx::backend::MouseButton;

namespace {

constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_A = 0x41;

// Records the stock mouse and click events in the order they fire.
class CuteButtonTest : public CuteButtonFixture {
public:
    void SetUp() override {
        CuteButtonFixture::SetUp();
        button->SetCaption(u"&Go");
        button->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
            events.push_back(button->MouseCapture() ? "down/held" : "down/free");
        };
        button->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
            events.push_back("up");
        };
        button->OnClick = [this](TObject*) {
            events.push_back("click");
            outerInClick = button->BevelOuter();
            ++clicks;
        };
        hl::Pump();
    }

    // A menu of one item, for the button to drop down.
    TPopupMenu* GiveMenu(int delay) {
        auto* menu = new TPopupMenu(form);
        auto* item = new TMenuItem(form);
        item->SetCaption(u"Item");
        menu->Add(item);
        button->SetDropDownMenu(menu);
        button->SetDropDownDelay(delay);
        return menu;
    }

    std::vector<std::string> TakeEvents() { return std::exchange(events, {}); }

    std::vector<std::string> events;
    std::optional<TBevelCut> outerInClick;
    int clicks = 0;
};

TEST_F(CuteButtonTest, HoldsNoChildrenAndTakesNoDoubleClicks) {
    EXPECT_EQ(button->ControlStyle() & (csAcceptsControls | csDoubleClicks), 0u);
    EXPECT_EQ(button->BoundsRect(), (TRect{20, 20, 95, 45}));
    EXPECT_TRUE(button->TabStop());
}

struct SetterStep {
    const char* Name;
    std::function<void(TCuteButton&)> Change;
    bool Repaints;
    std::function<bool(TCuteButton&)> Holds; // may be empty
};

// One button goes through the steps in order; each step sees the state the earlier ones left.
TEST_F(CuteButtonTest, SettersStoreAndRepaintOnlyWhereTheyShould) {
    TPicture picture;
    picture.Bitmap().SetSize(16, 16);
    auto* menu = new TPopupMenu(form);
    const SetterStep steps[] = {
        {"MarginX -1 on a new button", [](auto& b) { b.SetMarginX(-1); }, false,
         [](auto& b) { return b.MarginX() == -1; }},
        {"MarginX -5 means none", [](auto& b) { b.SetMarginX(-5); }, false,
         [](auto& b) { return b.MarginX() == -1; }},
        {"MarginX 3", [](auto& b) { b.SetMarginX(3); }, true,
         [](auto& b) { return b.MarginX() == 3; }},
        {"MarginX 3 again", [](auto& b) { b.SetMarginX(3); }, false,
         [](auto& b) { return b.MarginX() == 3; }},
        {"MarginX -7 back to none", [](auto& b) { b.SetMarginX(-7); }, true,
         [](auto& b) { return b.MarginX() == -1; }},
        {"MarginY -5 means none", [](auto& b) { b.SetMarginY(-5); }, false,
         [](auto& b) { return b.MarginY() == -1; }},
        {"MarginY 0", [](auto& b) { b.SetMarginY(0); }, true,
         [](auto& b) { return b.MarginY() == 0; }},
        {"Layout unchanged", [](auto& b) { b.SetLayout(tlCenter); }, false, {}},
        {"Layout top", [](auto& b) { b.SetLayout(tlTop); }, true, {}},
        {"BevelShadowColor unchanged",
         [](auto& b) { b.SetBevelShadowColor(clBtnShadow); },
         false,
         {}},
        {"BevelShadowColor", [](auto& b) { b.SetBevelShadowColor(clRed); }, true, {}},
        {"BevelHighlightColor", [](auto& b) { b.SetBevelHighlightColor(clBlue); }, true, {}},
        {"ShowFocusRect", [](auto& b) { b.SetShowFocusRect(true); }, true, {}},
        {"ShowFocusRect again", [](auto& b) { b.SetShowFocusRect(true); }, false, {}},
        {"DropDownMenu", [menu](auto& b) { b.SetDropDownMenu(menu); }, true, {}},
        {"DropDownMenu again", [menu](auto& b) { b.SetDropDownMenu(menu); }, false, {}},
        {"DropDownDelay", [](auto& b) { b.SetDropDownDelay(500); }, false, {}},
        {"GrpLeftSpace unchanged", [](auto& b) { b.SetGrpLeftSpace(4); }, true, {}},
        {"GrpRightSpace unchanged", [](auto& b) { b.SetGrpRightSpace(4); }, true, {}},
        {"Flat", [](auto& b) { b.SetFlat(true); }, true,
         [](auto& b) { return b.BevelInner() == bvNone; }},
        {"Flat again", [](auto& b) { b.SetFlat(true); }, false, {}},
        {"Flat off", [](auto& b) { b.SetFlat(false); }, true,
         [](auto& b) { return b.BevelInner() == bvRaised; }},
        {"Picture of another object", [&picture](auto& b) { b.SetPicture(picture); }, true,
         [](auto& b) { return b.Picture().HasBitmap() && b.Picture().Bitmap().Width() == 16; }},
        {"Picture of its own", [](auto& b) { b.SetPicture(b.Picture()); }, false, {}},
        {"DisabledColor while enabled", [](auto& b) { b.SetDisabledColor(clRed); }, false,
         [](auto& b) { return b.DisabledColor() == clRed; }},
        {"UseDisabledColor while enabled", [](auto& b) { b.SetUseDisabledColor(true); }, false,
         [](auto& b) { return b.UseDisabledColor(); }},
        {"Enabled off", [](auto& b) { b.SetEnabled(false); }, true, {}},
        {"DisabledColor while disabled", [](auto& b) { b.SetDisabledColor(clBlue); }, true, {}},
        {"DisabledColor unchanged", [](auto& b) { b.SetDisabledColor(clBlue); }, false, {}},
        {"UseDisabledColor while disabled",
         [](auto& b) { b.SetUseDisabledColor(false); },
         true,
         {}},
        {"Enabled on", [](auto& b) { b.SetEnabled(true); }, true, {}},
    };
    for (const SetterStep& step : steps) {
        SCOPED_TRACE(step.Name);
        EXPECT_EQ(RepaintsAfter([&] { step.Change(*button); }), step.Repaints ? 1 : 0);
        if (step.Holds) {
            EXPECT_TRUE(step.Holds(*button));
        }
    }
}

TEST_F(CuteButtonTest, DownActsOnlyInSpeedButtonMode) {
    struct Row {
        bool Speed;
        bool Value;
        bool Down;
        TBevelCut Outer;
        TBevelCut Inner;
    };
    const Row rows[] = {
        {false, true, false, bvNone, bvRaised},
        {false, false, false, bvNone, bvRaised},
        {true, true, true, bvLowered, bvLowered},
        {true, false, false, bvRaised, bvLowered}, // the inner bevel stays lowered
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "speed " << r.Speed << " Down := " << r.Value);
        button->SetIsSpeedButton(r.Speed);
        button->SetDown(r.Value);
        EXPECT_EQ(button->Down(), r.Down);
        EXPECT_EQ(button->BevelOuter(), r.Outer);
        EXPECT_EQ(button->BevelInner(), r.Inner);
    }
}

TEST_F(CuteButtonTest, SpeedButtonPressesToggleAndTheSecondReleasesBeforeItsPress) {
    struct Step {
        const char* Name;
        bool Press;
        bool Down;
        TBevelCut Outer;
        std::optional<TBevelCut> Inner;
        std::vector<std::string> Events;
    };
    const Step steps[] = {
        {"first press", true, true, bvLowered, bvLowered, {"down/held"}},
        {"first release", false, true, bvLowered, bvLowered, {"up", "click"}},
        // Put up by the press, whose release steps run (and let go of the mouse) at once.
        {"second press", true, false, bvRaised, std::nullopt, {"up", "down/free"}},
        {"second release", false, false, bvRaised, std::nullopt, {"up", "click"}},
    };
    button->SetIsSpeedButton(true);
    Focus(button);
    TakeEvents();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Name);
        if (s.Press) {
            Press();
        } else {
            Release();
        }
        EXPECT_EQ(button->Down(), s.Down);
        EXPECT_EQ(button->BevelOuter(), s.Outer);
        if (s.Inner) {
            EXPECT_EQ(button->BevelInner(), *s.Inner);
        }
        EXPECT_EQ(TakeEvents(), s.Events);
    }
}

struct BevelCase {
    const char* Name;
    bool TabFocusUp;
    std::function<void(CuteButtonTest&)> Act;
    TBevelCut Outer;
    int Clicks;
    std::optional<TBevelCut> OuterInClick;
};

void PrintTo(const BevelCase& c, std::ostream* os) {
    *os << c.Name;
}

class CuteButtonBevel : public CuteButtonTest, public ::testing::WithParamInterface<BevelCase> {};

TEST_P(CuteButtonBevel, OuterBevelShowsTheState) {
    const BevelCase& c = GetParam();
    button->SetTabFocusUp(c.TabFocusUp);
    c.Act(*this);
    EXPECT_EQ(button->BevelOuter(), c.Outer);
    EXPECT_EQ(clicks, c.Clicks);
    EXPECT_EQ(outerInClick, c.OuterInClick);
    EXPECT_FALSE(button->SpaceDown());
}

const auto FocusButton = [](CuteButtonTest& t) { t.Focus(t.button); };
// Lowers the outer bevel by hand, then moves the pointer over the button and off it again.
const auto LowerAndHover = [](CuteButtonTest& t) {
    t.button->SetBevelOuter(bvLowered);
    hl::MouseMove(t.At(10, 5));
    hl::MouseMove(t.At(10, 40));
    hl::Pump();
};

INSTANTIATE_TEST_SUITE_P(
    Cases, CuteButtonBevel,
    ::testing::Values(
        BevelCase{"FocusRaises", true, FocusButton, bvRaised, 0, std::nullopt},
        BevelCase{"FocusWithoutTabFocusUpStaysFlat", false, FocusButton, bvNone, 0, std::nullopt},
        BevelCase{"FocusLossClears", true,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      t.Focus(t.other);
                  },
                  bvNone, 0, std::nullopt},
        // The press takes the focus first, so gaining it cannot raise what the press lowered.
        BevelCase{"PressOnAnUnfocusedButtonLowers", true, [](CuteButtonTest& t) { t.Press(); },
                  bvLowered, 0, std::nullopt},
        BevelCase{"PressOnAFocusedButtonLowers", true,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      t.Press();
                  },
                  bvLowered, 0, std::nullopt},
        BevelCase{"SpaceReleaseClicksWhileLoweredThenRestores", true,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      t.KeyDown(VK_SPACE);
                      EXPECT_EQ(t.button->BevelOuter(), bvLowered);
                      EXPECT_TRUE(t.button->SpaceDown());
                      t.KeyUp(VK_SPACE);
                  },
                  bvRaised, 1, bvLowered},
        BevelCase{"SpaceRestoresToNoneWithoutTabFocusUp", false,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      t.Key(VK_SPACE);
                  },
                  bvNone, 1, bvLowered},
        BevelCase{"AnotherKeyCancelsTheSpacePress", true,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      t.KeyDown(VK_SPACE);
                      t.KeyDown(VK_A);
                      EXPECT_EQ(t.button->BevelOuter(), bvRaised);
                      EXPECT_FALSE(t.button->SpaceDown());
                      t.KeyUp(VK_A);
                      t.KeyUp(VK_SPACE);
                  },
                  bvRaised, 0, std::nullopt},
        BevelCase{"EnterClicksWhileLoweredThenRestores", true,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      t.Key(VK_RETURN);
                  },
                  bvRaised, 1, bvLowered},
        BevelCase{"DisabledIgnoresSpaceAndEnter", true,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      t.button->SetEnabled(false);
                      t.Key(VK_SPACE);
                      t.Key(VK_RETURN);
                  },
                  bvRaised, 0, std::nullopt},
        BevelCase{"PointerLeavingAnUnfocusedButtonClears", true, LowerAndHover, bvNone, 0,
                  std::nullopt},
        BevelCase{"PointerLeavingAFocusedButtonKeepsIt", true,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      LowerAndHover(t);
                  },
                  bvLowered, 0, std::nullopt},
        BevelCase{"PointerLeavingAFocusedButtonWithoutTabFocusUpClears", false,
                  [](CuteButtonTest& t) {
                      t.Focus(t.button);
                      LowerAndHover(t);
                  },
                  bvNone, 0, std::nullopt}),
    [](const ::testing::TestParamInfo<BevelCase>& info) { return info.param.Name; });

// Ways of pressing a button that has a drop-down menu, and what each ends with.
struct DropCase {
    const char* Name;
    int Delay;
    std::function<void(CuteButtonTest&)> Act;
    size_t Menus;
    int Clicks;
};

void PrintTo(const DropCase& c, std::ostream* os) {
    *os << c.Name;
}

class CuteButtonDrop : public CuteButtonTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(CuteButtonDrop, OpensTheMenuOrClicks) {
    const DropCase& c = GetParam();
    GiveMenu(c.Delay);
    c.Act(*this);
    Run(1000);
    ASSERT_EQ(hl::ShownMenus().size(), c.Menus);
    for (const hl::ShownMenu& m : hl::ShownMenus()) {
        EXPECT_EQ(m.At, button->ClientToScreen({0, button->Height()})) << "below the button";
        EXPECT_EQ(m.Entries.size(), 1u);
    }
    EXPECT_EQ(clicks, c.Clicks);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_FALSE(button->DropDownPending());
    EXPECT_FALSE(button->SpaceDown());
}

// Releases the left button over the form, beside the button.
const auto ReleaseBeside = [](CuteButtonTest& t) {
    hl::MouseMove(t.At(10, 60), backend::ShiftLeft);
    hl::MouseUp(t.At(10, 60));
    hl::Pump();
};
const auto Accelerator = [](CuteButtonTest&) {
    hl::Char(u'g');
    hl::Pump();
};

INSTANTIATE_TEST_SUITE_P(
    Cases, CuteButtonDrop,
    ::testing::Values(
        // The release was queued before the menu opened: its click is swallowed.
        DropCase{"LeftPressAtOnceWithTheReleaseQueued", 0,
                 [](CuteButtonTest& t) {
                     hl::MouseDown(t.At(10, 10));
                     hl::MouseUp(t.At(10, 10));
                     hl::Pump();
                 },
                 1, 0},
        DropCase{"LeftPressReleasedAfter100msClicks", 500,
                 [](CuteButtonTest& t) {
                     t.Press();
                     t.Run(100);
                     EXPECT_TRUE(t.button->DropDownPending());
                     t.Release();
                 },
                 0, 1},
        // A menu's own loop takes the release of the press that opened it; the scripted menu
        // has no loop, so the release is made where no window is.
        DropCase{"LeftPressHeld600msDrops", 500,
                 [](CuteButtonTest& t) {
                     t.Press();
                     t.Run(600);
                     hl::MouseUp(CuteButtonFixture::Nowhere);
                     hl::Pump();
                 },
                 1, 0},
        DropCase{"LeftPressReleasedBesideCancels", 500,
                 [](CuteButtonTest& t) {
                     t.Press();
                     t.Run(100);
                     ReleaseBeside(t);
                 },
                 0, 0},
        DropCase{"RightReleaseCancelsThePendingDrop", 500,
                 [](CuteButtonTest& t) {
                     t.Press();
                     t.Run(100);
                     t.Press(10, 10, MouseButton::Right);
                     t.Release(10, 10, MouseButton::Right);
                     EXPECT_FALSE(t.button->DropDownPending());
                     t.Run(600);
                     ReleaseBeside(t);
                 },
                 0, 0},
        DropCase{"KeyReleaseCancelsThePendingDrop", 500,
                 [](CuteButtonTest& t) {
                     t.Press();
                     t.Key(VK_A);
                     t.Run(600);
                     t.Release();
                 },
                 0, 1},
        DropCase{"EnterAtOnceDrops", 0,
                 [](CuteButtonTest& t) {
                     t.Focus(t.button);
                     t.Key(VK_RETURN);
                 },
                 1, 0},
        DropCase{"EnterWithADelayClicks", 500,
                 [](CuteButtonTest& t) {
                     t.Focus(t.button);
                     t.Key(VK_RETURN);
                 },
                 0, 1},
        DropCase{"AcceleratorAtOnceDrops", 0, Accelerator, 1, 0},
        DropCase{"AcceleratorWithADelayClicks", 500, Accelerator, 0, 1},
        DropCase{"SpaceAtOnceDrops", 0,
                 [](CuteButtonTest& t) {
                     t.Focus(t.button);
                     t.Key(VK_SPACE);
                 },
                 1, 0},
        DropCase{"SpaceHeld600msDrops", 500,
                 [](CuteButtonTest& t) {
                     t.Focus(t.button);
                     t.KeyDown(VK_SPACE);
                     t.Run(600);
                     t.KeyUp(VK_SPACE);
                 },
                 1, 0},
        // A held key repeats; the repeat does not restart the delay.
        DropCase{"SpaceRepeatKeepsTheFirstDelay", 500,
                 [](CuteButtonTest& t) {
                     t.Focus(t.button);
                     t.KeyDown(VK_SPACE);
                     t.Run(300);
                     t.KeyDown(VK_SPACE);
                     t.Run(250);
                     EXPECT_EQ(hl::ShownMenus().size(), 1u) << "500 ms after the first press";
                     t.KeyUp(VK_SPACE);
                 },
                 1, 0},
        DropCase{"SpaceReleasedEarlyClicksOnce", 500,
                 [](CuteButtonTest& t) {
                     t.Focus(t.button);
                     t.KeyDown(VK_SPACE);
                     t.Run(100);
                     t.KeyUp(VK_SPACE);
                 },
                 0, 1},
        DropCase{"AnotherKeyCancelsTheSpacePress", 500,
                 [](CuteButtonTest& t) {
                     t.Focus(t.button);
                     t.KeyDown(VK_SPACE);
                     t.Key(VK_A);
                     t.KeyUp(VK_SPACE);
                 },
                 0, 0}),
    [](const ::testing::TestParamInfo<DropCase>& info) { return info.param.Name; });

TEST_F(CuteButtonTest, ForgetsADestroyedMenu) {
    delete GiveMenu(0);
    EXPECT_EQ(button->DropDownMenu(), nullptr);
    Press();
    Release();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(hl::ShownMenus().empty());
}

TEST_F(CuteButtonTest, DestroyingTheButtonCancelsThePendingDrop) {
    GiveMenu(500);
    Press();
    ASSERT_TRUE(button->DropDownPending());
    delete button;
    button = nullptr;
    hl::MouseUp(Nowhere);
    Run(1000);
    EXPECT_TRUE(hl::ShownMenus().empty());
}

struct PileUpCase {
    const char* Name;
    bool Egnore;
    int Runs;
};

void PrintTo(const PileUpCase& c, std::ostream* os) {
    *os << c.Name;
}

class CuteButtonPileUp : public CuteButtonTest, public ::testing::WithParamInterface<PileUpCase> {};

TEST_P(CuteButtonPileUp, ClicksQueuedDuringASlowHandler) {
    const PileUpCase& c = GetParam();
    button->SetEgnoreContClick(c.Egnore);
    const TPoint p = At(10, 10);
    int runs = 0;
    button->OnClick = [&runs, p](TObject*) {
        if (++runs == 1) {
            // Two seconds of work, during which the user clicks five more times.
            for (int i = 1; i <= 5; ++i) {
                hl::After(uint64_t(i) * 300, [p] { hl::Click(p); });
            }
            hl::Advance(2000);
        }
    };
    hl::Click(p);
    hl::Pump();
    EXPECT_EQ(runs, c.Runs);
    EXPECT_TRUE(button->OnClick != nullptr) << "the handler is attached again";
    hl::Click(p);
    hl::Pump();
    EXPECT_EQ(runs, c.Runs + 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, CuteButtonPileUp,
                         ::testing::Values(PileUpCase{"Dropped", true, 1},
                                           PileUpCase{"Delivered", false, 6}),
                         [](const ::testing::TestParamInfo<PileUpCase>& info) {
                             return info.param.Name;
                         });

TEST_F(CuteButtonTest, HoverReportsShiftAndPositionAndMayRecolour) {
    struct Row {
        bool UseMouseColor;
        TColor AfterEnter;
        TColor AfterLeave;
    };
    const Row rows[] = {{true, clRed, clBtnFace}, {false, clYellow, clYellow}};
    std::vector<std::string> seen;
    auto record = [&seen](const char* what) {
        return [&seen, what](TObject*, TShiftState shift, int x, int y) {
            seen.push_back(std::string(what) + " " + std::to_string(shift) + " " +
                           std::to_string(x) + "," + std::to_string(y));
        };
    };
    button->OnMouseEnter = record("enter");
    button->OnMouseLeave = record("leave");
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "UseMouseColor " << r.UseMouseColor);
        seen.clear();
        button->SetColor(clYellow); // the design-time colour
        button->SetMouseEnterColor(clRed);
        button->SetUseMouseColor(r.UseMouseColor);
        hl::KeyDown(0x10); // Shift, held while the pointer enters
        hl::MouseMove(At(10, 5));
        hl::Pump();
        EXPECT_EQ(button->Color(), r.AfterEnter);
        hl::KeyUp(0x10);
        hl::MouseMove(At(12, 40));
        hl::Pump();
        EXPECT_EQ(button->Color(), r.AfterLeave);
        const std::vector<std::string> expected{"enter " + std::to_string(ssShift) + " 10,5",
                                                "leave 0 12,40"};
        EXPECT_EQ(seen, expected);
    }
}

struct DialogKeyCase {
    const char* Name;
    bool Default;
    bool Cancel;
    bool Enabled;
    uint16_t Key;
    TShiftState Shift;
    int Clicks;
};

void PrintTo(const DialogKeyCase& c, std::ostream* os) {
    *os << c.Name;
}

class CuteButtonDialogKey : public CuteButtonTest,
                            public ::testing::WithParamInterface<DialogKeyCase> {};

// The focus stays on the panel, so only the dialog key can reach the button.
TEST_P(CuteButtonDialogKey, ClicksOnlyAnUnmodifiedKeyItAnswers) {
    const DialogKeyCase& c = GetParam();
    GiveMenu(0); // a dialog key clicks, never drops down
    button->SetDefault(c.Default);
    button->SetCancel(c.Cancel);
    button->SetEnabled(c.Enabled);
    Key(c.Key, c.Shift);
    EXPECT_EQ(clicks, c.Clicks);
    EXPECT_TRUE(hl::ShownMenus().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CuteButtonDialogKey,
    ::testing::Values(DialogKeyCase{"EscapeClicksCancel", false, true, true, VK_ESCAPE, 0, 1},
                      DialogKeyCase{"ShiftEscape", false, true, true, VK_ESCAPE, ssShift, 0},
                      DialogKeyCase{"CtrlEscape", false, true, true, VK_ESCAPE, ssCtrl, 0},
                      DialogKeyCase{"AltEscape", false, true, true, VK_ESCAPE, ssAlt, 0},
                      DialogKeyCase{"EnterLeavesCancelAlone", false, true, true, VK_RETURN, 0, 0},
                      DialogKeyCase{"EnterClicksDefault", true, false, true, VK_RETURN, 0, 1},
                      DialogKeyCase{"CtrlEnter", true, false, true, VK_RETURN, ssCtrl, 0},
                      DialogKeyCase{"ShiftEnter", true, false, true, VK_RETURN, ssShift, 0},
                      DialogKeyCase{"EscapeLeavesDefaultAlone", true, false, true, VK_ESCAPE, 0, 0},
                      DialogKeyCase{"DisabledCancel", false, true, false, VK_ESCAPE, 0, 0},
                      DialogKeyCase{"DisabledDefault", true, false, false, VK_RETURN, 0, 0}),
    [](const ::testing::TestParamInfo<DialogKeyCase>& info) { return info.param.Name; });

TEST_F(CuteButtonTest, APushButtonWithTheFocusTakesEnterFromTheDefaultButton) {
    auto* push = new TButton(form);
    push->SetParent(form);
    push->SetBounds(20, 100, 75, 25);
    int pushClicks = 0;
    push->OnClick = [&pushClicks](TObject*) { ++pushClicks; };
    struct Row {
        const char* Focused;
        bool Default;
        bool Active;
        int Clicks;
        int PushClicks;
    };
    const Row rows[] = {
        {"panel", true, true, 1, 0},
        {"push button", true, false, 0, 1},
        {"cute button", true, true, 1, 0},
        // Not default: Enter reaches the focused button as a key.
        {"cute button", false, false, 1, 0},
        {"panel", false, false, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.Focused << ", default " << r.Default);
        clicks = 0;
        pushClicks = 0;
        Focus(other);
        button->SetDefault(r.Default);
        const std::string focused = r.Focused;
        Focus(focused == "panel"         ? static_cast<TWinControl*>(other)
              : focused == "push button" ? static_cast<TWinControl*>(push)
                                         : static_cast<TWinControl*>(button));
        EXPECT_EQ(button->Active(), r.Active);
        Key(VK_RETURN);
        EXPECT_EQ(clicks, r.Clicks);
        EXPECT_EQ(pushClicks, r.PushClicks);
    }
}

TEST_F(CuteButtonTest, ADefaultButtonIsActiveOnceItsWindowExists) {
    auto* late = new TCuteButton(form);
    late->SetDefault(true);
    late->SetParent(form); // the form's window exists, so the button's is made now
    EXPECT_TRUE(late->Active());
}

} // namespace
