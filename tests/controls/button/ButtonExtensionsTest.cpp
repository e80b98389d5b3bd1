// SPDX-License-Identifier: MIT
// The button extensions driven through real input: the left-press flag of the bitmap and speed
// buttons, the long press measured on the tick counter (across its wrap too), and the stock
// speed button's grouping and clicks that they keep.
#include "controls/button/BitBtn2.h"
#include "controls/button/Borderspeedbutton.h"
#include "controls/button/Speedbutton2.h"
#include "gui/Application.h"
#include "gui/ExtCtrls.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hl = vx::headless;
using namespace vx;
using namespace vx::button;
using vx::backend::MouseButton;

namespace {

constexpr MouseButton L = MouseButton::Left;
constexpr MouseButton R = MouseButton::Right;

const char* Letter(TMouseButton b) {
    return b == mbLeft ? "L" : b == mbRight ? "R" : "M";
}

// A shown form; buttons on it log their mouse events and clicks in the order they fire.
class ButtonExtTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Reset();
        RecreateApplication();
        form = new TForm(Application);
        form->SetBounds(100, 100, 400, 300);
        form->SetVisible(true);
        hl::Pump();
    }
    void TearDown() override {
        RecreateApplication();
        hl::Reset();
    }

    template <class T> T* Make(TWinControl* parent, int left, int top, std::string name) {
        auto* b = new T(form);
        b->SetName(name);
        b->SetParent(parent);
        b->SetBounds(left, top, 60, 24);
        b->OnMouseDown = [this, name](TObject*, TMouseButton button, TShiftState, int, int) {
            log.push_back(name + " down " + Letter(button));
        };
        b->OnMouseUp = [this, name](TObject*, TMouseButton button, TShiftState, int, int) {
            log.push_back(name + " up " + Letter(button));
        };
        b->OnClick = [this, name](TObject*) { log.push_back(name + " click"); };
        hl::Pump();
        return b;
    }

    static void Press(TControl* c, MouseButton which = L, TPoint at = {5, 5}) {
        hl::MouseDown(c->ClientToScreen(at), which);
        hl::Pump();
    }
    static void Release(TControl* c, MouseButton which = L, TPoint at = {5, 5}) {
        hl::MouseUp(c->ClientToScreen(at), which);
        hl::Pump();
    }
    void Click(TControl* c) {
        Press(c);
        Release(c);
    }
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    TForm* form = nullptr;
    std::vector<std::string> log;
};

// The left-press flag, the same for both buttons that keep one.

template <class T> class LeftDownTest : public ButtonExtTest {};
using LeftDownButtons = ::testing::Types<TBitBtn2, TSpeedButton2>;
TYPED_TEST_SUITE(LeftDownTest, LeftDownButtons);

struct PressStep {
    bool Down; // press, or release
    MouseButton Which;
    std::vector<std::string> Events;
    bool LeftDown; // afterwards
};

TYPED_TEST(LeftDownTest, LeftPressSetsAnyReleaseClearsAndEveryEventFires) {
    auto* b = this->template Make<TypeParam>(this->form, 20, 20, "b");
    EXPECT_FALSE(b->LeftDown());
    // One walk; each step starts from the state the earlier ones left.
    const PressStep steps[] = {
        {true, R, {"b down R"}, false},           // a right press does not set it
        {false, R, {"b up R"}, false},            //
        {true, L, {"b down L"}, true},            // a left press sets it
        {true, R, {"b down R"}, true},            // a right press leaves it set
        {false, R, {"b up R"}, false},            // a right release clears it
        {false, L, {"b up L", "b click"}, false}, // the left release still clicks
        {true, L, {"b down L"}, true},            //
        {false, L, {"b up L", "b click"}, false}, //
    };
    int i = 0;
    for (const PressStep& s : steps) {
        if (s.Down) {
            this->Press(b, s.Which);
        } else {
            this->Release(b, s.Which);
        }
        EXPECT_EQ(this->Take(), s.Events) << "step " << i;
        EXPECT_EQ(b->LeftDown(), s.LeftDown) << "step " << i;
        ++i;
    }
}

// The speed button's toggling and click are the stock ones; the flag is still set while the
// click of its release runs.
TEST_F(ButtonExtTest, SpeedButton2KeepsGroupingAndClicksWhileLeftDown) {
    auto* a = Make<TSpeedButton2>(form, 20, 20, "a");
    auto* b = Make<TSpeedButton2>(form, 90, 20, "b");
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    std::vector<std::pair<bool, bool>> inClick; // LeftDown and Down as OnClick saw them
    for (TSpeedButton2* s : {a, b}) {
        s->OnClick = [s, &inClick](TObject*) { inClick.emplace_back(s->LeftDown(), s->Down()); };
    }
    Click(a);
    EXPECT_TRUE(a->Down());
    Click(b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(inClick, (std::vector<std::pair<bool, bool>>{{true, true}, {true, true}}));
    EXPECT_FALSE(a->LeftDown());
    EXPECT_FALSE(b->LeftDown());

    // Released off the button: no click, no toggle, and the flag is cleared all the same.
    Press(a);
    EXPECT_TRUE(a->LeftDown());
    Release(a, L, {-10, -10});
    EXPECT_FALSE(a->LeftDown());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(inClick.size(), 2u);
}

// The long press: what fires, in order, for presses of different lengths.

struct HoldCase {
    const char* Name;
    std::optional<uint32_t> StartTick; // the tick count at the press, when it matters
    uint64_t HoldMs;
    MouseButton Which;
    TPoint ReleaseAt;
    std::vector<std::string> Events; // after the press's own "down"
};

TEST_F(ButtonExtTest, LongPressFiresBeforeTheStockReleaseOnlyPastTheThreshold) {
    auto* b = Make<TBorderSpeedButton>(form, 20, 20, "b");
    EXPECT_EQ(b->LongPressTime(), 500u);
    b->OnLongPress = [this, b](TObject* sender, TMouseButton button, TShiftState, int x, int y) {
        EXPECT_EQ(sender, b);
        log.push_back(std::string("b long ") + Letter(button) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    };
    constexpr TPoint in{5, 5};
    constexpr TPoint out{-10, 5};
    const HoldCase cases[] = {
        {"short", {}, 300, L, in, {"b up L", "b click"}},
        {"at the threshold", {}, 500, L, in, {"b up L", "b click"}},
        {"just past it", {}, 501, L, in, {"b long L 5,5", "b up L", "b click"}},
        {"long", {}, 800, L, in, {"b long L 5,5", "b up L", "b click"}},
        {"long, released off it", {}, 800, L, out, {"b long L -10,5", "b up L"}},
        {"long, right button", {}, 800, R, in, {"b long R 5,5", "b up R"}},
        {"long across the wrap", 0xFFFFFF00u, 800, L, in, {"b long L 5,5", "b up L", "b click"}},
        {"short across the wrap", 0xFFFFFF00u, 300, L, in, {"b up L", "b click"}},
        {"long ending at the wrap",
         0xFFFFFC00u,
         1024,
         L,
         in,
         {"b long L 5,5", "b up L", "b click"}},
    };
    for (const HoldCase& c : cases) {
        hl::Advance(1000); // well apart from the previous case
        if (c.StartTick) {
            hl::SetTickCount(*c.StartTick);
        }
        Press(b, c.Which);
        hl::Advance(c.HoldMs);
        Release(b, c.Which, c.ReleaseAt);
        std::vector<std::string> expected{std::string("b down ") + (c.Which == L ? "L" : "R")};
        expected.insert(expected.end(), c.Events.begin(), c.Events.end());
        EXPECT_EQ(Take(), expected) << c.Name;
    }
}

TEST_F(ButtonExtTest, LongPressThresholdIsTheButtonsOwn) {
    auto* b = Make<TBorderSpeedButton>(form, 20, 20, "b");
    b->SetLongPressTime(800);
    int longs = 0;
    b->OnLongPress = [&longs](TObject*, TMouseButton, TShiftState, int, int) { ++longs; };
    for (const auto& [hold, expected] : {std::pair{700, 0}, std::pair{800, 0}, std::pair{801, 1}}) {
        longs = 0;
        Press(b);
        hl::Advance(uint64_t(hold));
        Release(b);
        EXPECT_EQ(longs, expected) << hold;
    }
}

// The stock speed button.

TEST_F(ButtonExtTest, SpeedButtonGroupStaysOnItsParentAndKeepsOneDownUnlessAllowAllUp) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(20, 150, 200, 40);
    auto* a = Make<TSpeedButton>(form, 20, 20, "a");
    auto* b = Make<TSpeedButton>(form, 90, 20, "b");
    auto* plain = Make<TSpeedButton>(form, 160, 20, "plain");
    auto* elsewhere = Make<TSpeedButton>(panel, 5, 5, "elsewhere");
    for (TSpeedButton* s : {a, b, elsewhere}) {
        s->SetGroupIndex(1);
    }
    elsewhere->SetDown(true);
    Take();

    struct Step {
        TSpeedButton* Clicked;
        bool ADown, BDown;
    };
    const Step steps[] = {
        {a, true, false},     // a grouped button stays down
        {b, false, true},     // and releases the rest of its group
        {b, false, true},     // the last one down stays down without AllowAllUp
        {plain, false, true}, // a button outside the group changes nothing
    };
    for (const Step& s : steps) {
        Click(s.Clicked);
        EXPECT_EQ(Take(), (std::vector<std::string>{s.Clicked->Name() + " down L",
                                                    s.Clicked->Name() + " up L",
                                                    s.Clicked->Name() + " click"}));
        EXPECT_EQ(a->Down(), s.ADown) << s.Clicked->Name();
        EXPECT_EQ(b->Down(), s.BDown) << s.Clicked->Name();
        EXPECT_FALSE(plain->Down());
        EXPECT_TRUE(elsewhere->Down()) << "a group is per parent";
        EXPECT_EQ(s.Clicked->State(), s.Clicked->Down() ? bsExclusive : bsUp);
    }

    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp()) << "AllowAllUp is shared by the group";
    Click(b);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(a->Down());
}

TEST_F(ButtonExtTest, SpeedButtonPressShowsSunkOnlyOverItAndAReleaseOffItDoesNotClick) {
    auto* s = Make<TSpeedButton>(form, 20, 20, "s");
    s->SetGroupIndex(1);
    Press(s);
    EXPECT_EQ(s->State(), bsDown);
    hl::MouseMove(s->ClientToScreen({-10, -10}), ssLeft);
    hl::Pump();
    EXPECT_EQ(s->State(), bsUp);
    hl::MouseMove(s->ClientToScreen({5, 5}), ssLeft);
    hl::Pump();
    EXPECT_EQ(s->State(), bsDown);
    Release(s, L, {-10, -10});
    EXPECT_EQ(Take(), (std::vector<std::string>{"s down L", "s up L"}));
    EXPECT_FALSE(s->Down());
    EXPECT_EQ(s->State(), bsUp);

    // A right press neither sinks nor clicks it.
    Press(s, R);
    EXPECT_EQ(s->State(), bsUp);
    Release(s, R);
    EXPECT_EQ(Take(), (std::vector<std::string>{"s down R", "s up R"}));
    EXPECT_FALSE(s->Down());
}

} // namespace
