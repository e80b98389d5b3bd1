// SPDX-License-Identifier: MIT
// The bordered edit: where its inner edit goes, what entering and leaving do, and its idle look.
#include "controls/edit/Tborderedit.h"
#include "gui/Application.h"
#include "gui/Text.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

namespace hl = vx::headless;
using namespace vx;
using namespace vx::edit;

namespace {

class BorderEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Reset();
        RecreateApplication();
        form = new TForm(Application);
        form->SetBounds(0, 0, 400, 200);
        edit = new TBorderEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 120, 24);
        // The headless canvas measures a character height-and-a-quarter high: 15 for 12.
        edit->Font().SetHeight(-12);
        other = new TCustomEdit(form);
        other->SetParent(form);
        other->SetTop(60);
        form->SetVisible(true);
        other->SetFocus();
        hl::Pump();
    }
    void TearDown() override {
        RecreateApplication();
        hl::Reset();
    }
    void ClickIt() {
        hl::Click(edit->ClientToScreen({edit->Width() / 2, edit->Height() / 2}));
        hl::Pump();
    }
    void Leave() {
        other->SetFocus();
        hl::Pump();
    }

    TForm* form = nullptr;
    TBorderEdit* edit = nullptr;
    TCustomEdit* other = nullptr;
};

TEST_F(BorderEditTest, InnerEditIsPlacedAroundTheTextHeight) {
    struct Case {
        int Width, Height, Margin;
        TRect Expected;
    } cases[] = {
        {120, 24, 2, {3, 3, 118, 20}}, // top 3, left 3, width 115, height 17
        {120, 18, 2, {3, 0, 118, 17}}, // at most h + 1 high: top 0
        {120, 10, 2, {3, 0, 118, 17}}, // lower than the text: top 0 as well
        {100, 30, 0, {1, 6, 100, 23}}, // no margin: left 1, width - 1
        {90, 24, 10, {11, 3, 80, 20}},
    };
    for (const Case& c : cases) {
        edit->SetBounds(10, 10, c.Width, c.Height);
        edit->SetEditMargin(uint8_t(c.Margin));
        ClickIt();
        EXPECT_EQ(edit->Edit().BoundsRect(), c.Expected) << c.Width << "x" << c.Height;
        EXPECT_TRUE(edit->Edit().Visible());
        EXPECT_TRUE(edit->Edit().Focused());
        Leave();
        EXPECT_FALSE(edit->Edit().Visible());
    }
}

TEST_F(BorderEditTest, AlignmentSetsOnlyTheTwoLowestStyleBits) {
    const std::pair<TAlignment, int> cases[] = {
        {taCenter, 1}, {taRightJustify, 2}, {taLeftJustify, 0}, {TAlignment(7), 0}};
    for (const auto& [alignment, bits] : cases) {
        wapi::SetWindowLongW(edit->Edit().Handle(), wapi::GWL_STYLE, 0x50010003);
        edit->SetAlignment(alignment);
        ClickIt();
        EXPECT_EQ(wapi::GetWindowLongW(edit->Edit().Handle(), wapi::GWL_STYLE), 0x50010000 | bits);
        Leave();
    }
}

TEST_F(BorderEditTest, EnteringAndLeavingRunInOrderAndKeepTheTypedText) {
    std::vector<std::string> seen;
    edit->SetEditText(u"abc");
    edit->OnClick = [&](TObject*) { seen.push_back("click"); };
    edit->OnEnter = [&](TObject*) {
        seen.push_back(edit->Edit().Visible() ? "enter, inner shown" : "enter");
    };
    edit->OnExit = [&](TObject*) { seen.push_back("exit " + Utf16To8(edit->EditText())); };
    edit->Edit().OnChange = [&](TObject*) { seen.push_back("change"); };
    const bool tabStop = edit->TabStop();
    ClickIt();
    EXPECT_EQ(edit->Edit().Text(), u"abc");
    EXPECT_FALSE(edit->TabStop()) << "no tab stop of its own while editing";
    hl::PressKey(0x23); // End: the caret starts at the beginning, as in any edit
    hl::Char(u'd');
    hl::Pump();
    Leave();
    EXPECT_EQ(seen, (std::vector<std::string>{"click", "enter", "change", "exit abcd"}));
    EXPECT_EQ(edit->EditText(), u"abcd");
    EXPECT_EQ(edit->TabStop(), tabStop);
    ClickIt();
    Leave();
    EXPECT_EQ(edit->EditText(), u"abcd") << "entering and leaving keeps the text";
}

TEST_F(BorderEditTest, ChangeHandlerIsBackEvenWhenEnteringFails) {
    int changes = 0;
    edit->Edit().OnChange = [&](TObject*) { ++changes; };
    edit->OnEnter = [](TObject*) { throw Exception(u"no entry"); };
    ClickIt();
    EXPECT_EQ(hl::MessageBoxes(), (std::vector<std::u16string>{u"no entry"}));
    ASSERT_TRUE(edit->Edit().OnChange);
    edit->Edit().SetText(u"typed");
    EXPECT_EQ(changes, 1);
}

TEST_F(BorderEditTest, PaintsTheWholeWindowOnEntryAndTheDisplayStringWhileIdle) {
    hl::ClearApiLog();
    edit->SetEditText(u"1234");
    edit->SetColor(0x00E0FFFF);
    hl::Pump();
    auto texts = [] {
        std::vector<std::u16string> out;
        for (const auto& call : hl::ApiCalls("DrawText")) {
            out.push_back(call.Texts[0]);
        }
        return out;
    };
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"1234"}));
    hl::ClearApiLog();
    ClickIt();
    const auto windowDcs = hl::ApiCalls("GetWindowDC");
    ASSERT_EQ(windowDcs.size(), 1u);
    EXPECT_EQ(hl::ApiCalls("ReleaseDC").size(), 1u);
    const auto fills = hl::ApiCalls("FillRect");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(std::vector<int64_t>(fills[0].Args.begin(), fills[0].Args.begin() + 5),
              (std::vector<int64_t>{0, 0, 120, 24, 0x00E0FFFF}));
    Leave();
    hl::ClearApiLog();
    edit->OnDispStr = [](TObject*, std::u16string& shown) { shown = u"[" + shown + u"]"; };
    edit->Invalidate();
    hl::Pump();
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"[1234]"}));
}

TEST_F(BorderEditTest, TabLeavesForTheNextControl) {
    ClickIt();
    hl::PressKey(0x09, u'\t');
    hl::Pump();
    EXPECT_TRUE(other->Focused());
    EXPECT_FALSE(edit->Edit().Visible());
}

} // namespace
